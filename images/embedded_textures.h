// embedded_textures.h -- the embedded artwork by resource id, the table of OpenGL texture
// names with their fixed roles, and loading an embedded image into the bound DevIL image.
#pragma once
#include <GL/gl.h>

// Resource ids of the embedded PNG images (type "TEXTURES").
constexpr int IDR_TEX_WALL = 4;
constexpr int IDR_TEX_FLOOR = 109;
constexpr int IDR_TEX_DOOR = 112;
constexpr int IDR_TEX_FRAME = 113;
constexpr int IDR_TEX_PROGRESS_FILL = 115;
constexpr int IDR_TEX_PROGRESS_TRACK = 117;
constexpr int IDR_TEX_CEILING = 118;
constexpr int IDR_TEX_PLATE = 121;

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

extern GLuint textureNames[TEXTURE_COUNT];

// Decodes the embedded PNG of the given id into the bound DevIL image. False, after an
// "Initialization Failed" message box, when the resource cannot be found, loaded or locked.
bool loadTextureResource(int id);
