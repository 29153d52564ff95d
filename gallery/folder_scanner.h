// folder_scanner.h -- fills the gallery's picture and folder lists from currentPath.
#pragma once

// Rescans currentPath (or the drive list) into the gallery state. Always true.
bool scanFolder();

// True when the name's last extension is jpg, jpeg, gif or bmp in any letter case.
bool isPictureFile(const char *name);
