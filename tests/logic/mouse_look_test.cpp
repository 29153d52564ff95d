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
