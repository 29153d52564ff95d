// gl_state_test.cpp -- the per-context set-up: smoothing by antialiasing level, fixed state,
// the light, the reserved names, and the report when the scene textures cannot be loaded.
#include <GL/gl.h>
#include <cmath>
#include <gtest/gtest.h>

#include "gallery/display_settings.h"
#include "fakes/fake_embedded_resources.h"
#include "fakes/fake_message_box.h"
#include "gl/gl_feedback.h"
#include "gl/gl_test_context.h"
#include "render/texture_names.h"
#include "pictures/embedded_artwork.h"
#include "render/gl_state.h"
#include "render/room_lists.h"
#include "support/output_capture.h"
#include "platform/image_library.h"

namespace {

GLint integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

size_t solidTriangles(const std::vector<FeedbackPrimitive> &primitives) {
    size_t count = 0;
    for (const FeedbackPrimitive &p : primitives) {
        if (p.token != GL_POLYGON_TOKEN || p.vertices.size() != 3)
            continue;
        const FeedbackVertex &a = p.vertices[0], &b = p.vertices[1], &c = p.vertices[2];
        const float ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
        const float vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
        const float cx = uy * vz - uz * vy, cy = uz * vx - ux * vz, cz = ux * vy - uy * vx;
        if (std::sqrt(cx * cx + cy * cy + cz * cz) > 1e-4f)
            ++count;
    }
    return count;
}

// A fresh context as far as initGLState is concerned: the state it sets is put back to the
// GL defaults, and what it creates is released after each case.
class GLStateSetup : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(makeTestGLContextCurrent(800, 600));
        resetDisplaySettings();
        resetFakeMessageBoxes();
        resetFakeEmbeddedResources();
        restoreDefaults();
    }
    void TearDown() override {
        release();
        resetDisplaySettings();
        resetFakeEmbeddedResources();
    }
    static void restoreDefaults() {
        for (GLenum cap : {GL_LINE_SMOOTH, GL_POLYGON_SMOOTH, GL_POINT_SMOOTH, GL_LIGHTING,
                           GL_NORMALIZE, GL_DEPTH_TEST, GL_LIGHT0, GL_LIGHT1, GL_TEXTURE_2D})
            glDisable(cap);
        for (GLenum hint : {GL_LINE_SMOOTH_HINT, GL_POLYGON_SMOOTH_HINT, GL_POINT_SMOOTH_HINT,
                            GL_PERSPECTIVE_CORRECTION_HINT})
            glHint(hint, GL_DONT_CARE);
        const GLfloat black[4] = {0, 0, 0, 1};
        glLightfv(GL_LIGHT1, GL_AMBIENT, black);
        glLightfv(GL_LIGHT1, GL_DIFFUSE, black);
        glDepthFunc(GL_LESS);
        glClearColor(0.5f, 0.5f, 0.5f, 0.5f);
        glShadeModel(GL_FLAT);
    }
    void release() {
        if (displayListBase != 0)
            glDeleteLists(displayListBase, DISPLAY_LIST_COUNT);
        glDeleteTextures(TEXTURE_COUNT, textureNames);
        displayListBase = 0;
        for (GLuint &name : textureNames)
            name = 0;
        ilShutDown();
    }
};

TEST_F(GLStateSetup, SmoothingAndHintsFollowTheAntialiasLevel) {
    struct Expected {
        bool polygonSmooth, pointSmooth;
        GLint lineHint, polygonHint, pointHint, perspectiveHint;
    };
    const Expected levels[3] = {
        {false, false, GL_FASTEST, GL_DONT_CARE, GL_DONT_CARE, GL_FASTEST},
        {true, false, GL_NICEST, GL_FASTEST, GL_DONT_CARE, GL_NICEST},
        {true, true, GL_NICEST, GL_NICEST, GL_NICEST, GL_NICEST},
    };
    for (int level = ANTIALIAS_LOW; level <= ANTIALIAS_HIGH; ++level) {
        SCOPED_TRACE(testing::Message() << "antialias level " << level);
        restoreDefaults();
        antialiasLevel = level;
        ASSERT_TRUE(initGLState());
        const Expected &e = levels[level];
        EXPECT_TRUE(glIsEnabled(GL_LINE_SMOOTH));
        EXPECT_EQ(glIsEnabled(GL_POLYGON_SMOOTH), e.polygonSmooth);
        EXPECT_EQ(glIsEnabled(GL_POINT_SMOOTH), e.pointSmooth);
        EXPECT_EQ(integer(GL_LINE_SMOOTH_HINT), e.lineHint);
        EXPECT_EQ(integer(GL_POLYGON_SMOOTH_HINT), e.polygonHint);
        EXPECT_EQ(integer(GL_POINT_SMOOTH_HINT), e.pointHint);
        EXPECT_EQ(integer(GL_PERSPECTIVE_CORRECTION_HINT), e.perspectiveHint);
        release();
    }
}

