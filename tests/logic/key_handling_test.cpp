// key_handling_test.cpp -- walking, side-stepping, turning and pitch with their wrap-arounds,
// the wall stops, Shift, key releases, help and quit.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "fakes/fake_events.h"
#include "fakes/fake_keyboard.h"
#include "fakes/fake_message_box.h"
#include "fakes/fake_window.h"
#include "gallery/display_settings.h"
#include "gallery/gallery_state.h"
#include "gallery/key_handling.h"

namespace {

constexpr uint32_t KEY_A = 65;
constexpr uint32_t KEY_D = 68;
constexpr uint32_t KEY_S = 83;
constexpr uint32_t KEY_W = 87;

class KeyHandling : public ::testing::Test {
  protected:
    void SetUp() override {
        resetGalleryState();
        resetDisplaySettings();
        resetFakeEvents();
        fakeShiftDown = false;
        setFullscreenToggle(toggleFullscreen);
    }
    void TearDown() override {
        resetGalleryState();
        resetFakeEvents();
        fakeShiftDown = false;
    }

    static void press(uint32_t key, int times = 1) {
        for (int i = 0; i < times; i++)
            handleKey(key, true);
    }
};

} // namespace

TEST_F(KeyHandling, WalkingDownTheRoomStopsExactlyAtTheFarLimit) {
    ASSERT_EQ(viewZ, -zLimit());
    float previous = viewZ;
    int steps = 0;
    while (viewZ != zLimit() && steps < 100) {
        press(VK_UP);
        steps++;
        EXPECT_LE(viewZ, zLimit());
        if (viewZ != zLimit()) {
            EXPECT_NEAR(viewZ - previous, 0.5f, 1e-5f);
        }
        previous = viewZ;
    }
    // 23.8 from stop to stop: 47 whole steps, the 48th is cut back to the stop.
    EXPECT_EQ(steps, 48);
    EXPECT_EQ(viewZ, zLimit());
    EXPECT_EQ(viewX, 0.0f);
    press(KEY_W, 3);
    EXPECT_EQ(viewZ, zLimit());

    press(KEY_S, 60);
    EXPECT_EQ(viewZ, -zLimit());
}

TEST_F(KeyHandling, WalkingDiagonallyIntoCornersHoldsBothStops) {
    press(VK_LEFT, 22); // heading 44: toward the far end and the picture wall
    ASSERT_EQ(viewHeading, 44.0f);
    press(VK_UP, 80);
    EXPECT_EQ(viewX, 1.4f);
    EXPECT_EQ(viewZ, zLimit());

    press(VK_DOWN, 80);
    EXPECT_EQ(viewX, -1.4f);
    EXPECT_EQ(viewZ, -zLimit());
}

TEST_F(KeyHandling, HeadingConvertsWithTheRoundedDegreeFactor) {
    viewZ = 0.0f;
    viewHeading = 90.0f;
    press(VK_UP); // facing the picture wall
    EXPECT_NEAR(viewX, 0.5f, 1e-6f);
    EXPECT_NEAR(viewZ, 0.0f, 1e-3f);

    // 180 x 0.01745 falls short of pi, so walking back down the room drifts sideways a little.
    viewX = 0.0f;
    viewZ = 0.0f;
    viewHeading = 180.0f;
    press(VK_UP);
    EXPECT_NEAR(viewZ, -0.5f, 1e-6f);
    EXPECT_GT(viewX, 2.5e-4f);
    EXPECT_LT(viewX, 3.5e-4f);
}

TEST_F(KeyHandling, TurningAndPitchWrapAtTheirOwnValues) {
    viewHeading = 358.0f;
    press(VK_LEFT);
    EXPECT_EQ(viewHeading, 360.0f);
    press(VK_LEFT);
    EXPECT_EQ(viewHeading, 2.0f);
    press(VK_RIGHT);
    EXPECT_EQ(viewHeading, 0.0f);
    press(VK_RIGHT);
    EXPECT_EQ(viewHeading, 358.0f);

    fakeShiftDown = true;
    viewPitch = 359.0f;
    press(VK_UP);
    EXPECT_EQ(viewPitch, 360.0f);
    press(KEY_W);
    EXPECT_EQ(viewPitch, 1.0f);
    press(VK_DOWN);
    EXPECT_EQ(viewPitch, 0.0f);
    press(KEY_S);
    EXPECT_EQ(viewPitch, 359.0f);
}

