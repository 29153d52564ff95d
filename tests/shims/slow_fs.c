/* slow_fs.c -- an LD_PRELOAD library that makes one folder behave like slow network storage:
 * every open, stat, folder listing step and read of a file under it waits, the reads of one file
 * can be made to never return, and every such operation is counted.
 *
 * A FUSE file system would be closer to a real mount, but needs /dev/fuse, which containers
 * and CI machines often lack; this needs nothing but the dynamic loader. It sees only the calls
 * the program makes through the C library, which are all the program's own file calls.
 *
 * Settings, from the environment:
 *   SLOW_FS_ROOT      the folder (an absolute, resolved path); nothing else is touched
 *   SLOW_FS_DELAY_MS  the wait per operation (default 50)
 *   SLOW_FS_HANG      the name of a file under the root whose reads never return
 *   SLOW_FS_NO_DTYPE  when set, listings give no entry types (DT_UNKNOWN), as some mounts do
 *   SLOW_FS_COUNTS    a file that receives the counts (eight 64-bit numbers, native order:
 *                     opens, stats, reads, folder opens, listing steps, bytes read, the waits
 *                     of all these made on the process's main thread, 0) as they happen, so
 *                     they survive any way the process ends */
#define _GNU_SOURCE
#include <dirent.h>
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

enum { COUNT_OPEN, COUNT_STAT, COUNT_READ, COUNT_OPENDIR, COUNT_READDIR, COUNT_BYTES, COUNT_MAIN };

#define MAX_FDS 65536
#define ENTRIES_PER_STEP 64

static char root[PATH_MAX];
static size_t rootLength;
static long delayMs = 50;
static const char *hangName;
static int noEntryTypes;
static uint64_t *counts;
static uint64_t localCounts[8];
/* Per descriptor: 0 not ours, 1 under the root, 2 the file that hangs. */
static unsigned char fdKind[MAX_FDS];
static unsigned fdEntries[MAX_FDS];

static void count(int which, uint64_t amount) {
    __atomic_fetch_add(&counts[which], amount, __ATOMIC_RELAXED);
}

