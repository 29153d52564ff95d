// picture_check.h -- decoding written pictures back through DevIL and checking the gallery tree.
#pragma once

#include "samples/raster.h"

#include <string>

// Sets DevIL up to deliver pictures top row first.
void initPictureDecoder();
// Loads a picture file with DevIL as 8-bit RGB; false when DevIL cannot read it.
bool decodePicture(const std::string &path, Picture &decoded);
// Mean absolute difference per channel, or -1 when the sizes differ.
double meanDifference(const Picture &a, const Picture &b);
// True for names whose last extension is jpg, jpeg, gif or bmp in any letter case.
bool isPictureName(const std::string &name);
// Walks the gallery under root, decodes every picture and checks that the tree offers what the
// gallery is meant to show; prints each shortfall and returns false if there is any.
bool checkGalleryTree(const std::string &root, long maxTotalBytes);
