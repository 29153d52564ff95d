// picture_view_frame.h -- one frame of the picture view: the picture on black at its zoom and
// position, the line that says what it is, and the view's help.
#pragma once

struct Picture;

constexpr int VIEW_HELP_LINE_COUNT = 10;
extern const char *const viewHelpLines[VIEW_HELP_LINE_COUNT];

struct ViewFrame {
    const Picture *picture; // what to show, or null (not decoded yet, or cannot be shown)
    double left;            // window position of its top left corner, window pixels from the
    double top;             // window's top left
    double scale;           // window pixels per pixel of *picture
    const char *infoLine;   // along the bottom edge
    const char *notice;     // in the middle of the window, or null
    bool help;              // the view's keys over it all
};

// Clears the window to black, draws the frame and presents it. Thread: main only (GL).
void drawPictureViewFrame(const ViewFrame &frame);
