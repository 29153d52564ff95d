// fake_ticks.cpp -- the tick count as the tests set it.
#include "fakes/fake_ticks.h"

uint32_t fakeTickCount = 0;

uint32_t getTickCount() {
    return fakeTickCount;
}
