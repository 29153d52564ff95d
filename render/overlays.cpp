// overlays.cpp -- the loading screen with its progress bar, and the help overlay with its
// frames-per-second counter.
#include "render/overlays.h"

#include <GL/gl.h>
#include <cmath>

#include "gallery/display_settings.h"
#include "render/texture_names.h"
#include "platform/ticks.h"
#include "platform/window.h"
#include "render/screen_space.h"
#include "render/text.h"

const char *const helpLines[HELP_LINE_COUNT] = {
    "Controls :-",
    "     F1 -- Toggle this screen",
    "     F2 -- Toggle fullscreen",
    "     Esc -- Exit",
    "     Up/W/w -- Move forward",
    "     Down/S/s' -- Move backward",
    "     Left -- Turn left",
    "     Right -- Turn right",
    "     Shift + Up -- Look down",
    "     Shift + Down -- Look up",
    "     Shift + Left/A/a -- Step left",
    "     Shift + Right/D/d -- Step right",
    "     Space/Enter -- Open Door",
    "",
    "About Quillmere :-",
    "     Send comments and feedback through the project's issue tracker",
    "     See README.md for more details about Quillmere",
    "",
    "Thanks to...",
    "     The OpenGL Programming Guide (the Red Book)",
    "     The OpenGL SuperBible",
    "     Developer Image Library (DevIL)",
    "     Space/Enter at a picture -- View it full size (F1 there for its keys)",
};

uint32_t framesCounted = 0;
uint32_t lastFpsTick = 0;
uint32_t framesPerSecond = 0;

namespace {

// One textured quad along the bar from x = 10, the texture repeating every bar height.
void drawBarQuad(int texture, int width, int bottom, int top) {
    float repeats = (float)width / (float)progressBarHeight;
    glBindTexture(GL_TEXTURE_2D, textureNames[texture]);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2i(10, bottom);
    glTexCoord2f(repeats, 0.0f);
    glVertex2i(10 + width, bottom);
    glTexCoord2f(repeats, 1.0f);
    glVertex2i(10 + width, top);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2i(10, top);
    glEnd();
}

} // namespace

bool drawProgressScreen(const char *message, int percent) {
    int bottom = screenHeight / 2 - progressBarHeight / 2;
    int top = screenHeight / 2 + progressBarHeight / 2;
    int trackWidth = screenWidth - 20;
    if (percent < 0)
        percent = 0;
    if (percent > 100)
        percent = 100;
    // The single-precision 0.01 makes the fill a pixel short of the exact share at times.
    int filledWidth = (int)std::floor(percent * (double)0.01f * trackWidth);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    beginScreenSpace(true);

    drawScreenText(screenWidth / 2, top + 16, ALIGN_CENTER, screenWidth - 20, "%s", message);
    drawBarQuad(TEX_PROGRESS_TRACK, trackWidth, bottom, top);
    drawBarQuad(TEX_PROGRESS_FILL, filledWidth, bottom, top);

    endScreenSpace();

    // Loading runs inside one frame, so the screen presents itself.
    swapWindowBuffers();
    return true;
}

bool drawHelpOverlay() {
    for (int k = 0; k < HELP_LINE_COUNT; ++k)
        drawScreenText(5, screenHeight - 20 - 20 * k, ALIGN_LEFT, screenWidth - 10, "%s",
                       helpLines[k]);

    // Unsigned difference, so the tick counter's wrap-around does no harm.
    framesCounted++;
    uint32_t now = getTickCount();
    if (now - lastFpsTick >= 1000) {
        framesPerSecond = framesCounted;
        framesCounted = 0;
        lastFpsTick = now;
    }
    drawScreenText(screenWidth - 70, screenHeight - 20, ALIGN_LEFT, 70, "%d FPS",
                   (int)framesPerSecond);
    return true;
}
