// picture_view.cpp -- which picture the view shows, and the zoom and pan that say which part of
// it fills the window.
#include "gallery/picture_view.h"

#include <algorithm>
#include <cstdio>

#include "gallery/display_settings.h"
#include "gallery/gallery_state.h"
#include "gallery/facing_zone.h"
#include "gallery/room_landing.h"

PictureViewState pictureView = {};

namespace {

void forgetPictureSize() {
    pictureView.pictureWidth = pictureView.pictureHeight = 0;
    pictureView.zoom = pictureView.centreX = pictureView.centreY = 0.0;
}

// Keeps one axis of the centre where the picture covers the window on that axis, or centred
// when it is smaller than the window.
double holdCentre(double centre, uint32_t pictureSize, int windowSize, double zoom) {
    double half = windowSize / (2.0 * zoom);
    if (pictureSize * zoom <= windowSize)
        return pictureSize / 2.0;
    return std::clamp(centre, half, pictureSize - half);
}

void holdView() {
    pictureView.centreX =
        holdCentre(pictureView.centreX, pictureView.pictureWidth, screenWidth, pictureView.zoom);
    pictureView.centreY =
        holdCentre(pictureView.centreY, pictureView.pictureHeight, screenHeight, pictureView.zoom);
}

} // namespace

bool openPictureView() {
    uint32_t index;
    if (pictureView.open || !facedPicture(&index))
        return false;
    pictureView = {};
    pictureView.open = true;
    pictureView.index = pictureView.openedAt = index;
    return true;
}

void closePictureView() {
    if (!pictureView.open)
        return;
    pictureView.open = false;
    // Stepped away: stand before the last one shown, in its room.
    if (pictureView.index != pictureView.openedAt && standBeforePicture(pictureView.index)) {
        printf("Loading Room %d...\n", roomNumber);
        fflush(stdout);
    }
}

void stepPictureView(int direction) {
    uint32_t index = pictureView.index;
    if (direction < 0 && index > 0)
        --index;
    else if (direction > 0 && index + 1 < pictureCount)
        ++index;
    if (index == pictureView.index)
        return;
    pictureView.index = index;
    forgetPictureSize();
}

void setViewPictureSize(uint32_t width, uint32_t height) {
    pictureView.pictureWidth = width;
    pictureView.pictureHeight = height;
    pictureView.zoom = viewFitZoom();
    holdView();
}

double viewFitZoom() {
    if (pictureView.pictureWidth == 0 || pictureView.pictureHeight == 0)
        return 0.0;
    return std::min({1.0, (double)screenWidth / pictureView.pictureWidth,
                     (double)screenHeight / pictureView.pictureHeight});
}

bool viewZoomedIn() {
    return pictureView.zoom > viewFitZoom() * 1.0001;
}

void zoomViewTo(double zoom, double x, double y) {
    if (pictureView.zoom <= 0.0)
        return;
    zoom = std::clamp(zoom, viewFitZoom(), MAX_VIEW_ZOOM);
    double dx = x - screenWidth / 2.0, dy = y - screenHeight / 2.0;
    // The picture point under (x, y) stays under it.
    double pointX = pictureView.centreX + dx / pictureView.zoom;
    double pointY = pictureView.centreY + dy / pictureView.zoom;
    pictureView.zoom = zoom;
    pictureView.centreX = pointX - dx / zoom;
    pictureView.centreY = pointY - dy / zoom;
    holdView();
}

void zoomViewStep(int direction, double x, double y) {
    double now = pictureView.zoom;
    double next = direction > 0 ? now * VIEW_ZOOM_STEP : now / VIEW_ZOOM_STEP;
    if ((now < 1.0 && next > 1.0) || (now > 1.0 && next < 1.0))
        next = 1.0;
    zoomViewTo(next, x, y);
}

void panView(double dx, double dy) {
    if (pictureView.zoom <= 0.0)
        return;
    pictureView.centreX -= dx / pictureView.zoom;
    pictureView.centreY -= dy / pictureView.zoom;
    holdView();
}

void viewPictureOrigin(double *left, double *top) {
    *left = screenWidth / 2.0 - pictureView.centreX * pictureView.zoom;
    *top = screenHeight / 2.0 - pictureView.centreY * pictureView.zoom;
}
