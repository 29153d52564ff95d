// window_proc_test.cpp -- the gallery window's message table: activation, close, keys, clicks,
// mouse steering and the refused system commands.
#include <gtest/gtest.h>

#include <cstring>

#include "gallery/display_settings.h"
#include "app/window_proc.h"
#include "fakes/fake_cursor.h"
#include "fakes/fake_events.h"
#include "fakes/fake_keyboard.h"
#include "fakes/fake_window.h"
#include "gallery/gallery_state.h"
#include "gallery/facing_zone.h"
#include "gallery/folder_scanner.h"
#include "gallery/key_handling.h"
#include "gallery/picture_view.h"
#include "gallery/room_landing.h"
#include "app/picture_view_screen.h"
#include "fakes/fake_folder_enum.h"
#include "loading/view_pictures.h"
#include "support/native_paths.h"
#include "platform/events.h"
#include "support/output_capture.h"

namespace {

class WindowProc : public ::testing::Test {
  protected:
    void SetUp() override {
        resetGalleryState();
        resetDisplaySettings();
        resetFakeEvents();
        resetFakeCursor();
        resetFakeWindow();
        fakeShiftDown = false;
        windowActive = true;
    }
    void TearDown() override {
        resetGalleryState();
        resetFakeEvents();
        windowActive = true;
    }
};

} // namespace

TEST_F(WindowProc, ActivationFollowsOnlyTheMinimisedFlag) {
    // High word non-zero: minimised, whatever the low word says.
    EXPECT_EQ(mainWindowProc(WM_ACTIVATE, 1 | (1u << 16), 0), 0);
    EXPECT_FALSE(windowActive);
    // Deactivated without minimising keeps the gallery drawing.
    EXPECT_EQ(mainWindowProc(WM_ACTIVATE, 0, 0), 0);
    EXPECT_TRUE(windowActive);
    mainWindowProc(WM_ACTIVATE, 0 | (1u << 16), 0);
    EXPECT_FALSE(windowActive);
    mainWindowProc(WM_ACTIVATE, 1, 0);
    EXPECT_TRUE(windowActive);
    EXPECT_TRUE(fakeDefaultHandled.empty());
}

