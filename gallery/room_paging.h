// room_paging.h -- the room window's step from one room of a folder to the previous or the next,
// as the end doors take it.
#pragma once
#include <cstdint>

// The first picture the previous and the next room of the folder show.
uint32_t previousRoomFirstPicture();
uint32_t nextRoomFirstPicture();

// One room back: firstPicture falls by 10 and firstFolder by 9, each stopping at 0. One room on:
// they grow by 10 and 9, each stopping at its list's last entry. roomNumber follows; the camera
// and roomLoaded are left alone.
void pageRoomWindowBack();
void pageRoomWindowForward();
