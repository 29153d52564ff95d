// drive_list_win32.cpp -- the drive list from GetLogicalDrives: "A:\" to "Z:\" in letter order.
#include "platform/drive_list.h"

#include <cstdlib>
#include <cstring>
#include <windows.h>

bool readDriveList(DriveList *list) {
    list->count = 0;
    list->mountPoints = nullptr;
    DWORD mask = GetLogicalDrives();
    if (mask == 0)
        return false;
    list->mountPoints = static_cast<char **>(malloc(26 * sizeof(char *)));
    for (int bit = 0; bit < 26; bit++) {
        if ((mask & (1u << bit)) == 0)
            continue;
        char drive[4] = {(char)('A' + bit), ':', '\\', '\0'};
        list->mountPoints[list->count++] = strdup(drive);
    }
    return true;
}

// Windows has no mount table to read: the drive letters are the drives.
bool readDriveListFrom(const char *, DriveList *list) {
    return readDriveList(list);
}

void freeDriveList(DriveList *list) {
    for (uint32_t i = 0; i < list->count; i++)
        free(list->mountPoints[i]);
    free(list->mountPoints);
    list->count = 0;
    list->mountPoints = nullptr;
}
