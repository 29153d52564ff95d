// fake_drive_list.cpp -- a drive list that returns scripted mount points.
#include "fakes/fake_drive_list.h"

#include <cstdlib>
#include <cstring>

static std::vector<std::string> fakeDrives = {"/"};
static bool fakeDriveListFails = false;

void setFakeDrives(const std::vector<std::string> &mountPoints) {
    fakeDrives = mountPoints;
    fakeDriveListFails = false;
}

void failFakeDriveList() {
    fakeDriveListFails = true;
}

void resetFakeDriveList() {
    setFakeDrives({"/"});
}

bool readDriveListFrom(const char *mountTablePath, DriveList *list) {
    (void)mountTablePath;
    list->count = 0;
    list->mountPoints = nullptr;
    if (fakeDriveListFails)
        return false;
    list->mountPoints = static_cast<char **>(malloc(fakeDrives.size() * sizeof(char *)));
    for (const std::string &mountPoint : fakeDrives)
        list->mountPoints[list->count++] = strdup(mountPoint.c_str());
    return true;
}

bool readDriveList(DriveList *list) {
    return readDriveListFrom("/proc/self/mounts", list);
}

void freeDriveList(DriveList *list) {
    for (uint32_t i = 0; i < list->count; i++)
        free(list->mountPoints[i]);
    free(list->mountPoints);
    list->count = 0;
    list->mountPoints = nullptr;
}
