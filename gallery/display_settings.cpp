// display_settings.cpp -- the display settings and their initial values.
#include "gallery/display_settings.h"

const Resolution resolutionTable[RESOLUTION_COUNT] = {{640, 480}, {800, 600}, {1024, 768}};

int32_t screenWidth = 800;
int32_t screenHeight = 600;
bool fullscreen = false;
int32_t antialiasLevel = ANTIALIAS_HIGH;
bool mouseNavigation = true;
bool smoothMouse = false;

void resetDisplaySettings() {
    screenWidth = 800;
    screenHeight = 600;
    fullscreen = false;
    antialiasLevel = ANTIALIAS_HIGH;
    mouseNavigation = true;
    smoothMouse = false;
}
