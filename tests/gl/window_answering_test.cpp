// window_answering_test.cpp -- the window's messages while the program waits: quitting ends the
// process at once with the window taken away, size and activation are handled, and keys and
// clicks wait, in order, for the main loop.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/main_loop.h"
#include "app/main_window.h"
#include "app/window_answering.h"
#include "app/window_proc.h"
#include "fakes/fake_cursor.h"
#include "fakes/fake_events.h"
#include "fakes/fake_message_box.h"
#include "fakes/fake_window.h"
#include "gallery/display_settings.h"
#include "gallery/gallery_state.h"
#include "gallery/key_handling.h"
#include "gl/gl_test_context.h"

namespace {

class WindowAnswering : public ::testing::Test {
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
        WindowMessage left;
        while (takeKeptMessage(&left)) {
        }
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

TEST_F(WindowAnswering, KeysAndClicksWaitInOrderWhileSizeAndActivationAreHandled) {
    fakePendingMessages = {{WM_KEYDOWN, VK_F1, 0},
                           {WM_SIZE, 0, makeLParam(640, 480)},
                           {WM_LBUTTONDOWN, 0, makeLParam(10, 10)},
                           {WM_ACTIVATE, 1u << 16, 0},
                           {WM_KEYUP, VK_F1, 0}};
    answerWindowWhileWaiting();
    EXPECT_TRUE(fakePendingMessages.empty());
    EXPECT_FALSE(windowActive) << "activation is handled at once";
    EXPECT_FALSE(helpVisible) << "F1 waits until the room is ready";
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640) << "the size is handled at once";

    WindowMessage kept;
    ASSERT_TRUE(takeKeptMessage(&kept));
    EXPECT_EQ(kept.message, (unsigned)WM_KEYDOWN);
    EXPECT_EQ(kept.wParam, (uintptr_t)VK_F1);
    ASSERT_TRUE(takeKeptMessage(&kept));
    EXPECT_EQ(kept.message, (unsigned)WM_LBUTTONDOWN);
    ASSERT_TRUE(takeKeptMessage(&kept));
    EXPECT_EQ(kept.message, (unsigned)WM_KEYUP);
    EXPECT_FALSE(takeKeptMessage(&kept));
}

TEST_F(WindowAnswering, TheMainLoopHandlesKeptInputBeforeNewMessages) {
    fakePendingMessages = {{WM_KEYDOWN, VK_F1, 0}};
    answerWindowWhileWaiting();
    // The quit waits behind the F1 kept during the wait, which is handled first.
    fakePendingMessages = {{WM_CLOSE, 0, 0}};
    runMainLoop();
    EXPECT_TRUE(helpVisible);
    WindowMessage kept;
    EXPECT_FALSE(takeKeptMessage(&kept));
}

// The child process ends inside answerWindowWhileWaiting; 5 would mean it returned.
TEST_F(WindowAnswering, EscapeTheCloseRequestAndQuitEndTheProcessAtOnce) {
    fakePendingMessages = {{WM_KEYDOWN, VK_LEFT, 0}, {WM_KEYDOWN, VK_ESCAPE, 0}};
    EXPECT_EXIT(
        {
            answerWindowWhileWaiting();
            std::_Exit(5);
        },
        ::testing::ExitedWithCode(0), "");
    fakePendingMessages = {{WM_CLOSE, 0, 0}};
    EXPECT_EXIT(
        {
            answerWindowWhileWaiting();
            std::_Exit(5);
        },
        ::testing::ExitedWithCode(0), "");
    fakePendingMessages = {{WM_QUIT, 7, 0}};
    EXPECT_EXIT(
        {
            answerWindowWhileWaiting();
            std::_Exit(5);
        },
        ::testing::ExitedWithCode(7), "");
}
