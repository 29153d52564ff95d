// door_action.h -- passing through the door the viewer faces: paging rooms, changing folders.
#pragma once

// Enter, Space and a left click. Does nothing unless the viewer stands in a door zone.
void openFacingDoor();
