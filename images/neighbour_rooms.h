// neighbour_rooms.h -- the rooms the person may walk into next, made ready while they look:
// the next room of the folder, the previous one, and the first room behind the side door they
// face. Main thread only.
#pragma once
#include <cstdint>

// After a room is loaded: asks the background to prepare its neighbours, each picture fitted to
// innerWidth x innerHeight.
void prepareNeighbourRooms(uint32_t innerWidth, uint32_t innerHeight);

// Once a frame: follows the side door the viewer faces, and frames one picture the background
// has prepared, so that entering its room only uploads it. Does nothing before a room is
// loaded. True when a picture was framed.
bool keepNeighbourRoomsReady();

// Forgets the neighbours (a new gallery, or the tests' next case).
void resetNeighbourRooms();
