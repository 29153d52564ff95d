// main_loop_test.cpp -- the message loop: waiting messages before frames, no frames while
// minimised, the end on WM_QUIT.
#include <gtest/gtest.h>

#include "gallery/display_settings.h"
#include "app/main_loop.h"
#include "app/main_window.h"
#include "app/window_proc.h"
#include "fakes/fake_cursor.h"
#include "fakes/fake_events.h"
#include "fakes/fake_message_box.h"
#include "fakes/fake_window.h"
#include "gallery/gallery_state.h"
#include "gallery/key_handling.h"
#include "gl/gl_test_context.h"
#include "platform/events.h"

namespace {

int swapsBeforeQuit = 0;
size_t messagesWaitingAtFirstSwap = 0;
int idlePollsBeforeQuit = 0;

void quitAfterSwaps() {
    if (fakeSwapCount == 1)
        messagesWaitingAtFirstSwap = fakePendingMessages.size();
    if (fakeSwapCount == swapsBeforeQuit)
        postQuitMessage(0);
}

void quitAfterIdlePolls() {
    if (fakeIdlePolls == idlePollsBeforeQuit)
        postQuitMessage(0);
}

class MainLoop : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(makeTestGLContextCurrent(800, 600));
        resetDisplaySettings();
        resetGalleryState();
        resetFakeWindow();
        resetFakeCursor();
        resetFakeEvents();
        resetFakeMessageBoxes();
        windowActive = true;
        ASSERT_TRUE(createMainWindow("Quillmere", 800, 600, 16, false));
    }
    void TearDown() override {
        destroyMainWindow();
        resetFakeEvents();
        resetFakeWindow();
        resetGalleryState();
        windowActive = true;
    }
};

} // namespace

TEST_F(MainLoop, WaitingMessagesAreAllHandledBeforeTheNextFrame) {
    fakePendingMessages = {{WM_KEYDOWN, VK_F1, 0},
                           {WM_KEYUP, VK_F1, 0},
                           {WM_KEYDOWN, VK_F1, 0},
                           {WM_KEYDOWN, VK_F1, 0}};
    swapsBeforeQuit = 3;
    messagesWaitingAtFirstSwap = 99;
    fakeOnSwap = quitAfterSwaps;
    runMainLoop();
    EXPECT_EQ(messagesWaitingAtFirstSwap, 0u);
    EXPECT_TRUE(helpVisible);
    // The quit request ends the loop before another frame.
    EXPECT_EQ(fakeSwapCount, 3);
}

TEST_F(MainLoop, MinimisedWindowIsPolledButNotDrawnUntilRestored) {
    fakePendingMessages = {{WM_ACTIVATE, 1u << 16, 0}};
    idlePollsBeforeQuit = 50;
    fakeOnIdlePoll = quitAfterIdlePolls;
    runMainLoop();
    EXPECT_EQ(fakeIdlePolls, 50);
    EXPECT_EQ(fakeSwapCount, 0);
    EXPECT_FALSE(windowActive);

    resetFakeEvents();
    fakePendingMessages = {{WM_ACTIVATE, 1, 0}};
    swapsBeforeQuit = 2;
    fakeOnSwap = quitAfterSwaps;
    runMainLoop();
    EXPECT_EQ(fakeSwapCount, 2);
}

TEST_F(MainLoop, CloseMessageEndsTheLoop) {
    fakePendingMessages = {{WM_CLOSE, 0, 0}};
    runMainLoop();
    EXPECT_EQ(fakeSwapCount, 0);
    EXPECT_TRUE(fakePendingMessages.empty());
}
