// key_handling.cpp -- the gallery's keyboard control: walking, turning, looking up and down,
// the wall stops, doors, help, fullscreen and quit.
#include "gallery/key_handling.h"

#include <cmath>

#include "gallery/display_settings.h"
#include "gallery/door_action.h"
#include "gallery/gallery_state.h"
#include "gallery/view_angles.h"
#include "platform/events.h"
#include "platform/keyboard.h"

namespace {

void (*fullscreenToggle)() = nullptr;

// Letter keys arrive as the codes of the capitals, whatever Caps Lock says.
constexpr uint32_t VK_A = 65;
constexpr uint32_t VK_D = 68;
constexpr uint32_t VK_S = 83;
constexpr uint32_t VK_W = 87;

constexpr float STEP_LENGTH = 0.5f;
constexpr float TURN_STEP = 2.0f;
constexpr float PITCH_STEP = 1.0f;
// Deliberately not pi/180: headings are converted with this rounded factor.
constexpr float DEGREES_TO_RADIANS = 0.01745f;

// Sine and cosine of the heading, rounded to single precision.
void headingDirection(float *sine, float *cosine) {
    float r = viewHeading * DEGREES_TO_RADIANS;
    *sine = static_cast<float>(std::sin(static_cast<double>(r)));
    *cosine = static_cast<float>(std::cos(static_cast<double>(r)));
}

void walk(float direction) {
    float sine, cosine;
    headingDirection(&sine, &cosine);
    viewX += direction * STEP_LENGTH * sine;
    viewZ += direction * STEP_LENGTH * cosine;
}

// direction +1 steps left (toward the picture wall when facing down the room), -1 right.
void sideStep(float direction) {
    float sine, cosine;
    headingDirection(&sine, &cosine);
    viewX += direction * STEP_LENGTH * cosine;
    viewZ -= direction * STEP_LENGTH * sine;
}

void turnLeft() {
    viewHeading += TURN_STEP;
    if (viewHeading > 360.0f)
        viewHeading = 2.0f;
}

void turnRight() {
    viewHeading -= TURN_STEP;
    if (viewHeading < 0.0f)
        viewHeading = 358.0f;
}

// With the smooth mouse the keys keep its tilt limits too, so the view never turns over.
void raisePitch() {
    if (smoothMouse) {
        viewPitch = tiltWithinLimits(viewPitch, PITCH_STEP);
        return;
    }
    viewPitch += PITCH_STEP;
    if (viewPitch > 360.0f)
        viewPitch = 1.0f;
}

void lowerPitch() {
    if (smoothMouse) {
        viewPitch = tiltWithinLimits(viewPitch, -PITCH_STEP);
        return;
    }
    viewPitch -= PITCH_STEP;
    if (viewPitch < 0.0f)
        viewPitch = 359.0f;
}

// Keeps the eye inside the room. A step that would cross a stop ends exactly on it, which the
// end-door tests rely on.
void applyStops() {
    if (viewX < -lateralLimit)
        viewX = -lateralLimit;
    else if (viewX > lateralLimit)
        viewX = lateralLimit;
    float limit = zLimit();
    if (viewZ < -limit)
        viewZ = -limit;
    else if (viewZ > limit)
        viewZ = limit;
}

// Acts on one pressed key; true when the key asks the program to end.
bool actOnKey(uint32_t keyCode, bool shift) {
    switch (keyCode) {
    case VK_RETURN:
    case VK_SPACE:
        openFacingDoor();
        break;
    case VK_ESCAPE:
        return true;
    case VK_LEFT:
        if (shift)
            sideStep(1.0f);
        else
            turnLeft();
        break;
    case VK_RIGHT:
        if (shift)
            sideStep(-1.0f);
        else
            turnRight();
        break;
    case VK_UP:
    case VK_W:
        if (shift)
            raisePitch();
        else
            walk(1.0f);
        break;
    case VK_DOWN:
    case VK_S:
        if (shift)
            lowerPitch();
        else
            walk(-1.0f);
        break;
    case VK_A:
        sideStep(1.0f);
        break;
    case VK_D:
        sideStep(-1.0f);
        break;
    case VK_F1:
        helpVisible = !helpVisible;
        break;
    case VK_F2:
        if (fullscreenToggle != nullptr)
            fullscreenToggle();
        break;
    default:
        break;
    }
    return false;
}

} // namespace

void setFullscreenToggle(void (*toggle)()) {
    fullscreenToggle = toggle;
}

void handleKey(uint32_t keyCode, bool pressed) {
    bool shift = isShiftDown();
    bool quit = false;
    if (pressed)
        quit = actOnKey(keyCode, shift);
    applyStops();
    if (quit)
        postQuitMessage(0);
}
