// gl_state.h -- everything that lives as long as one rendering context.
#pragma once

// Image-library RGBA setting, texture and list names, fixed GL state, scene textures, room
// shell and fonts. False after the failure has been reported. Thread: main only.
bool initGLState();

// Shuts the image library down, deletes the texture and list names and frees the fonts' glyphs
// made on first use, before the context
// goes; without a current context the deletions have no effect. Thread: main only.
void releaseGLState();
