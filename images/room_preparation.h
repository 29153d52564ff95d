// room_preparation.h -- the work done in the background while the person looks: the pictures of
// the rooms they may enter next made ready in the stores, and thumbnails written to the
// desktop's cache. One thread, at the lowest priority, so it never slows what they wait for.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Replaces whatever the background was preparing with these pictures, in this order, each
// fitted to innerWidth x innerHeight and left in the decoded-picture store (a picture already
// held framed or decoded is skipped). Then, when doorFolder is not empty, the first room of that
// folder is listed and prepared as well. The picture being decoded meanwhile is finished in the
// background; nothing here waits for it.
void prepareRooms(const std::vector<std::string> &paths, const std::string &doorFolder,
                  uint32_t innerWidth, uint32_t innerHeight);

// The pictures asked for by the last prepareRooms, the door's room included once listed.
std::vector<std::string> roomsBeingPrepared();

// Asks for the picture's x-large thumbnail to be written once nothing else is to be prepared.
void queueThumbnailWrite(const char *path);

// Waits until every picture asked for is prepared and every thumbnail written.
void waitForRoomPreparation();

// Drops what is left to do, waits for the picture in hand and ends the thread; it starts again
// on the next request. Also run at exit.
void stopRoomPreparation();
