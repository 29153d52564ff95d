// event_translation_test.cpp -- SDL's own events, pushed into its queue, as the window messages
// the gallery gets: system keys, keypad twins, key repeat, clicks, minimise and focus loss.
#include <gtest/gtest.h>

#include <SDL.h>
#include <cstdlib>
#include <vector>

#include "platform/events.h"

namespace {

// SDL's dummy video driver gives windows to address events to, with no display at all.
class EventTranslation : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        window = SDL_CreateWindow("events", 0, 0, 64, 64, 0);
        ASSERT_NE(window, nullptr) << SDL_GetError();
    }
    static void TearDownTestSuite() {
        SDL_DestroyWindow(window);
        SDL_Quit();
    }
    void SetUp() override { pollAll(); }

    static void pushKey(Uint32 type, SDL_Keycode key, Uint16 modifiers = 0, Uint8 repeat = 0) {
        SDL_Event event = {};
        event.key.type = type;
        event.key.windowID = SDL_GetWindowID(window);
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = repeat;
        event.key.keysym.sym = key;
        event.key.keysym.mod = modifiers;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }
    static void pushButton(Uint32 type, Uint8 button) {
        SDL_Event event = {};
        event.button.type = type;
        event.button.windowID = SDL_GetWindowID(window);
        event.button.button = button;
        event.button.x = 10;
        event.button.y = 20;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }
    static void pushWindowEvent(Uint8 what) {
        SDL_Event event = {};
        event.window.type = SDL_WINDOWEVENT;
        event.window.windowID = SDL_GetWindowID(window);
        event.window.event = what;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }
    static std::vector<WindowMessage> pollAll() {
        std::vector<WindowMessage> messages;
        WindowMessage message;
        while (pollMessage(&message))
            messages.push_back(message);
        return messages;
    }
    // Message id and virtual-key code of each key message.
    static std::vector<std::pair<unsigned, uintptr_t>> keyMessages() {
        std::vector<std::pair<unsigned, uintptr_t>> keys;
        for (const WindowMessage &message : pollAll())
            keys.push_back({message.message, message.wParam});
        return keys;
    }

    static SDL_Window *window;
};

SDL_Window *EventTranslation::window = nullptr;

using Keys = std::vector<std::pair<unsigned, uintptr_t>>;

} // namespace

TEST_F(EventTranslation, AltCombinationsAndF10AreSystemKeys) {
    pushKey(SDL_KEYDOWN, SDLK_LALT, KMOD_LALT);
    pushKey(SDL_KEYDOWN, SDLK_F1, KMOD_LALT);
    pushKey(SDL_KEYUP, SDLK_F1, KMOD_LALT);
    pushKey(SDL_KEYDOWN, SDLK_RETURN, KMOD_RALT);
    pushKey(SDL_KEYDOWN, SDLK_F10);
    pushKey(SDL_KEYDOWN, SDLK_F1);
    EXPECT_EQ(keyMessages(), (Keys{{WM_SYSKEYDOWN, 18},
                                   {WM_SYSKEYDOWN, 112},
                                   {WM_SYSKEYUP, 112},
                                   {WM_SYSKEYDOWN, 13},
                                   {WM_SYSKEYDOWN, 121},
                                   {WM_KEYDOWN, 112}}));
}

TEST_F(EventTranslation, KeypadArrowsAndEnterActAsTheirTwinsWhileNumLockIsOff) {
    pushKey(SDL_KEYDOWN, SDLK_KP_8);
    pushKey(SDL_KEYDOWN, SDLK_KP_2);
    pushKey(SDL_KEYDOWN, SDLK_KP_4);
    pushKey(SDL_KEYUP, SDLK_KP_6);
    pushKey(SDL_KEYDOWN, SDLK_KP_ENTER);
    pushKey(SDL_KEYDOWN, SDLK_KP_8, KMOD_NUM);
    EXPECT_EQ(keyMessages(), (Keys{{WM_KEYDOWN, 38},
                                   {WM_KEYDOWN, 40},
                                   {WM_KEYDOWN, 37},
                                   {WM_KEYUP, 39},
                                   {WM_KEYDOWN, 13},
                                   {WM_KEYDOWN, 0}}));
}

