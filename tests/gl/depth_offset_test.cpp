// depth_offset_test.cpp -- doors and pictures stay in front of their wall seen from close by,
// also on a 24-bit depth buffer, whose single step is too fine to outrun depth rounding.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <vector>

#include "app/main_window.h"
#include "gallery/folder_scanner.h"
#include "gallery/gallery_state.h"
#include "gl/gl_test_context.h"
#include "render/gl_state.h"
#include "render/scene_frame.h"
#include "support/temp_tree.h"

namespace {

// Share of bright (wall-coloured) pixels in a rectangle of the frame; the iron door is dark.
double brightShare(const std::vector<unsigned char> &rgba, int width, int x0, int y0, int x1,
                   int y1) {
    int bright = 0;
    int total = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const unsigned char *p = &rgba[4 * (y * width + x)];
            if ((p[0] + p[1] + p[2]) / 3 > 140)
                ++bright;
            ++total;
        }
    return static_cast<double>(bright) / total;
}

} // namespace

TEST(DepthOffset, DoorSeenFromCloseByHidesTheWallOnA24BitDepthBuffer) {
    const int width = 800, height = 600;
    {
        ASSERT_TRUE(makeTestGLContextCurrent(width, height, 24));
        GLint depthBits = 0;
        glGetIntegerv(GL_DEPTH_BITS, &depthBits);
        ASSERT_GE(depthBits, 24);

        std::string folder = makeTempFolder();
        ASSERT_TRUE(makeFolder(folder + "/Alpha"));
        ASSERT_TRUE(makeFolder(folder + "/Beta"));
        resetGalleryState();
        snprintf(currentPath, sizeof currentPath, "%s", folder.c_str());
        scanFolder();
        ASSERT_TRUE(initGLState());
        resizeView(width, height);

        // Against the door wall, facing the door of slot 1 from 0.6 away.
        viewX = -1.4f;
        viewZ = -8.6f;
        viewHeading = 270.0f;
        drawScene();
        std::vector<unsigned char> frame(4 * width * height);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
        // The leaf fills the view right of its stone surround, up to the top edge.
        EXPECT_LT(brightShare(frame, width, 200, 250, 790, 560), 0.005);

        destroyMainWindow();
        resetGalleryState();
        removeTree(folder);
    }
    // The other tests draw on the usual 16-bit context.
    ASSERT_TRUE(makeTestGLContextCurrent());
}
