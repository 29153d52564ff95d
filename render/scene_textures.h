// scene_textures.h -- uploads the seven embedded scene textures into textureNames. Thread: main
// only (GL).
#pragma once

// True when all seven were uploaded; false after the first failure.
bool loadSceneTextures();
