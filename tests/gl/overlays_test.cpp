// overlays_test.cpp -- the loading screen's bar and message, the help overlay's line positions
// and the frames-per-second counter.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "gallery/display_settings.h"
#include "fakes/fake_ticks.h"
#include "fakes/fake_window.h"
#include "gl/gl_test_context.h"
#include "gl/window_feedback.h"
#include "render/texture_names.h"
#include "render/overlays.h"
#include "render/room_lists.h"
#include "render/text.h"

namespace {

using Rgb = std::array<int, 3>;
const Rgb BLACK = {0, 0, 0};
const Rgb RED = {255, 0, 0};
const Rgb WHITE = {255, 255, 255};
const Rgb GREEN = {0, 255, 0};

class Overlays : public ::testing::Test {
  protected:
    void openScreen(int width, int height) {
        ASSERT_TRUE(makeTestGLContextCurrent(width, height));
        screenWidth = width;
        screenHeight = height;
        glViewport(0, 0, width, height);
        glGenTextures(TEXTURE_COUNT, textureNames);
        displayListBase = glGenLists(DISPLAY_LIST_COUNT);
        ASSERT_TRUE(buildFonts());
        // Track: red in its first column, white elsewhere, to show where each repeat starts.
        // Fill: plain green.
        unsigned char track[32 * 32 * 4];
        unsigned char fill[32 * 32 * 4];
        for (int i = 0; i < 32 * 32; ++i) {
            bool firstColumn = i % 32 == 0;
            unsigned char trackPixel[4] = {255, (unsigned char)(firstColumn ? 0 : 255),
                                           (unsigned char)(firstColumn ? 0 : 255), 255};
            unsigned char fillPixel[4] = {0, 255, 0, 255};
            memcpy(track + 4 * i, trackPixel, 4);
            memcpy(fill + 4 * i, fillPixel, 4);
        }
        uploadPattern(TEX_PROGRESS_TRACK, track);
        uploadPattern(TEX_PROGRESS_FILL, fill);
        glClearColor(0, 0, 0, 1);
        glColor3f(1, 1, 1);
        resetFakeWindow();
    }

    void uploadPattern(int entry, const unsigned char *pixels) {
        glBindTexture(GL_TEXTURE_2D, textureNames[entry]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        glTexImage2D(GL_TEXTURE_2D, 0, 4, 32, 32, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    }

    void TearDown() override {
        glDeleteTextures(TEXTURE_COUNT, textureNames);
        glDeleteLists(displayListBase, DISPLAY_LIST_COUNT);
        resetDisplaySettings();
    }

    Rgb pixel(int x, int y) {
        unsigned char p[4] = {};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2]};
    }

    // The filled part of the bar: the green columns along its middle row.
    int greenColumns(int row) {
        int count = 0;
        for (int x = 0; x < screenWidth; ++x)
            count += pixel(x, row) == GREEN;
        return count;
    }
};

TEST_F(Overlays, ProgressBarSpansTheWindowBetweenIntegerHalvesAt640x480) {
    openScreen(640, 480);
    ASSERT_TRUE(drawProgressScreen("Loading a.jpg...", 10));
    EXPECT_EQ(fakeSwapCount, 1);
    // Rows 224..255, columns 10..629; 10 % of 620 is 61 with the single-precision 0.01.
    EXPECT_EQ(pixel(9, 240), BLACK);
    EXPECT_EQ(pixel(10, 240), GREEN);
    EXPECT_EQ(pixel(70, 240), GREEN);
    EXPECT_EQ(pixel(71, 240), WHITE);
    EXPECT_EQ(pixel(629, 240), WHITE);
    EXPECT_EQ(pixel(630, 240), BLACK);
    EXPECT_EQ(pixel(300, 223), BLACK);
    EXPECT_EQ(pixel(300, 224), WHITE);
    EXPECT_EQ(pixel(300, 255), WHITE);
    EXPECT_EQ(pixel(300, 256), BLACK);
    // The track texture repeats every 32 pixels from the bar's left end.
    EXPECT_EQ(pixel(74, 240), RED);
    EXPECT_EQ(pixel(75, 240), WHITE);
    EXPECT_EQ(pixel(618, 240), RED);
}

TEST_F(Overlays, ProgressFillFollowsTheClampedPercentAt800x600) {
    openScreen(800, 600);
    const int cases[][2] = {{10, 77}, {50, 389}, {100, 779}, {150, 779}, {-5, 0}, {0, 0}};
    for (const auto &c : cases) {
        drawProgressScreen("x", c[0]);
        EXPECT_EQ(greenColumns(300), c[1]) << c[0] << " %";
    }
    EXPECT_EQ(pixel(300, 283), BLACK);
    EXPECT_EQ(pixel(300, 284), WHITE);
    EXPECT_EQ(pixel(300, 315), WHITE);
    EXPECT_EQ(pixel(300, 316), BLACK);
    EXPECT_EQ(pixel(789, 300), WHITE);
    EXPECT_EQ(pixel(790, 300), BLACK);
}

TEST_F(Overlays, ProgressMessageSitsCentredSixteenPixelsAboveTheBar) {
    openScreen(640, 480);
    startWindowFeedback();
    drawProgressScreen("Loading picture.jpg...", 40);
    auto runs = bitmapRuns(stopWindowFeedback());
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].size(), strlen("Loading picture.jpg..."));
    EXPECT_NEAR(runs[0][0].y, 272.0f, 0.01f);
    int width = 0;
    for (const char *c = "Loading picture.jpg..."; *c; ++c)
        width += bitmapCharWidths[(unsigned char)*c];
    EXPECT_NEAR(runs[0][0].x, 320.0f - width / 2, 0.01f);
}

