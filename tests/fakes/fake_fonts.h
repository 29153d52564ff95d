// fake_fonts.h -- a scripted font service: fixed per-code advances, failures on demand, and a
// record of every font created and released.
#pragma once
#include <string>
#include <vector>

#include "platform/fonts.h"

struct FakeFontRequest {
    std::string faceName;
    int height;
    int weight;
};

// Every createFont call since the last reset, failed ones included.
extern std::vector<FakeFontRequest> fakeFontRequests;
extern int fakeFontsReleased;

// The ordinal (1 = first) of the createFont call that fails; 0: none fails.
extern int fakeFontCreateFailsAt;
// The code whose outline or bitmap cannot be read; -1: none.
extern int fakeFontOutlineFailsAt;
extern int fakeFontBitmapFailsAt;

// The advances the fake fonts report for a code.
float fakeOutlineAdvance(int code);
int fakeBitmapAdvance(int code);

// Fonts created and not yet released.
int fakeFontsOpen();

void resetFakeFonts();
