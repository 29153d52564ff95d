// embedded_artwork.h -- the room's own artwork stored in the program, by resource id, and
// loading one of its images into the bound image-library image.
#pragma once

// Resource ids of the embedded PNG images (type "TEXTURES").
constexpr int IDR_TEX_WALL = 4;
constexpr int IDR_TEX_FLOOR = 109;
constexpr int IDR_TEX_DOOR = 112;
constexpr int IDR_TEX_FRAME = 113;
constexpr int IDR_TEX_PROGRESS_FILL = 115;
constexpr int IDR_TEX_PROGRESS_TRACK = 117;
constexpr int IDR_TEX_CEILING = 118;
constexpr int IDR_TEX_PLATE = 121;

// Decodes the embedded PNG of the given id into the bound image-library image. False, after an
// "Initialization Failed" message box, when the resource cannot be found, loaded or locked.
// Thread: main only.
bool loadTextureResource(int id);
