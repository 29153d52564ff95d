// fake_ticks.h -- a clock the tests set.
#pragma once
#include "platform/ticks.h"

// What getTickCount reports.
extern uint32_t fakeTickCount;
