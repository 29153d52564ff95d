// ticks_win32.cpp -- the millisecond clock from GetTickCount.
#include "platform/ticks.h"

#include <windows.h>

static const DWORD programStart = GetTickCount();

uint32_t getTickCount() {
    return (uint32_t)(GetTickCount() - programStart);
}