// With the smooth mouse on, the keys tilt within its +-89 degrees and never turn the view over.
TEST_F(KeyHandling, SmoothMouseKeepsTheKeyTiltShortOfStraightUpAndDown) {
    smoothMouse = true;
    fakeShiftDown = true;
    viewPitch = 87.0f;
    press(VK_UP, 5); // down to the limit, and no further
    EXPECT_EQ(viewPitch, 89.0f);
    press(KEY_S);
    EXPECT_EQ(viewPitch, 88.0f);

    viewPitch = 1.0f;
    press(VK_DOWN, 2); // through level into looking up: 0, then 359
    EXPECT_EQ(viewPitch, 359.0f);
    viewPitch = 273.0f;
    press(KEY_S, 5);
    EXPECT_EQ(viewPitch, 271.0f);
    press(KEY_W);
    EXPECT_EQ(viewPitch, 272.0f);
    EXPECT_EQ(viewX, 0.0f);
}

TEST_F(KeyHandling, ShiftTurnsArrowsIntoSideStepsAndPitch) {
    viewZ = 0.0f;
    press(KEY_A); // facing down the room, left is toward the picture wall
    EXPECT_EQ(viewX, 0.5f);
    press(KEY_D, 2);
    EXPECT_EQ(viewX, -0.5f);

    fakeShiftDown = true;
    press(VK_LEFT);
    EXPECT_EQ(viewX, 0.0f);
    press(VK_RIGHT);
    EXPECT_EQ(viewX, -0.5f);
    press(KEY_A, 2);
    EXPECT_EQ(viewX, 0.5f);
    press(KEY_D);
    EXPECT_EQ(viewX, 0.0f);
    EXPECT_EQ(viewHeading, 0.0f);

    // With Shift, forward and back only tilt the view.
    press(VK_UP, 3);
    press(KEY_S);
    EXPECT_EQ(viewPitch, 2.0f);
    EXPECT_EQ(viewZ, 0.0f);
    EXPECT_EQ(viewX, 0.0f);

    // Side-stepping follows the heading: at 90 a left step goes back toward the near end.
    fakeShiftDown = false;
    viewHeading = 90.0f;
    press(KEY_A);
    EXPECT_NEAR(viewZ, -0.5f, 1e-6f);
    EXPECT_NEAR(viewX, 0.0f, 1e-3f);
}

TEST_F(KeyHandling, ReleasesOnlyReapplyTheStops) {
    viewX = -3.0f;
    viewZ = 20.0f;
    roomLoaded = true;
    for (uint32_t key : {VK_ESCAPE, VK_F2, VK_F1, VK_UP, VK_LEFT, VK_RETURN})
        handleKey(key, false);
    EXPECT_EQ(viewX, -1.4f);
    EXPECT_EQ(viewZ, zLimit());
    EXPECT_EQ(viewHeading, 0.0f);
    EXPECT_FALSE(helpVisible);
    EXPECT_TRUE(roomLoaded);
    EXPECT_FALSE(fullscreen);
    EXPECT_FALSE(fakeQuitPosted);
}

TEST_F(KeyHandling, EscapeQuitsWithTheStopsAppliedAndF1TogglesHelp) {
    press(VK_F1);
    EXPECT_TRUE(helpVisible);
    press(VK_F1);
    EXPECT_FALSE(helpVisible);
    press(90); // a key outside the table
    EXPECT_FALSE(fakeQuitPosted);

    viewX = 5.0f;
    viewZ = -30.0f;
    press(VK_ESCAPE);
    EXPECT_TRUE(fakeQuitPosted);
    EXPECT_EQ(fakeQuitExitCode, 0);
    EXPECT_EQ(viewX, 1.4f);
    EXPECT_EQ(viewZ, -zLimit());
}

TEST_F(KeyHandling, F2ReloadsTheRoomAndQuitsWhenNoWindowCanBeMade) {
    resetFakeWindow();
    resetFakeMessageBoxes();
    fakeWindowFailures = {"registerWindowClass"};
    roomLoaded = true;
    viewX = 0.7f;
    viewHeading = 44.0f;
    roomNumber = 3;
    press(VK_F2);
    EXPECT_FALSE(roomLoaded);
    EXPECT_TRUE(fakeQuitPosted);
    EXPECT_EQ(viewX, 0.7f);
    EXPECT_EQ(viewHeading, 44.0f);
    EXPECT_EQ(roomNumber, 3);
    EXPECT_EQ(countFakeWindowCalls("registerWindowClass"), 1);
    resetFakeWindow();
    resetFakeMessageBoxes();
}
