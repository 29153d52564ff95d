// room_pictures.h -- which pictures a room shows, said once for the room loader and for the
// rooms prepared ahead: the current room, the next and previous rooms of the folder, and the
// first room behind the side door the viewer faces.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct RoomPicture {
    std::string name; // as listed
    std::string path;
};

// The path of picture index of the current folder. Thread: main only.
std::string folderPicturePath(uint32_t index);

// The pictures of the current room, in slot order. Thread: main only.
std::vector<RoomPicture> currentRoomPictures();

// The paths of the next room's pictures, then the previous room's, for the rooms the person
// may walk into next. Thread: main only.
std::vector<std::string> neighbourRoomPicturePaths();

// The folder behind the side door the viewer stands at and faces, or empty. Walking along the
// door wall counts, not only standing right in front of a door, so the room is on its way
// before the person gets there. Thread: main only.
std::string facedDoorFolder();

// The paths of the pictures of a folder's first room, in the order the folder scanner lists
// them. Reads no gallery state, so it may run on the background. Thread: any.
std::vector<std::string> firstRoomPicturePaths(const std::string &folder);
