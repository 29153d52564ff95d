// gl_context_test.cpp -- the offscreen context the GL tests stand on really renders.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "gl/gl_test_context.h"

TEST(GLTestContext, ClearsAndReadsBackPixels) {
    ASSERT_TRUE(makeTestGLContextCurrent(64, 32));
    glViewport(0, 0, 64, 32);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    unsigned char pixel[4] = {};
    glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 255);
    EXPECT_EQ(pixel[1], 0);
    GLuint list = glGenLists(2);
    EXPECT_NE(list, 0u);
    glDeleteLists(list, 2);
}
