// picture_view_frame.cpp -- the picture view drawn with pixel rectangles: only the part of the
// picture inside the window is sent, magnified or shrunk by the pixel zoom.
#include "render/picture_view_frame.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>

#include "gallery/display_settings.h"
#include "pictures/picture.h"
#include "platform/this_thread.h"
#include "platform/window.h"
#include "render/screen_space.h"
#include "render/text.h"

const char *const viewHelpLines[VIEW_HELP_LINE_COUNT] = {
    "Picture view :-",
    "     F1 -- Toggle this screen",
    "     F2 -- Toggle fullscreen",
    "     Esc/Enter/Right click -- Back to the gallery",
    "     Left/Right/Wheel -- Previous/next picture",
    "     +/-, Ctrl + Wheel -- Zoom in/out",
    "     1 -- Actual size (100 %)",
    "     0 -- Fit to window",
    "     Arrows/Drag -- Move a zoomed-in picture",
    "     (zoomed in, Left/Right move it instead of changing picture)",
};

namespace {

// Height of the dark band the information line sits on.
constexpr int INFO_BAND_HEIGHT = 24;

// The visible part of the picture, drawn from its top left visible pixel downwards: GL's window
// rows run bottom-up, so the rows are laid with a negative vertical zoom.
void drawPicturePixels(const Picture &picture, double left, double top, double scale) {
    double right = left + picture.width * scale, bottom = top + picture.height * scale;
    if (right <= 0 || bottom <= 0 || left >= screenWidth || top >= screenHeight)
        return;
    // First and last picture columns and rows that reach into the window.
    long firstColumn = std::max(0L, (long)std::floor(-left / scale));
    long firstRow = std::max(0L, (long)std::floor(-top / scale));
    long endColumn = std::min((long)picture.width, (long)std::ceil((screenWidth - left) / scale));
    long endRow = std::min((long)picture.height, (long)std::ceil((screenHeight - top) / scale));
    if (endColumn <= firstColumn || endRow <= firstRow)
        return;

    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, (GLint)picture.width);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, (GLint)firstColumn);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, (GLint)firstRow);
    // The raster position may lie left of or above the window: set it at a valid point, then
    // move it by an empty bitmap's offset, which keeps it valid.
    double x = left + firstColumn * scale;
    double y = screenHeight - (top + firstRow * scale);
    glRasterPos2i(0, 0);
    glBitmap(0, 0, 0.0f, 0.0f, (GLfloat)x, (GLfloat)y, nullptr);
    glPixelZoom((GLfloat)scale, (GLfloat)-scale);
    glDrawPixels((GLsizei)(endColumn - firstColumn), (GLsizei)(endRow - firstRow), GL_RGBA,
                 GL_UNSIGNED_BYTE, picture.pixels.data());
    glPixelZoom(1.0f, 1.0f);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
}

void drawInfoBand(const char *text) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.0f, 0.0f, 0.0f, 0.6f);
    glRecti(0, 0, screenWidth, INFO_BAND_HEIGHT);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    drawScreenText(screenWidth / 2, 7, ALIGN_CENTER, screenWidth - 20, "%s", text);
    glDisable(GL_BLEND);
}

void drawViewHelp() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.0f, 0.0f, 0.0f, 0.6f);
    glRecti(0, screenHeight - 30 - 20 * VIEW_HELP_LINE_COUNT, screenWidth, screenHeight);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    for (int k = 0; k < VIEW_HELP_LINE_COUNT; ++k)
        drawScreenText(5, screenHeight - 20 - 20 * k, ALIGN_LEFT, screenWidth - 10, "%s",
                       viewHelpLines[k]);
    glDisable(GL_BLEND);
}

} // namespace

void drawPictureViewFrame(const ViewFrame &frame) {
    REQUIRE_MAIN_THREAD();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    beginScreenSpace(false);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_FOG);
    // A picture with transparent parts is laid over the black.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (frame.picture != nullptr && !frame.picture->pixels.empty())
        drawPicturePixels(*frame.picture, frame.left, frame.top, frame.scale);
    glDisable(GL_BLEND);
    if (frame.notice != nullptr) {
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        drawScreenText(screenWidth / 2, screenHeight / 2, ALIGN_CENTER, screenWidth - 20, "%s",
                       frame.notice);
    }
    if (frame.infoLine != nullptr)
        drawInfoBand(frame.infoLine);
    if (frame.help)
        drawViewHelp();
    glPopAttrib();
    endScreenSpace();
    swapWindowBuffers();
}
