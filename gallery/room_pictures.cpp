// room_pictures.cpp -- room slices of the picture list, joined to the current folder.
#include "gallery/room_pictures.h"

#include "gallery/door_action.h"
#include "gallery/facing_zone.h"
#include "gallery/folder_scanner.h"
#include "gallery/gallery_state.h"
#include "gallery/path_model.h"
#include "gallery/room_paging.h"
#include "platform/folder_enum.h"

namespace {

std::vector<RoomPicture> roomPicturesFrom(uint32_t first) {
    std::vector<RoomPicture> pictures;
    for (uint32_t i = first; i < first + picturesPerRoom && i < pictureCount; ++i) {
        pictures.push_back({pictureNames[i], folderPicturePath(i)});
    }
    return pictures;
}

void appendPaths(std::vector<std::string> *paths, uint32_t first) {
    for (const RoomPicture &picture : roomPicturesFrom(first))
        paths->push_back(picture.path);
}

} // namespace

std::string folderPicturePath(uint32_t index) {
    char path[PATH_BUFFER_SIZE];
    pathJoin(path, sizeof path, currentPath, pictureNames[index], NATIVE_PATH_STYLE);
    return path;
}

std::vector<RoomPicture> currentRoomPictures() {
    return roomPicturesFrom(firstPicture);
}

std::vector<std::string> neighbourRoomPicturePaths() {
    std::vector<std::string> paths;
    if (hasNextRoom())
        appendPaths(&paths, nextRoomFirstPicture());
    if (hasPreviousRoom())
        appendPaths(&paths, previousRoomFirstPicture());
    return paths;
}

std::string facedDoorFolder() {
    FacingZone zone = facingZone();
    char path[PATH_BUFFER_SIZE];
    if (zone.kind == ZONE_DOOR_WALL && sideDoorFolder((uint32_t)zone.slot, path, sizeof path))
        return path;
    return "";
}

std::vector<std::string> firstRoomPicturePaths(const std::string &folder) {
    std::vector<std::string> paths;
    FolderSearch *search = openFolderSearch(folder.c_str());
    if (search == nullptr)
        return paths;
    FolderEntry entry;
    while (paths.size() < picturesPerRoom && nextFolderEntry(search, &entry) == FOLDER_NEXT_ENTRY) {
        if (entry.isDirectory || !isPictureFile(entry.name))
            continue;
        char path[PATH_BUFFER_SIZE];
        pathJoin(path, sizeof path, folder.c_str(), entry.name, NATIVE_PATH_STYLE);
        paths.push_back(path);
    }
    closeFolderSearch(search);
    return paths;
}
