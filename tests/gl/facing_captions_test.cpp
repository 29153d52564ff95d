// facing_captions_test.cpp -- the caption as it appears on the screen: centred on the middle,
// faded by its opacity, cut to the screen width less 20 pixels.
#include <GL/gl.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "gallery/display_settings.h"
#include "gallery/gallery_state.h"
#include "gl/gl_test_context.h"
#include "render/facing_captions.h"
#include "render/room_lists.h"
#include "render/text.h"

namespace {

constexpr int WIDTH = 800;
constexpr int HEIGHT = 600;

// The lit pixels of a frame: their bounding box and the brightest red.
struct Ink {
    int x0 = WIDTH, y0 = HEIGHT, x1 = -1, y1 = -1;
    int brightest = 0;
};

class FacingCaptionsOnScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(makeTestGLContextCurrent(WIDTH, HEIGHT));
        resetDisplaySettings();
        resetGalleryState();
        glViewport(0, 0, WIDTH, HEIGHT);
        displayListBase = glGenLists(DISPLAY_LIST_COUNT);
        ASSERT_TRUE(buildFonts());
    }
    void TearDown() override {
        glDeleteLists(displayListBase, DISPLAY_LIST_COUNT);
        displayListBase = 0;
        resetGalleryState();
    }

    // A folder whose one picture has the given name, the viewer before it at the given heading.
    static void faceOnlyPicture(const std::string &name, float heading) {
        resetGalleryState();
        pictureNames = static_cast<char **>(malloc(sizeof(char *)));
        pictureNamePool = strdup(name.c_str());
        pictureNames[0] = pictureNamePool;
        pictureCount = 1;
        viewX = 1.4f;
        viewZ = -11.25f; // the middle of slot 0
        viewHeading = heading;
    }

    // The caption on black, blended as the scene frame draws it.
    static Ink drawCaption() {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        drawFacingCaption();
        glDisable(GL_BLEND);
        std::vector<unsigned char> rgba(WIDTH * HEIGHT * 4);
        glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        Ink ink;
        for (int y = 0; y < HEIGHT; y++)
            for (int x = 0; x < WIDTH; x++) {
                const int red = rgba[(y * WIDTH + x) * 4];
                if (red == 0)
                    continue;
                ink.x0 = std::min(ink.x0, x), ink.x1 = std::max(ink.x1, x);
                ink.y0 = std::min(ink.y0, y), ink.y1 = std::max(ink.y1, y);
                ink.brightest = std::max(ink.brightest, red);
            }
        return ink;
    }
};

} // namespace

TEST_F(FacingCaptionsOnScreen, CentredOnTheMiddleFadedAndCutToTheWidthLessTwenty) {
    // Ten degrees off the picture: opacity 0.5 + 0.25 over black.
    faceOnlyPicture("MIDDLE.BMP", 100.0f);
    const Ink caption = drawCaption();
    EXPECT_EQ(caption.y0, HEIGHT / 2); // standing on the middle line
    EXPECT_NEAR((caption.x0 + caption.x1) / 2.0, WIDTH / 2, 2.0);
    EXPECT_NEAR(caption.brightest, 0.75 * 255, 1.5);

    // Too long for the screen: as many letters as fit in 780 pixels, the last three turned to
    // dots, centred on the width of the letters kept.
    faceOnlyPicture(std::string(120, 'W') + ".jpg", 90.0f);
    const int advance = bitmapCharWidths[static_cast<unsigned char>('W')];
    ASSERT_GT(advance, bitmapCharWidths[static_cast<unsigned char>('.')]);
    const int keptWidth = (WIDTH - 20) / advance * advance;
    const Ink cut = drawCaption();
    EXPECT_NEAR(cut.x0, WIDTH / 2 - keptWidth / 2, 1.0);
    EXPECT_EQ(cut.brightest, 255);
}
