// scene_frame.h -- draws and presents one frame of the gallery.
#pragma once

// Makes the room ready first when roomLoaded is false. Always true.
bool drawScene();