TEST_F(WindowProc, CloseAsksTheLoopToEndWithCodeZero) {
    EXPECT_EQ(mainWindowProc(WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(fakeQuitPosted);
    EXPECT_EQ(fakeQuitExitCode, 0);
    EXPECT_TRUE(fakeDefaultHandled.empty());
}

TEST_F(WindowProc, KeyPressesActAndReleasesDoNot) {
    EXPECT_EQ(mainWindowProc(WM_KEYDOWN, VK_F1, 0), 0);
    EXPECT_TRUE(helpVisible);
    EXPECT_EQ(mainWindowProc(WM_KEYUP, VK_F1, 0), 0);
    EXPECT_TRUE(helpVisible);

    EXPECT_EQ(mainWindowProc(WM_KEYUP, VK_ESCAPE, 0), 0);
    EXPECT_FALSE(fakeQuitPosted);
    EXPECT_EQ(mainWindowProc(WM_KEYDOWN, VK_ESCAPE, 0), 0);
    EXPECT_TRUE(fakeQuitPosted);
    EXPECT_TRUE(fakeDefaultHandled.empty());
}

TEST_F(WindowProc, LeftClickOpensTheDoorInFrontLikeEnter) {
    // At the near end, facing the previous-room door of the second room.
    firstPicture = picturesPerRoom;
    roomNumber = 2;
    viewZ = -zLimit();
    viewHeading = 180.0f;
    roomLoaded = true;
    startCapture(stdout);
    EXPECT_EQ(mainWindowProc(WM_LBUTTONDOWN, 1, makeLParam(400, 300)), 0);
    std::string printed = stopCapture(stdout);
    EXPECT_EQ(roomNumber, 1);
    EXPECT_EQ(firstPicture, 0u);
    EXPECT_FALSE(roomLoaded);
    EXPECT_EQ(printed, "Loading Room 1...\n");
}

TEST_F(WindowProc, MouseMovesSteerOnlyWithMouseNavigation) {
    viewHeading = 90.0f;
    viewPitch = 10.0f;
    mouseNavigation = false;
    EXPECT_EQ(mainWindowProc(WM_MOUSEMOVE, 0, makeLParam(405, 350)), 0);
    EXPECT_EQ(viewHeading, 90.0f);
    EXPECT_EQ(viewPitch, 10.0f);
    EXPECT_TRUE(fakeCursorWarps.empty());

    mouseNavigation = true;
    EXPECT_EQ(mainWindowProc(WM_MOUSEMOVE, 0, makeLParam(405, 350)), 0);
    EXPECT_EQ(viewHeading, 89.0f);
    EXPECT_EQ(viewPitch, 11.0f);
    ASSERT_EQ(fakeCursorWarps.size(), 1u);
    EXPECT_EQ(fakeCursorWarps[0].x, 400 + FAKE_CLIENT_LEFT);
    EXPECT_EQ(fakeCursorWarps[0].y, 300 + FAKE_CLIENT_TOP);
    EXPECT_TRUE(fakeDefaultHandled.empty());
}

TEST_F(WindowProc, MouseCoordinatesLeftOfAndAboveTheWindowAreNegative) {
    viewHeading = 90.0f;
    viewPitch = 10.0f;
    // (-10, -3): far to the left turns left by the full 4 degrees, above tilts up by 1.
    mainWindowProc(WM_MOUSEMOVE, 0, makeLParam(-10, -3));
    EXPECT_EQ(viewHeading, 94.0f);
    EXPECT_EQ(viewPitch, 9.0f);
}

// Where the window system sends system commands, the screen saver and monitor power-off are
// refused while the gallery is open; every other command is handled as usual.
TEST_F(WindowProc, ScreenSaverAndPowerOffAreRefusedOtherSystemCommandsAreNot) {
    EXPECT_EQ(mainWindowProc(WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
    EXPECT_EQ(mainWindowProc(WM_SYSCOMMAND, SC_MONITORPOWER, 0), 0);
    EXPECT_TRUE(fakeDefaultHandled.empty());
    const uintptr_t minimise = 0xF020;
    EXPECT_EQ(mainWindowProc(WM_SYSCOMMAND, minimise, 0), FAKE_DEFAULT_RESULT);
    EXPECT_EQ(mainWindowProc(WM_SYSCOMMAND, SC_SCREENSAVE + 1, 0), FAKE_DEFAULT_RESULT);
    ASSERT_EQ(fakeDefaultHandled.size(), 2u);
    EXPECT_EQ(fakeDefaultHandled[0].wParam, minimise);
}

// A message the procedure does not handle goes to the default handling, with no gallery action.
TEST_F(WindowProc, UnhandledMessagesGetTheDefaultHandling) {
    EXPECT_EQ(mainWindowProc(WM_SYSKEYDOWN, VK_F2, 7), FAKE_DEFAULT_RESULT);
    ASSERT_EQ(fakeDefaultHandled.size(), 1u);
    EXPECT_EQ(fakeDefaultHandled[0].message, WM_SYSKEYDOWN);
    EXPECT_EQ(fakeDefaultHandled[0].wParam, VK_F2);
    EXPECT_EQ(fakeDefaultHandled[0].lParam, 7);
    EXPECT_TRUE(fakeWindowCalls.empty());
}

// Where a picture's caption shows, Enter, Space and a click open the picture view instead of
// acting on a door; while it is open the keys, buttons and wheel are the view's, and closing it
// hands them back.
TEST_F(WindowProc, PictureViewTakesTheInputWhileItIsOpen) {
    ViewPictures pictures;
    setViewPictures(&pictures);
    const std::vector<FakeEntry> entries = {{"a.jpg", false}, {"b.jpg", false}, {"c.jpg", false}};
    setFakeFolder(nativePath("/pics"), entries);
    strcpy(currentPath, nativePath("/pics").c_str());
    scanFolder();
    roomNumber = 1;
    standBeforePicture(1);
    roomLoaded = true;

    for (uintptr_t opener : {(uintptr_t)VK_RETURN, (uintptr_t)VK_SPACE, (uintptr_t)0}) {
        if (opener == 0)
            mainWindowProc(WM_LBUTTONDOWN, MK_LBUTTON, makeLParam(5, 5));
        else
            mainWindowProc(WM_KEYDOWN, opener, 0);
        ASSERT_TRUE(pictureView.open) << "opener " << opener;
        EXPECT_EQ(pictureView.index, 1u);
        // The wheel steps, a right click closes.
        mainWindowProc(WM_MOUSEWHEEL, (uintptr_t)(uint16_t)(int16_t)-WHEEL_DELTA << 16,
                       makeLParam(5, 5));
        EXPECT_EQ(pictureView.index, 2u);
        mainWindowProc(WM_RBUTTONDOWN, 0, makeLParam(5, 5));
        EXPECT_FALSE(pictureView.open);
        uint32_t faced = 0;
        ASSERT_TRUE(facedPicture(&faced));
        EXPECT_EQ(faced, 2u);
        standBeforePicture(1);
    }

    // Escape closes the view; only the next one ends the program.
    mainWindowProc(WM_KEYDOWN, VK_RETURN, 0);
    mainWindowProc(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(pictureView.open);
    EXPECT_FALSE(fakeQuitPosted);
    mainWindowProc(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(fakeQuitPosted);
    setViewPictures(nullptr);
    resetFakeFolders();
}
