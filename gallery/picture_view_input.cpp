// picture_view_input.cpp -- keys and mouse of the picture view mapped onto its steps, zoom and
// pan.
#include "gallery/picture_view_input.h"

#include "gallery/display_settings.h"
#include "gallery/key_handling.h"
#include "gallery/picture_view.h"

namespace {

bool dragging = false;
int dragX = 0, dragY = 0;

void panByKey(double sharesX, double sharesY) {
    panView(-sharesX * VIEW_PAN_SHARE * screenWidth, -sharesY * VIEW_PAN_SHARE * screenHeight);
}

void actOnViewKey(uint32_t keyCode) {
    const double centreX = screenWidth / 2.0, centreY = screenHeight / 2.0;
    switch (keyCode) {
    case VK_ESCAPE:
    case VK_RETURN:
        closePictureView();
        break;
    case VK_LEFT:
    case VK_RIGHT: {
        int direction = keyCode == VK_LEFT ? -1 : 1;
        // Zoomed in, the arrows look around the picture instead of leaving it.
        if (viewZoomedIn())
            panByKey(direction, 0);
        else
            stepPictureView(direction);
        break;
    }
    case VK_UP:
        panByKey(0, -1);
        break;
    case VK_DOWN:
        panByKey(0, 1);
        break;
    case VK_ADD:
    case VK_OEM_PLUS:
        zoomViewStep(1, centreX, centreY);
        break;
    case VK_SUBTRACT:
    case VK_OEM_MINUS:
        zoomViewStep(-1, centreX, centreY);
        break;
    case '1':
    case VK_NUMPAD1:
        zoomViewTo(1.0, centreX, centreY);
        break;
    case '0':
    case VK_NUMPAD0:
        zoomViewTo(viewFitZoom(), centreX, centreY);
        break;
    case VK_F1:
        pictureView.helpVisible = !pictureView.helpVisible;
        break;
    case VK_F2:
        handleKey(VK_F2, true);
        break;
    default:
        break;
    }
}

} // namespace

void handleViewKey(uint32_t keyCode, bool pressed) {
    if (pressed)
        actOnViewKey(keyCode);
}

void handleViewWheel(int notches, bool control, int x, int y) {
    for (int n = notches; n != 0; n += n > 0 ? -1 : 1) {
        if (control)
            zoomViewStep(n > 0 ? 1 : -1, x, y);
        else
            // Rolling towards the person goes on through the folder, as a page scrolls down.
            stepPictureView(n > 0 ? -1 : 1);
    }
}

void beginViewDrag(int x, int y) {
    dragging = true;
    dragX = x;
    dragY = y;
}

void dragView(int x, int y) {
    if (!dragging)
        return;
    panView(x - dragX, y - dragY);
    dragX = x;
    dragY = y;
}

void endViewDrag() {
    dragging = false;
}
