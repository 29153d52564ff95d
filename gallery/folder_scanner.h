// folder_scanner.h -- fills the gallery's picture and folder lists from currentPath.
#pragma once

// Rescans currentPath (or the drive list) into the gallery state. Always true.
bool scanFolder();

// True when the name's last extension, in any letter case, is one of a picture: jpg, jpeg,
// gif and bmp, and the formats phones, cameras and browsers write: png, webp, heic, heif, avif,
// tif and tiff.
bool isPictureFile(const char *name);