TEST_F(EventTranslation, EveryRepeatOfAHeldKeyIsAKeyDown) {
    pushKey(SDL_KEYDOWN, SDLK_UP);
    pushKey(SDL_KEYDOWN, SDLK_UP, 0, 1);
    pushKey(SDL_KEYDOWN, SDLK_UP, 0, 1);
    pushKey(SDL_KEYUP, SDLK_UP);
    EXPECT_EQ(keyMessages(),
              (Keys{{WM_KEYDOWN, 38}, {WM_KEYDOWN, 38}, {WM_KEYDOWN, 38}, {WM_KEYUP, 38}}));
}

TEST_F(EventTranslation, LeftPressAndReleaseAndRightPressAreTheirMessages) {
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT);
    pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE);
    std::vector<WindowMessage> messages = pollAll();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].message, WM_LBUTTONDOWN);
    EXPECT_EQ(messages[1].message, WM_LBUTTONUP);
    EXPECT_EQ(messages[2].message, WM_RBUTTONDOWN);
    for (const WindowMessage &message : messages)
        EXPECT_EQ(message.lParam, makeLParam(10, 20));
}

// A notch away from the user is +120 in the high word, Ctrl held sets MK_CONTROL, and a
// flipped wheel (natural scrolling) is turned back.
TEST_F(EventTranslation, WheelNotchesCarryTheirDirectionAndCtrl) {
    auto pushWheel = [](int y, Uint32 direction) {
        SDL_Event event = {};
        event.wheel.type = SDL_MOUSEWHEEL;
        event.wheel.windowID = SDL_GetWindowID(window);
        event.wheel.y = y;
        event.wheel.direction = direction;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    };
    pushWheel(1, SDL_MOUSEWHEEL_NORMAL);
    pushWheel(-2, SDL_MOUSEWHEEL_NORMAL);
    pushWheel(1, SDL_MOUSEWHEEL_FLIPPED);
    std::vector<WindowMessage> messages = pollAll();
    SDL_SetModState(KMOD_LCTRL);
    pushWheel(1, SDL_MOUSEWHEEL_NORMAL);
    std::vector<WindowMessage> withCtrl = pollAll();
    SDL_SetModState(KMOD_NONE);
    ASSERT_EQ(messages.size(), 3u);
    ASSERT_EQ(withCtrl.size(), 1u);
    EXPECT_EQ(messages[0].message, WM_MOUSEWHEEL);
    EXPECT_EQ((int16_t)highWord((intptr_t)messages[0].wParam), 120);
    EXPECT_EQ((int16_t)highWord((intptr_t)messages[1].wParam), -240);
    EXPECT_EQ((int16_t)highWord((intptr_t)messages[2].wParam), -120);
    EXPECT_EQ(messages[0].wParam & MK_CONTROL, 0u);
    EXPECT_EQ((int16_t)highWord((intptr_t)withCtrl[0].wParam), 120);
    EXPECT_EQ(withCtrl[0].wParam & MK_CONTROL, (uintptr_t)MK_CONTROL);
}

// Only a minimised window stops drawing: the high word of WM_ACTIVATE says so.
TEST_F(EventTranslation, MinimisingDeactivatesButLosingTheFocusDoesNot) {
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    pushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    pushWindowEvent(SDL_WINDOWEVENT_RESTORED);
    std::vector<WindowMessage> messages = pollAll();
    ASSERT_EQ(messages.size(), 3u);
    for (const WindowMessage &message : messages)
        EXPECT_EQ(message.message, WM_ACTIVATE);
    EXPECT_EQ(highWord((intptr_t)messages[0].wParam), 0);
    EXPECT_NE(highWord((intptr_t)messages[1].wParam), 0);
    EXPECT_EQ(highWord((intptr_t)messages[2].wParam), 0);
}
