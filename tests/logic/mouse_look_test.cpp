// mouse_look_test.cpp -- steering heading and pitch with the mouse: scaling, clamps, wraps and
// the cursor's return to the window centre.
#include <gtest/gtest.h>

#include "gallery/display_settings.h"
#include "app/main_window.h"
#include "fakes/fake_cursor.h"
#include "fakes/fake_window.h"
#include "gallery/gallery_state.h"

namespace {

class MouseLook : public ::testing::Test {
  protected:
    void SetUp() override {
        resetDisplaySettings();
        resetGalleryState();
        resetFakeCursor();
        resetFakeWindow();
        viewHeading = 100.0f;
        viewPitch = 20.0f;
    }
    void TearDown() override { resetGalleryState(); }
};

} // namespace

TEST_F(MouseLook, HorizontalMovesTurnByATenthTimesTwoUpToFourDegrees) {
    mouseLook(405, 300); // 5 px right: one degree right
    EXPECT_EQ(viewHeading, 99.0f);
    mouseLook(500, 300); // 100 px: clamped to 4 degrees
    EXPECT_EQ(viewHeading, 95.0f);
    mouseLook(395, 300);
    EXPECT_EQ(viewHeading, 96.0f);
    mouseLook(0, 300);
    EXPECT_EQ(viewHeading, 100.0f);
    EXPECT_EQ(viewPitch, 20.0f);
}

TEST_F(MouseLook, EveryVerticalMoveTiltsExactlyOneDegree) {
    mouseLook(400, 301);
    EXPECT_EQ(viewPitch, 21.0f);
    mouseLook(400, 350);
    EXPECT_EQ(viewPitch, 22.0f);
    mouseLook(400, 299);
    EXPECT_EQ(viewPitch, 21.0f);
    mouseLook(400, -5000);
    EXPECT_EQ(viewPitch, 20.0f);
    EXPECT_EQ(viewHeading, 100.0f);
}

TEST_F(MouseLook, HeadingAndPitchWrapAroundTheCircle) {
    viewHeading = 1.0f;
    mouseLook(410, 300); // -2 gives -1: below 0 becomes 358
    EXPECT_EQ(viewHeading, 358.0f);
    viewHeading = 359.0f;
    mouseLook(390, 300); // +2 gives 361: above 360 becomes 2
    EXPECT_EQ(viewHeading, 2.0f);
    viewHeading = 358.0f;
    mouseLook(390, 300); // exactly 360 stays
    EXPECT_EQ(viewHeading, 360.0f);

    viewPitch = 360.0f;
    mouseLook(400, 310);
    EXPECT_EQ(viewPitch, 1.0f);
    viewPitch = 0.0f;
    mouseLook(400, 290);
    EXPECT_EQ(viewPitch, 359.0f);
}

TEST_F(MouseLook, CursorReturnsToTheCentreOnlyAfterAMove) {
    screenWidth = 1024;
    screenHeight = 768;
    mouseLook(512, 384);
    EXPECT_TRUE(fakeCursorWarps.empty());
    EXPECT_EQ(viewHeading, 100.0f);
    EXPECT_EQ(viewPitch, 20.0f);

    // Odd sizes centre on the integer halves.
    screenWidth = 801;
    screenHeight = 601;
    mouseLook(400, 301);
    ASSERT_EQ(fakeCursorWarps.size(), 1u);
    EXPECT_EQ(fakeCursorWarps[0].x, 400 + FAKE_CLIENT_LEFT);
    EXPECT_EQ(fakeCursorWarps[0].y, 300 + FAKE_CLIENT_TOP);
    EXPECT_EQ(viewHeading, 100.0f);
    EXPECT_EQ(viewPitch, 21.0f);
}

// The smooth mouse turns 0.2 degrees per pixel and tilts as much, the tilt within +-89 degrees.
TEST_F(MouseLook, SmoothMouseTurnsInProportionToTheMove) {
    smoothMouse = true;
    mouseLook(405, 300); // 5 px right: one degree right
    EXPECT_FLOAT_EQ(viewHeading, 99.0f);
    mouseLook(350, 300); // 50 px left: ten degrees left
    EXPECT_FLOAT_EQ(viewHeading, 109.0f);
    mouseLook(400, 310); // 10 px down: two degrees down
    EXPECT_FLOAT_EQ(viewPitch, 22.0f);
    mouseLook(430, 285); // both at once
    EXPECT_FLOAT_EQ(viewHeading, 103.0f);
    EXPECT_FLOAT_EQ(viewPitch, 19.0f);
    EXPECT_EQ(fakeCursorWarps.size(), 4u);

    // Turning on past 0 and 360 wraps onto the circle.
    viewHeading = 1.0f;
    mouseLook(410, 300);
    EXPECT_FLOAT_EQ(viewHeading, 359.0f);
    mouseLook(380, 300);
    EXPECT_FLOAT_EQ(viewHeading, 3.0f);

    // A leap from far away (focus regained) counts as a 100-pixel move.
    mouseLook(400 + 2000, 300);
    EXPECT_FLOAT_EQ(viewHeading, 343.0f);
}

TEST_F(MouseLook, SmoothMouseNeverTiltsPast89Degrees) {
    smoothMouse = true;
    viewPitch = 80.0f;
    mouseLook(400, 400); // 20 degrees further down: stops at 89
    EXPECT_FLOAT_EQ(viewPitch, 89.0f);
    mouseLook(400, 400);
    EXPECT_FLOAT_EQ(viewPitch, 89.0f);

    viewPitch = 5.0f;
    mouseLook(400, 250); // 10 up, through level: 355
    EXPECT_FLOAT_EQ(viewPitch, 355.0f);
    mouseLook(400, 200); // 20 more up: 335
    EXPECT_FLOAT_EQ(viewPitch, 335.0f);
    for (int i = 0; i < 10; ++i)
        mouseLook(400, 200);
    EXPECT_FLOAT_EQ(viewPitch, 271.0f);

    // A view turned over before comes back to the nearer limit.
    viewPitch = 170.0f;
    mouseLook(400, 301);
    EXPECT_FLOAT_EQ(viewPitch, 89.0f);
    viewPitch = 190.0f;
    mouseLook(400, 299);
    EXPECT_FLOAT_EQ(viewPitch, 271.0f);
}
