// thread_priority.h -- letting a background thread yield the processor to the rest.
#pragma once

// Gives the calling thread (only it) the lowest scheduling priority; nothing when the system
// refuses.
void lowerThisThreadPriority();
