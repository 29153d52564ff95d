// facing_captions.h -- the name of the picture or door the viewer stands before and faces,
// faded in over the middle of the screen.
#pragma once
#include <cstddef>

// Decides the caption for the viewer's place and heading: writes its text (cut to size) and its
// opacity, 0 to 1. False when nothing is to be shown.
bool chooseFacingCaption(char *text, size_t size, float *alpha);

// Draws the current caption, if any. Needs blending on with (SRC_ALPHA, ONE_MINUS_SRC_ALPHA).
void drawFacingCaption();
