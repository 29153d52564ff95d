// picture_view_screen.cpp -- ties the picture view's state to its decoder and its frame: which
// pictures to have ready, which one to draw and at what scale, and what the line below says.
#include "app/picture_view_screen.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "gallery/display_settings.h"
#include "gallery/gallery_state.h"
#include "gallery/picture_view.h"
#include "gallery/room_pictures.h"
#include "gallery/text_limits.h"
#include "loading/view_pictures.h"
#include "platform/cursor.h"
#include "render/picture_view_frame.h"

namespace {

ViewPictures *viewPictures = nullptr;
bool screenShown = false;
bool cursorRaised = false;
// The picture whose failure was last reported, so a failure is reported once per visit.
long reportedFailure = -1;

// The picture whose empty frame (before it is decoded) is on the screen, or -1.
long shownBlank = -1;
// How long a frame waits for the decoder once the empty frame shows.
constexpr std::chrono::milliseconds BLANK_FRAME_WAIT(15);

const char *const CANNOT_BE_SHOWN = "This picture cannot be shown";

// The pictures to have ready, most urgent first: the one shown, at its own size too while
// zoomed in, then the next and the previous, so stepping either way finds it decoded.
void wishPictures() {
    std::vector<ViewPictureWish> wishes;
    const uint32_t index = pictureView.index;
    wishes.push_back({folderPicturePath(index), SIZE_WINDOW});
    if (viewZoomedIn())
        wishes.push_back({folderPicturePath(index), SIZE_FULL});
    if (index + 1 < pictureCount)
        wishes.push_back({folderPicturePath(index + 1), SIZE_WINDOW});
    if (index > 0)
        wishes.push_back({folderPicturePath(index - 1), SIZE_WINDOW});
    viewPictures->wish(wishes, (uint32_t)screenWidth, (uint32_t)screenHeight);
}

void closeScreen() {
    screenShown = false;
    if (viewPictures != nullptr)
        viewPictures->wish({}, (uint32_t)screenWidth, (uint32_t)screenHeight);
    if (cursorRaised)
        showCursor(false);
    cursorRaised = false;
    // The mouse steers again from the window's centre, without a jump.
    centrePointer();
}

} // namespace

void setViewPictures(ViewPictures *pictures) {
    viewPictures = pictures;
}

bool openPictureViewScreen() {
    if (viewPictures == nullptr || !openPictureView())
        return false;
    screenShown = true;
    reportedFailure = -1;
    // The pointer is wanted for zooming about it and for dragging.
    cursorRaised = fullscreen || mouseNavigation;
    if (cursorRaised)
        showCursor(true);
    wishPictures();
    return true;
}

void afterPictureViewInput() {
    if (screenShown && !pictureView.open)
        closeScreen();
    else if (screenShown)
        wishPictures(); // a step or a zoom: the decoder starts on it before the next frame
}

void formatViewInfoLine(char *text, size_t size, const char *name, unsigned n, unsigned count,
                        unsigned width, unsigned height, const char *dateTaken, double zoom) {
    int used = snprintf(text, size, "%s    %u of %u", name, n, count);
    if (width > 0 && height > 0 && used >= 0 && (size_t)used < size)
        used += snprintf(text + used, size - used, "    %u x %u", width, height);
    // "YYYY:MM:DD HH:MM:SS" shown as "YYYY-MM-DD HH:MM".
    if (dateTaken[0] != '\0' && used >= 0 && (size_t)used < size)
        used += snprintf(text + used, size - used, "    %.4s-%.2s-%.2s %.5s", dateTaken,
                         dateTaken + 5, dateTaken + 8, dateTaken + 11);
    if (zoom > 0.0 && used >= 0 && (size_t)used < size)
        snprintf(text + used, size - used, "    %d %%", (int)std::lround(zoom * 100.0));
}

void drawPictureViewScreen() {
    if (viewPictures == nullptr || !pictureView.open)
        return;
    wishPictures();
    const uint32_t index = pictureView.index;
    const std::string path = folderPicturePath(index);
    std::shared_ptr<const ViewPicture> shown = viewPictures->find(path, SIZE_WINDOW);
    // Nothing to show yet: rather than drawing the same empty frame again and again on a core
    // the decoder needs, wait a little for it (the window is answered again in a moment).
    if (shown == nullptr && shownBlank == index &&
        viewPictures->waitFor(path, SIZE_WINDOW, BLANK_FRAME_WAIT))
        shown = viewPictures->find(path, SIZE_WINDOW);
    shownBlank = shown == nullptr ? (long)index : -1;
    std::shared_ptr<const ViewPicture> full; // held while its pixels are drawn

    ViewFrame frame = {};
    frame.help = pictureView.helpVisible;
    const char *dateTaken = "";
    if (shown != nullptr && shown->result == PICTURE_DECODED) {
        const Picture &fitted = shown->picture;
        if (pictureView.zoom <= 0.0)
            setViewPictureSize(fitted.originalWidth, fitted.originalHeight);
        dateTaken = shown->dateTaken;
        if (!viewZoomedIn()) {
            // Fitted: pixel for pixel, centred.
            frame.picture = &fitted;
            frame.scale = 1.0;
            frame.left = (screenWidth - (int)fitted.width) / 2;
            frame.top = (screenHeight - (int)fitted.height) / 2;
        } else {
            // Zoomed in: the picture at its own size once it is there, the fitted one
            // magnified until then.
            full = viewPictures->find(path, SIZE_FULL);
            const Picture &source =
                full != nullptr && full->result == PICTURE_DECODED ? full->picture : fitted;
            frame.picture = &source;
            frame.scale = pictureView.zoom * fitted.originalWidth / source.width;
            viewPictureOrigin(&frame.left, &frame.top);
        }
    } else if (shown != nullptr) {
        frame.notice = CANNOT_BE_SHOWN;
        if (reportedFailure != (long)index) {
            fprintf(stderr, "ERROR: Unable to load %s\n", path.c_str());
            reportedFailure = (long)index;
        }
    }

    char info[CAPTION_BUFFER_SIZE + 96];
    formatViewInfoLine(info, sizeof info, pictureNames[index], index + 1, pictureCount,
                       pictureView.pictureWidth, pictureView.pictureHeight, dateTaken,
                       pictureView.zoom);
    frame.infoLine = info;
    drawPictureViewFrame(frame);
}
