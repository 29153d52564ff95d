// drive_list_posix.cpp -- the drive list from the mount table: "/" and the folders on which a
// block device is mounted, in name order (platform/name_order.h) without duplicates.
#include "platform/drive_list.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mntent.h>
#include <sys/stat.h>

#include "platform/name_order.h"

static const char *const SYSTEM_MOUNT_TABLE = "/proc/self/mounts";

// A drive is a folder with a block device mounted on it; a bind-mounted file, a pseudo file
// system or a source that merely lies under /dev/ is not.
static bool isDriveMount(const struct mntent *mount) {
    struct stat source, target;
    return stat(mount->mnt_fsname, &source) == 0 && S_ISBLK(source.st_mode) &&
           stat(mount->mnt_dir, &target) == 0 && S_ISDIR(target.st_mode);
}

// "/" is a prefix of every other mount point, so it always comes first.
static int compareMountPoints(const void *a, const void *b) {
    return compareNames(*static_cast<char *const *>(a), *static_cast<char *const *>(b));
}

// Appends a copy of the mount point, growing the array as needed.
static void addMountPoint(DriveList *list, uint32_t *capacity, const char *mountPoint) {
    if (list->count == *capacity) {
        *capacity = *capacity == 0 ? 16 : *capacity * 2;
        list->mountPoints =
            static_cast<char **>(realloc(list->mountPoints, *capacity * sizeof(char *)));
    }
    list->mountPoints[list->count++] = strdup(mountPoint);
}

// Sorts the list and drops repeated mount points (a folder mounted more than once); the order
// is total, so repeats lie side by side.
static void sortAndDeduplicate(DriveList *list) {
    if (list->count == 0)
        return;
    qsort(list->mountPoints, list->count, sizeof(char *), compareMountPoints);
    uint32_t kept = 1;
    for (uint32_t i = 1; i < list->count; i++) {
        if (strcmp(list->mountPoints[i], list->mountPoints[kept - 1]) == 0)
            free(list->mountPoints[i]);
        else
            list->mountPoints[kept++] = list->mountPoints[i];
    }
    list->count = kept;
}

bool readDriveListFrom(const char *mountTablePath, DriveList *list) {
    list->count = 0;
    list->mountPoints = nullptr;
    FILE *table = setmntent(mountTablePath, "r");
    if (table == nullptr)
        return false;
    uint32_t capacity = 0;
    // The root is always a drive, whatever device (or overlay) backs it.
    addMountPoint(list, &capacity, "/");
    // getmntent already decodes the table's octal escapes ("\040" for a space).
    while (const struct mntent *mount = getmntent(table)) {
        if (isDriveMount(mount))
            addMountPoint(list, &capacity, mount->mnt_dir);
    }
    endmntent(table);
    sortAndDeduplicate(list);
    return true;
}

bool readDriveList(DriveList *list) {
    return readDriveListFrom(SYSTEM_MOUNT_TABLE, list);
}

void freeDriveList(DriveList *list) {
    for (uint32_t i = 0; i < list->count; i++)
        free(list->mountPoints[i]);
    free(list->mountPoints);
    list->count = 0;
    list->mountPoints = nullptr;
}
