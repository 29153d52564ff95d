// thread_priority_posix.cpp -- a thread's own nice value: Linux schedules threads by their task id.
#include "platform/thread_priority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

void lowerThisThreadPriority() {
    setpriority(PRIO_PROCESS, (id_t)syscall(SYS_gettid), 19);
}