static void pause_a_while(void) {
    /* The main thread answers the window: every wait it makes there is counted apart. */
    if (gettid() == getpid())
        count(COUNT_MAIN, 1);
    struct timespec wait = {delayMs / 1000, (delayMs % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
}

static void never_return(void) {
    for (;;)
        sleep(1000);
}

__attribute__((constructor)) static void setUp(void) {
    counts = localCounts;
    const char *given = getenv("SLOW_FS_ROOT");
    if (given == NULL || strlen(given) >= sizeof root)
        return;
    strcpy(root, given);
    rootLength = strlen(root);
    while (rootLength > 1 && root[rootLength - 1] == '/')
        root[--rootLength] = '\0';
    const char *delay = getenv("SLOW_FS_DELAY_MS");
    if (delay != NULL)
        delayMs = atol(delay);
    hangName = getenv("SLOW_FS_HANG");
    noEntryTypes = getenv("SLOW_FS_NO_DTYPE") != NULL;
    const char *countFile = getenv("SLOW_FS_COUNTS");
    if (countFile != NULL) {
        int (*realOpen)(const char *, int, ...) = dlsym(RTLD_NEXT, "open");
        int fd = realOpen(countFile, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd >= 0 && ftruncate(fd, sizeof localCounts) == 0) {
            void *shared =
                mmap(NULL, sizeof localCounts, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
            if (shared != MAP_FAILED)
                counts = shared;
        }
        if (fd >= 0)
            close(fd);
    }
}

/* 0 for a path outside the root, 1 inside, 2 for the file that hangs. Relative paths are taken
 * from the current folder. */
static int pathKind(int dirFd, const char *path) {
    if (rootLength == 0 || path == NULL)
        return 0;
    char full[PATH_MAX * 2];
    if (path[0] == '/') {
        snprintf(full, sizeof full, "%s", path);
    } else if (dirFd != AT_FDCWD && dirFd >= 0 && dirFd < MAX_FDS && fdKind[dirFd] != 0) {
        return hangName != NULL && strcmp(path, hangName) == 0 ? 2 : 1;
    } else {
        char here[PATH_MAX];
        if (getcwd(here, sizeof here) == NULL)
            return 0;
        snprintf(full, sizeof full, "%s/%s", here, path);
    }
    if (strncmp(full, root, rootLength) != 0 ||
        (full[rootLength] != '/' && full[rootLength] != '\0'))
        return 0;
    if (hangName != NULL) {
        const char *base = strrchr(full, '/');
        if (base != NULL && strcmp(base + 1, hangName) == 0)
            return 2;
    }
    return 1;
}

static int fdOurs(int fd) {
    return fd >= 0 && fd < MAX_FDS ? fdKind[fd] : 0;
}

static void remember(int fd, int kind) {
    if (fd >= 0 && fd < MAX_FDS) {
        fdKind[fd] = (unsigned char)kind;
        fdEntries[fd] = 0;
    }
}

#define REAL(name)                                                                                 \
    static __typeof__(name) *real_##name;                                                          \
    if (real_##name == NULL)                                                                       \
    real_##name = (__typeof__(name) *)dlsym(RTLD_NEXT, #name)

static int openedSlowly(int dirFd, const char *path, int fd) {
    (void)fd;
    int kind = pathKind(dirFd, path);
    if (kind != 0) {
        count(COUNT_OPEN, 1);
        pause_a_while();
    }
    return kind;
}

static mode_t modeOf(int flags, va_list args) {
    return (flags & (O_CREAT | O_TMPFILE)) ? (mode_t)va_arg(args, int) : 0;
}

int open(const char *path, int flags, ...) {
    REAL(open);
    va_list args;
    va_start(args, flags);
    mode_t mode = modeOf(flags, args);
    va_end(args);
    int kind = openedSlowly(AT_FDCWD, path, -1);
    int fd = real_open(path, flags, mode);
    remember(fd, kind);
    return fd;
}

int open64(const char *path, int flags, ...) {
    REAL(open64);
    va_list args;
    va_start(args, flags);
    mode_t mode = modeOf(flags, args);
    va_end(args);
    int kind = openedSlowly(AT_FDCWD, path, -1);
    int fd = real_open64(path, flags, mode);
    remember(fd, kind);
    return fd;
}

int openat(int dirFd, const char *path, int flags, ...) {
    REAL(openat);
    va_list args;
    va_start(args, flags);
    mode_t mode = modeOf(flags, args);
    va_end(args);
    int kind = openedSlowly(dirFd, path, -1);
    int fd = real_openat(dirFd, path, flags, mode);
    remember(fd, kind);
    return fd;
}

int openat64(int dirFd, const char *path, int flags, ...) {
    REAL(openat64);
    va_list args;
    va_start(args, flags);
    mode_t mode = modeOf(flags, args);
    va_end(args);
    int kind = openedSlowly(dirFd, path, -1);
    int fd = real_openat64(dirFd, path, flags, mode);
    remember(fd, kind);
    return fd;
}

int close(int fd) {
    REAL(close);
    remember(fd, 0);
    return real_close(fd);
}

static void statSlowly(int kind) {
    if (kind != 0) {
        count(COUNT_STAT, 1);
        pause_a_while();
    }
}

int stat(const char *path, struct stat *info) {
    REAL(stat);
    statSlowly(pathKind(AT_FDCWD, path));
    return real_stat(path, info);
}

int stat64(const char *path, struct stat64 *info) {
    REAL(stat64);
    statSlowly(pathKind(AT_FDCWD, path));
    return real_stat64(path, info);
}

int lstat(const char *path, struct stat *info) {
    REAL(lstat);
    statSlowly(pathKind(AT_FDCWD, path));
    return real_lstat(path, info);
}

int lstat64(const char *path, struct stat64 *info) {
    REAL(lstat64);
    statSlowly(pathKind(AT_FDCWD, path));
    return real_lstat64(path, info);
}

int fstat(int fd, struct stat *info) {
    REAL(fstat);
    statSlowly(fdOurs(fd));
    return real_fstat(fd, info);
}

int fstat64(int fd, struct stat64 *info) {
    REAL(fstat64);
    statSlowly(fdOurs(fd));
    return real_fstat64(fd, info);
}

int fstatat(int dirFd, const char *path, struct stat *info, int flags) {
    REAL(fstatat);
    statSlowly(pathKind(dirFd, path));
    return real_fstatat(dirFd, path, info, flags);
}

int fstatat64(int dirFd, const char *path, struct stat64 *info, int flags) {
    REAL(fstatat64);
    statSlowly(pathKind(dirFd, path));
    return real_fstatat64(dirFd, path, info, flags);
}

int statx(int dirFd, const char *path, int flags, unsigned mask, struct statx *info) {
    REAL(statx);
    statSlowly(path[0] == 0 ? fdOurs(dirFd) : pathKind(dirFd, path));
    return real_statx(dirFd, path, flags, mask, info);
}

static void readSlowly(int fd) {
    int kind = fdOurs(fd);
    if (kind == 0)
        return;
    count(COUNT_READ, 1);
    if (kind == 2)
        never_return();
    pause_a_while();
}

ssize_t read(int fd, void *buffer, size_t size) {
    REAL(read);
    readSlowly(fd);
    ssize_t n = real_read(fd, buffer, size);
    if (n > 0 && fdOurs(fd))
        count(COUNT_BYTES, (uint64_t)n);
    return n;
}

ssize_t pread(int fd, void *buffer, size_t size, off_t offset) {
    REAL(pread);
    readSlowly(fd);
    ssize_t n = real_pread(fd, buffer, size, offset);
    if (n > 0 && fdOurs(fd))
        count(COUNT_BYTES, (uint64_t)n);
    return n;
}

DIR *opendir(const char *path) {
    REAL(opendir);
    int kind = pathKind(AT_FDCWD, path);
    if (kind != 0) {
        count(COUNT_OPENDIR, 1);
        pause_a_while();
    }
    DIR *dir = real_opendir(path);
    if (dir != NULL)
        remember(dirfd(dir), kind);
    return dir;
}

int closedir(DIR *dir) {
    REAL(closedir);
    remember(dirfd(dir), 0);
    return real_closedir(dir);
}

/* A listing is fetched some entries at a time: one wait per step. */
static void listSlowly(DIR *dir, struct dirent *entry) {
    int fd = dirfd(dir);
    if (!fdOurs(fd))
        return;
    if (fdEntries[fd]++ % ENTRIES_PER_STEP == 0) {
        count(COUNT_READDIR, 1);
        pause_a_while();
    }
    if (entry != NULL && noEntryTypes)
        entry->d_type = DT_UNKNOWN;
}

struct dirent *readdir(DIR *dir) {
    REAL(readdir);
    struct dirent *entry = real_readdir(dir);
    listSlowly(dir, entry);
    return entry;
}

struct dirent64 *readdir64(DIR *dir) {
    REAL(readdir64);
    struct dirent64 *entry = real_readdir64(dir);
    listSlowly(dir, (struct dirent *)entry);
    return entry;
}
