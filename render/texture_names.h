// texture_names.h -- the table of OpenGL texture names with their fixed roles.
#pragma once
#include <GL/gl.h>

// Entries of textureNames. Entries 4 and 18 exist but are never given an image.
constexpr int TEXTURE_COUNT = 19;
constexpr int TEX_WALL = 0;
constexpr int TEX_CEILING = 1;
constexpr int TEX_FLOOR = 2;
constexpr int TEX_DOOR = 3;
constexpr int TEX_PROGRESS_FILL = 5;
constexpr int TEX_PROGRESS_TRACK = 6;
constexpr int TEX_PLATE = 7;
constexpr int TEX_PICTURE0 = 8; // + slot 0..9

// Made by initGLState and deleted by releaseGLState, with the context they belong to.
extern GLuint textureNames[TEXTURE_COUNT];
