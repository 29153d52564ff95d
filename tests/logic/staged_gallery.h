// staged_gallery.h -- test helpers that open a scripted folder in the gallery: numbered pictures
// and sub-folders listed by the fake folder enumeration and read by the real scanner. Paths and
// mount points are written POSIX-style and staged in the native style (support/native_paths.h).
#pragma once
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "fakes/fake_drive_list.h"
#include "fakes/fake_folder_enum.h"
#include "gallery/folder_scanner.h"
#include "gallery/gallery_state.h"
#include "support/native_paths.h"

// Entries "pic00.jpg".. and "dir00".. of the given counts, pictures first.
inline std::vector<FakeEntry> numberedEntries(int pictures, int folders) {
    std::vector<FakeEntry> entries;
    char name[32];
    for (int i = 0; i < pictures; i++) {
        snprintf(name, sizeof name, "pic%02d.jpg", i);
        entries.push_back({name, false});
    }
    for (int i = 0; i < folders; i++) {
        snprintf(name, sizeof name, "dir%02d", i);
        entries.push_back({name, true});
    }
    return entries;
}

// Scripts the folder and opens it as the current folder, in room 1 at the start pose.
inline void openStagedFolder(const std::string &posixPath, int pictures, int folders) {
    const std::string path = nativePath(posixPath);
    setFakeFolder(path, numberedEntries(pictures, folders));
    strcpy(currentPath, path.c_str());
    scanFolder();
    roomNumber = 1;
    takeRoomStartPose();
}

// Opens the drive list with drives standing for the given mount points as its doors
// (nativeDrives()).
inline void openStagedDriveList(const std::vector<std::string> &mountPoints) {
    setFakeDrives(nativeDrives(mountPoints));
    strcpy(currentPath, driveListPath().c_str());
    scanFolder();
    roomNumber = 1;
    takeRoomStartPose();
}

// Back to the load-time gallery with no scripted folders or drives.
inline void resetStagedGallery() {
    resetGalleryState();
    resetFakeFolders();
    resetFakeDriveList();
}
