// room_paging.cpp -- the index arithmetic of paging between the rooms of a folder.
#include "gallery/room_paging.h"

#include "gallery/gallery_state.h"

namespace {

// The next window start, or the list's last entry when the step runs past its end; a shorter
// list thus keeps showing its last entry while the longer one pages on.
uint32_t advanceIndex(uint32_t first, uint32_t step, uint32_t count) {
    if (first + step < count)
        return first + step;
    return count > 0 ? count - 1 : 0;
}

uint32_t retreatIndex(uint32_t first, uint32_t step) {
    return first >= step ? first - step : 0;
}

} // namespace

uint32_t previousRoomFirstPicture() {
    return retreatIndex(firstPicture, picturesPerRoom);
}

uint32_t nextRoomFirstPicture() {
    return advanceIndex(firstPicture, picturesPerRoom, pictureCount);
}

void pageRoomWindowBack() {
    firstPicture = previousRoomFirstPicture();
    firstFolder = retreatIndex(firstFolder, doorsPerRoom);
    roomNumber -= 1;
}

void pageRoomWindowForward() {
    firstPicture = nextRoomFirstPicture();
    firstFolder = advanceIndex(firstFolder, doorsPerRoom, folderCount);
    roomNumber += 1;
}
