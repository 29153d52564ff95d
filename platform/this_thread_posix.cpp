// this_thread_posix.cpp -- thread names and nice values by task id: Linux schedules threads,
// not processes, and the first thread's task id is the process id.
#include "platform/this_thread.h"

#include <pthread.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

void nameThisThread(const char *name) {
    char shortName[16];
    int i = 0;
    for (; i < 15 && name[i] != '\0'; ++i)
        shortName[i] = name[i];
    shortName[i] = '\0';
    pthread_setname_np(pthread_self(), shortName);
}

void lowerThisThreadPriority() {
    setpriority(PRIO_PROCESS, (id_t)syscall(SYS_gettid), 19);
}

bool onMainThread() {
    return syscall(SYS_gettid) == getpid();
}
