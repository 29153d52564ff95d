// neighbour_rooms.h -- the rooms the person may walk into next, made ready while they look:
// asked of the background after a room is loaded, and what it prepared framed a picture a
// frame, so that entering such a room only uploads its pictures. Which rooms those are is the
// gallery's to say. Thread: main only.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "loading/background_preparation.h"

// After a room is loaded: asks the background to prepare paths (the next room's pictures, then
// the previous room's) and then the first room behind doorFolder (the faced side door's folder,
// or empty), listed with lister; each picture fitted to innerWidth x innerHeight.
void prepareNeighbourRooms(const std::vector<std::string> &paths, const std::string &doorFolder,
                           FirstRoomLister lister, uint32_t innerWidth, uint32_t innerHeight);

// Once a frame while a room is shown: asks again when the faced door's folder has changed,
// keeps the rooms asked for ahead of others in the framed-picture store, and frames one
// picture the background has prepared. Does nothing before prepareNeighbourRooms. True when a
// picture was framed.
bool keepNeighbourRoomsReady(const std::string &facedDoorFolder);

// Forgets the neighbours, stops the background and empties both stores (a new gallery, or the
// tests' next case).
void resetNeighbourRooms();
