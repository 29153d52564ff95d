// window_messages_test.cpp -- real window messages, posted and sent to a window of the gallery's
// window procedure, as pollMessage hands them to the gallery: order, key codes, the close box,
// refused system commands, system keys and the quit request.
#include <gtest/gtest.h>

#include <vector>
#include <windows.h>

#include "platform/events.h"
#include "platform/window_proc_win32.h"

namespace {

class WindowMessages : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = galleryWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QuillmereMessageTest";
        ASSERT_NE(RegisterClassW(&windowClass), 0);
        window = CreateWindowExW(0, L"QuillmereMessageTest", L"messages", WS_OVERLAPPEDWINDOW, 0, 0,
                                 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
    }
    static void TearDownTestSuite() { DestroyWindow(window); }
    void SetUp() override { pollAll(); }

    static std::vector<WindowMessage> pollAll() {
        std::vector<WindowMessage> messages;
        WindowMessage message;
        while (pollMessage(&message))
            messages.push_back(message);
        return messages;
    }

    static HWND window;
};

HWND WindowMessages::window = nullptr;

} // namespace

TEST_F(WindowMessages, PostedAndSentMessagesArriveInTheirOrderWithTheirParameters) {
    PostMessageW(window, WM_KEYDOWN, VK_LEFT, 0);
    PostMessageW(window, WM_KEYDOWN, VK_LEFT, 0x40000000); // auto-repeat: a further key-down
    PostMessageW(window, WM_KEYUP, VK_LEFT, 0);
    PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(-5, 30));
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
    std::vector<WindowMessage> messages = pollAll();
    ASSERT_EQ(messages.size(), 5u);
    EXPECT_EQ(messages[0].message, (unsigned)WM_KEYDOWN);
    EXPECT_EQ(messages[0].wParam, (uintptr_t)VK_LEFT);
    EXPECT_EQ(messages[1].message, (unsigned)WM_KEYDOWN);
    EXPECT_EQ(messages[2].message, (unsigned)WM_KEYUP);
    EXPECT_EQ(messages[3].message, (unsigned)WM_MOUSEMOVE);
    EXPECT_EQ(pointX(messages[3].lParam), -5);
    EXPECT_EQ(pointY(messages[3].lParam), 30);
    EXPECT_EQ(messages[4].message, (unsigned)WM_LBUTTONDOWN);
    EXPECT_EQ(pointY(messages[4].lParam), 20);

    // A size change is sent, not posted: it waits its turn behind nothing and before the next.
    SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 480));
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    messages = pollAll();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, (unsigned)WM_SIZE);
    EXPECT_EQ(lowWord(messages[0].lParam), 640);
    EXPECT_EQ(highWord(messages[0].lParam), 480);
    EXPECT_EQ(messages[1].wParam, (uintptr_t)VK_RETURN);
}

TEST_F(WindowMessages, CloseBoxReachesTheGalleryAndLeavesTheWindowToItsTeardown) {
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    std::vector<WindowMessage> messages = pollAll();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, (unsigned)WM_CLOSE);
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(WindowMessages, ScreenSaverAndMonitorPowerOffAreRefusedOnTheSpot) {
    EXPECT_EQ(SendMessageW(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
    EXPECT_EQ(SendMessageW(window, WM_SYSCOMMAND, SC_MONITORPOWER | 2, 2), 0);
    EXPECT_TRUE(pollAll().empty());
}

TEST_F(WindowMessages, SystemKeysAreLeftToTheWindowSystem) {
    PostMessageW(window, WM_SYSKEYDOWN, VK_F10, 0);
    PostMessageW(window, WM_SYSKEYUP, VK_F10, 0);
    PostMessageW(window, WM_KEYDOWN, VK_F1, 0);
    std::vector<WindowMessage> messages = pollAll();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].wParam, (uintptr_t)VK_F1);
}

TEST_F(WindowMessages, QuitComesAfterWhatIsAlreadyWaitingWithItsExitCode) {
    PostMessageW(window, WM_KEYDOWN, VK_UP, 0);
    postQuitMessage(3);
    std::vector<WindowMessage> messages = pollAll();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, (unsigned)WM_KEYDOWN);
    EXPECT_EQ(messages[1].message, (unsigned)WM_QUIT);
    EXPECT_EQ(messages[1].wParam, 3u);
    WindowMessage none;
    EXPECT_FALSE(pollMessage(&none));
}

// The wheel's message gives the pointer on the screen; the gallery gets it in the window, and
// the buttons the view uses arrive as they are.
TEST_F(WindowMessages, TheWheelArrivesInWindowCoordinatesWithItsDeltaAndKeys) {
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    PostMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, (WORD)(short)-WHEEL_DELTA),
                 MAKELPARAM(origin.x + 30, origin.y + 40));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(7, 8));
    PostMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(9, 10));
    std::vector<WindowMessage> messages = pollAll();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].message, (unsigned)WM_MOUSEWHEEL);
    EXPECT_EQ(pointX(messages[0].lParam), 30);
    EXPECT_EQ(pointY(messages[0].lParam), 40);
    EXPECT_EQ((short)highWord((intptr_t)messages[0].wParam), -WHEEL_DELTA);
    EXPECT_NE(messages[0].wParam & MK_CONTROL, 0u);
    EXPECT_EQ(messages[1].message, (unsigned)WM_LBUTTONUP);
    EXPECT_EQ(messages[2].message, (unsigned)WM_RBUTTONDOWN);
    EXPECT_EQ(pointX(messages[2].lParam), 9);
}
