// gl_state.h -- everything that lives as long as one rendering context.
#pragma once

// Image-library RGBA setting, texture and list names, fixed GL state, scene textures, room
// shell and fonts. False after the failure has been reported.
bool initGLState();
