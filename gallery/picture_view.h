// picture_view.h -- the full-size look at one picture of the folder: which one, how far it is
// zoomed and which part is in the window, and the view's own help. The gallery stays as it was
// underneath until the view closes. Module-level state; thread: main only.
#pragma once
#include <cstdint>

struct PictureViewState {
    bool open;
    uint32_t index;    // the picture shown, into pictureNames
    uint32_t openedAt; // the picture the view was opened on
    bool helpVisible;
    // The shown picture's own size, upright; 0 until it is known.
    uint32_t pictureWidth;
    uint32_t pictureHeight;
    // Window pixels per picture pixel; 0 until the picture's size is known, then at least
    // viewFitZoom() and at most MAX_VIEW_ZOOM.
    double zoom;
    // The picture point (in its own pixels) at the window's centre.
    double centreX;
    double centreY;
};

extern PictureViewState pictureView;

constexpr double MAX_VIEW_ZOOM = 4.0;
// Each step of + and - and each notch of Ctrl+wheel.
constexpr double VIEW_ZOOM_STEP = 1.25;

// Opens the view on the picture whose caption the viewer faces; false, with nothing changed,
// when no picture's caption shows.
bool openPictureView();

// Closes the view, leaving the viewer before the picture last shown, facing it, in its room
// (the room is loaded anew when that is another one: "Loading Room %d..." is printed).
void closePictureView();

// Shows the previous (-1) or next (+1) picture of the folder; nothing past either end.
void stepPictureView(int direction);

// The shown picture's own size has become known: it is shown whole, fitted to the window.
void setViewPictureSize(uint32_t width, uint32_t height);

// The zoom at which the whole picture fits the window (never above 1: a small picture is not
// enlarged to fit); 0 while the size is unknown.
double viewFitZoom();

// True when zoomed in beyond the fitted size.
bool viewZoomedIn();

// Zooms to zoom (held within fit and MAX_VIEW_ZOOM), keeping the picture point under the window
// point (x, y) (window pixels from the top left) where it is.
void zoomViewTo(double zoom, double x, double y);

// One zoom step in (+1) or out (-1) about the window point (x, y). Stepping across 100 % stops
// there, so the picture's own size is always one step away.
void zoomViewStep(int direction, double x, double y);

// Moves the picture by (dx, dy) window pixels, as far as it goes: a side larger than the window
// keeps the window covered, a smaller one stays centred.
void panView(double dx, double dy);

// The window position of the shown picture's top left corner, in window pixels from the top
// left, at the current zoom.
void viewPictureOrigin(double *left, double *top);