TEST_F(GLStateSetup, SetsDepthLightingOneWhiteLightAndRgbaLoading) {
    ASSERT_TRUE(initGLState());
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(integer(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(integer(GL_SHADE_MODEL), GL_SMOOTH);
    GLfloat clear[4] = {1, 1, 1, 1};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    for (GLfloat channel : clear)
        EXPECT_EQ(channel, 0.0f);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    for (GLenum part : {GL_AMBIENT, GL_DIFFUSE}) {
        GLfloat colour[4] = {};
        glGetLightfv(GL_LIGHT1, part, colour);
        for (GLfloat channel : colour)
            EXPECT_EQ(channel, 1.0f);
    }
    EXPECT_TRUE(ilIsEnabled(IL_FORMAT_SET));
    EXPECT_EQ(ilGetInteger(IL_FORMAT_MODE), IL_RGBA);
}

TEST_F(GLStateSetup, ReservesNamesAndBuildsTheShellAndFonts) {
    ASSERT_TRUE(initGLState());
    for (int i = 0; i < TEXTURE_COUNT; ++i) {
        EXPECT_NE(textureNames[i], 0u) << "entry " << i;
        for (int j = 0; j < i; ++j)
            EXPECT_NE(textureNames[i], textureNames[j]);
    }
    // The whole block is reserved, also the lists nothing has compiled yet: the contents list
    // and the last bitmap glyph (code 255).
    ASSERT_NE(displayListBase, 0u);
    EXPECT_TRUE(glIsList(roomContentsList()));
    EXPECT_TRUE(glIsList(displayListBase + DISPLAY_LIST_COUNT - 1));

    glDisable(GL_LIGHTING);
    EXPECT_EQ(solidTriangles(captureFeedback([] { glCallList(roomShellList()); })), 2760u);
    EXPECT_FALSE(captureFeedback([] { glCallList(outlineFontBase() + 'A'); }).empty());
    EXPECT_TRUE(shownMessageBoxes.empty());
}

TEST_F(GLStateSetup, MissingTexturesAreReportedOnceAndStopTheSetup) {
    failFakeResource(FAKE_RESOURCE_FIND, IDR_TEX_FLOOR);
    startCapture(stderr);
    const bool result = initGLState();
    const std::string errors = stopCapture(stderr);
    EXPECT_FALSE(result);

    int ours = 0;
    for (const ShownMessageBox &box : shownMessageBoxes)
        ours += box.title == "Initialization Error";
    EXPECT_EQ(ours, 1);
    ASSERT_FALSE(shownMessageBoxes.empty());
    EXPECT_EQ(shownMessageBoxes.back().text, "Failed to load textures");
    EXPECT_EQ(shownMessageBoxes.back().title, "Initialization Error");
    EXPECT_EQ(shownMessageBoxes.back().kind, MESSAGE_BOX_ERROR);

    const std::string line = "ERROR: Unable to load textures\n";
    ASSERT_GE(errors.size(), line.size());
    EXPECT_EQ(errors.substr(errors.size() - line.size()), line) << errors;
    EXPECT_EQ(errors.find(line), errors.size() - line.size()) << "written more than once";

    // Neither the shell nor the fonts were built into the reserved lists.
    ASSERT_NE(displayListBase, 0u);
    glDisable(GL_LIGHTING);
    EXPECT_TRUE(captureFeedback([] { glCallList(roomShellList()); }).empty());
    EXPECT_TRUE(captureFeedback([] { glCallList(outlineFontBase() + 'A'); }).empty());
}

} // namespace
