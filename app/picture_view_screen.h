// picture_view_screen.h -- the picture view as the window shows it: opened from the gallery,
// its pictures wished from the view's decoder, drawn each frame, and closed back into the
// gallery. Thread: main only.
#pragma once
#include <cstddef>

class ViewPictures;

// The decoder the view uses while the gallery is open; null when there is none.
void setViewPictures(ViewPictures *pictures);

// Opens the view on the picture whose caption shows; false when none does.
bool openPictureViewScreen();

// After the view's own keys or mouse: when they closed it, the gallery takes the window back;
// otherwise the decoder is told at once what the view now needs.
void afterPictureViewInput();

// Draws one frame of the open view.
void drawPictureViewScreen();

// The line along the bottom of the view for picture n (1-based) of count, of the given own
// size (0 when not known yet), taken at dateTaken ("YYYY:MM:DD HH:MM:SS" or empty), at zoom.
void formatViewInfoLine(char *text, size_t size, const char *name, unsigned n, unsigned count,
                        unsigned width, unsigned height, const char *dateTaken, double zoom);
