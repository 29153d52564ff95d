// scene_frame_test.cpp -- a frame drawn from the gallery camera: the lit, textured room shell
// where the camera puts it, presented with one swap.
#include <GL/gl.h>
#include <GL/glu.h>
#include <IL/il.h>
#include <gtest/gtest.h>

#include "app/display_settings.h"
#include "fakes/fake_message_box.h"
#include "fakes/fake_window.h"
#include "gallery/gallery_state.h"
#include "gl/gl_test_context.h"
#include "images/embedded_textures.h"
#include "render/gl_state.h"
#include "render/room_lists.h"
#include "render/scene_frame.h"

namespace {

constexpr int WIDTH = 800;
constexpr int HEIGHT = 600;

struct Region {
    double mean; // mean of r + g + b over the region
    int spread;  // largest minus smallest r + g + b
};

Region readRegion(int x, int y, int w, int h) {
    std::vector<unsigned char> pixels(static_cast<size_t>(w * h * 4));
    glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    double sum = 0;
    int low = 3 * 255, high = 0;
    for (size_t i = 0; i < pixels.size(); i += 4) {
        const int value = pixels[i] + pixels[i + 1] + pixels[i + 2];
        sum += value;
        low = std::min(low, value);
        high = std::max(high, value);
    }
    return {sum / (w * h), high - low};
}

float centreDepth() {
    float depth = 0;
    glReadPixels(WIDTH / 2, HEIGHT / 2, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
}

class SceneFrame : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(makeTestGLContextCurrent(WIDTH, HEIGHT));
        resetDisplaySettings();
        resetGalleryState();
        resetFakeMessageBoxes();
        resetFakeWindow();
        ASSERT_TRUE(initGLState());
        // The projection the window sets for an 800 x 600 client area.
        glViewport(0, 0, WIDTH, HEIGHT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(60.0, static_cast<double>(WIDTH) / HEIGHT, static_cast<double>(0.1f), 30.0);
        glMatrixMode(GL_MODELVIEW);
        roomLoaded = true;
    }
    void TearDown() override {
        glDeleteLists(displayListBase, DISPLAY_LIST_COUNT);
        glDeleteTextures(TEXTURE_COUNT, textureNames);
        displayListBase = 0;
        ilShutDown();
        resetGalleryState();
    }
};

TEST_F(SceneFrame, StartPoseShowsTheLitRoomAndPresentsIt) {
    EXPECT_TRUE(drawScene());
    EXPECT_EQ(fakeSwapCount, 1);

    const Region pictureWall = readRegion(0, 250, 40, 100);
    const Region doorWall = readRegion(WIDTH - 40, 250, 40, 100);
    const Region floor = readRegion(300, 0, 200, 30);
    const Region ceiling = readRegion(300, HEIGHT - 30, 200, 30);
    const Region farWall = readRegion(390, 290, 20, 20);
    for (const Region &region : {pictureWall, doorWall, floor, ceiling, farWall})
        EXPECT_GT(region.mean, 30.0);
    // Textured, not flat-shaded.
    EXPECT_GT(pictureWall.spread, 20);
    EXPECT_GT(doorWall.spread, 20);
    // The light comes from above the door wall; the picture wall faces away from it.
    EXPECT_LT(pictureWall.mean, 0.8 * doorWall.mean);
}

TEST_F(SceneFrame, CameraFollowsHeadingPitchAndPosition) {
    // Facing the far end wall, then the near one just behind the eye.
    drawScene();
    const float farDepth = centreDepth();
    viewHeading = 180.0f;
    drawScene();
    EXPECT_LT(centreDepth(), farDepth);

    // Heading 90 faces the picture wall (in shade), 270 the door wall (lit).
    viewHeading = 90.0f;
    drawScene();
    const Region left = readRegion(350, 250, 100, 100);
    viewHeading = 270.0f;
    drawScene();
    const Region right = readRegion(350, 250, 100, 100);
    EXPECT_LT(left.mean, 0.8 * right.mean);

    // Positive pitch looks down at the near floor, negative up at the higher ceiling.
    viewHeading = 0.0f;
    viewPitch = 30.0f;
    drawScene();
    const float down = centreDepth();
    viewPitch = -30.0f;
    drawScene();
    const float up = centreDepth();
    EXPECT_LT(down, up);
    EXPECT_LT(up, farDepth);

    // Side-stepping: the eye at x = -1.4 is near the picture wall, which fills more of the view.
    viewPitch = 0.0f;
    viewHeading = 90.0f;
    viewX = 1.4f;
    drawScene();
    const float nearWall = centreDepth();
    viewX = -1.4f;
    drawScene();
    EXPECT_LT(nearWall, centreDepth());
}

} // namespace
