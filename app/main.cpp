// main.cpp -- program entry: scan the start folder.
#include "gallery/folder_scanner.h"

int main() {
    scanFolder();
    return 0;
}
