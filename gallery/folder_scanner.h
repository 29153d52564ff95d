// folder_scanner.h -- fills the gallery's picture and folder lists from currentPath.
#pragma once

// Rescans currentPath (or the drive list) into the gallery state. Always true.
bool scanFolder();

// True when the name's last extension, in any letter case, is one of a picture: jpg, jpeg,
// gif and bmp, and the formats phones, cameras and browsers write: png, webp, heic, heif, avif,
// tif and tiff.
bool isPictureFile(const char *name);

// The function called, on the thread that scans, every few hundredths of a second while a folder
// is read (null: none): the program keeps its window answering with it. It may end the program;
// it must not scan. Thread: main only.
void setFolderWaiting(void (*whileWaiting)());