TEST_F(Overlays, ProgressScreenLeavesMatricesAndStateAsItFoundThem) {
    openScreen(640, 480);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(30, 0, 1, 0);
    GLfloat projection[16], modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);

    drawProgressScreen("x", 50);

    GLfloat after[16];
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    EXPECT_EQ(memcmp(after, projection, sizeof after), 0);
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_EQ(memcmp(after, modelview, sizeof after), 0);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

TEST_F(Overlays, HelpLinesRunDownTheLeftAndTheCounterSitsTopRight) {
    openScreen(640, 480);
    framesCounted = lastFpsTick = framesPerSecond = 0;
    fakeTickCount = 5000;
    startWindowFeedback();
    drawHelpOverlay();
    auto runs = bitmapRuns(stopWindowFeedback());
    EXPECT_EQ(fakeSwapCount, 0);

    // Twenty-one non-empty lines (13 and 17 are empty), then the counter.
    ASSERT_EQ(runs.size(), 22u);
    size_t run = 0;
    for (int k = 0; k < HELP_LINE_COUNT; ++k) {
        if (helpLines[k][0] == '\0')
            continue;
        EXPECT_NEAR(runs[run][0].x, 5.0f, 0.01f) << "line " << k;
        EXPECT_NEAR(runs[run][0].y, 460.0f - 20 * k, 0.01f) << "line " << k;
        ++run;
    }
    EXPECT_NEAR(runs[21][0].x, 570.0f, 0.01f);
    EXPECT_NEAR(runs[21][0].y, 460.0f, 0.01f);
    EXPECT_EQ(runs[21].size(), strlen("1 FPS"));
}

TEST_F(Overlays, CounterShowsFramesOfTheLastCompletedSecond) {
    openScreen(640, 480);
    framesCounted = lastFpsTick = framesPerSecond = 0;
    // First frame: the update at tick 0 is long past, so it shows 1.
    fakeTickCount = 7000;
    drawHelpOverlay();
    EXPECT_EQ(framesPerSecond, 1u);
    // Nine more frames within the second keep showing 1; the tenth at +1000 ms shows 10.
    for (int i = 1; i <= 9; ++i) {
        fakeTickCount = 7000 + 100 * i;
        drawHelpOverlay();
    }
    EXPECT_EQ(framesPerSecond, 1u);
    fakeTickCount = 7999;
    drawHelpOverlay();
    EXPECT_EQ(framesPerSecond, 1u);
    fakeTickCount = 8000;
    drawHelpOverlay();
    EXPECT_EQ(framesPerSecond, 11u);
    EXPECT_EQ(lastFpsTick, 8000u);

    // Across the tick counter's wrap-around the unsigned difference still measures 1000 ms.
    framesCounted = 0;
    lastFpsTick = 0xFFFFFF00u;
    fakeTickCount = 0x2E7; // 999 ms later
    drawHelpOverlay();
    EXPECT_EQ(framesPerSecond, 11u);
    fakeTickCount = 0x2E8; // 1000 ms later
    drawHelpOverlay();
    EXPECT_EQ(framesPerSecond, 2u);
}

} // namespace
