// ticks.h -- a millisecond clock.
#pragma once
#include <cstdint>

// Milliseconds since the program started; wraps around after 49.7 days.
uint32_t getTickCount();
