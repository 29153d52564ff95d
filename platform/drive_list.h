// drive_list.h -- the machine's drives: the mount points of block devices, "/" first.
#pragma once
#include <cstdint>

struct DriveList {
    uint32_t count;
    char **mountPoints; // count entries, in name order (platform/name_order.h), no duplicates
};

// Reads the mount table. False (and an empty list) when it cannot be read.
bool readDriveList(DriveList *list);

// The same from a mount table file of the given path (the system's is /proc/self/mounts).
bool readDriveListFrom(const char *mountTablePath, DriveList *list);

void freeDriveList(DriveList *list);
