// scene_textures.cpp -- uploads the wall, ceiling, floor, door, progress-bar and plate images
// into their texture objects.
#include "render/scene_textures.h"

#include <GL/gl.h>
#include <cstdio>

#include "gallery/display_settings.h"
#include "pictures/embedded_artwork.h"
#include "platform/image_library.h"
#include "platform/this_thread.h"
#include "render/texture_names.h"

namespace {
struct SceneTexture {
    int resourceId;
    int entry;
};

const SceneTexture sceneTextureTable[] = {
    {IDR_TEX_WALL, TEX_WALL},
    {IDR_TEX_CEILING, TEX_CEILING},
    {IDR_TEX_FLOOR, TEX_FLOOR},
    {IDR_TEX_DOOR, TEX_DOOR},
    {IDR_TEX_PROGRESS_FILL, TEX_PROGRESS_FILL},
    {IDR_TEX_PROGRESS_TRACK, TEX_PROGRESS_TRACK},
    {IDR_TEX_PLATE, TEX_PLATE},
};
} // namespace

bool loadSceneTextures() {
    REQUIRE_MAIN_THREAD();
    ILuint workImage = 0;
    ilGenImages(1, &workImage);
    ilBindImage(workImage);
    const GLint filter = antialiasLevel == ANTIALIAS_LOW ? GL_NEAREST : GL_LINEAR;
    for (const SceneTexture &row : sceneTextureTable) {
        if (!loadTextureResource(row.resourceId)) {
            fputs("ERROR: Unable to load door.png\n", stderr);
            ilDeleteImages(1, &workImage);
            return false;
        }
        glBindTexture(GL_TEXTURE_2D, textureNames[row.entry]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        // Rows go to GL in the order the library holds them; the texture coordinates of the
        // surfaces are chosen to match.
        glTexImage2D(GL_TEXTURE_2D, 0, ilGetInteger(IL_IMAGE_BPP), ilGetInteger(IL_IMAGE_WIDTH),
                     ilGetInteger(IL_IMAGE_HEIGHT), 0, ilGetInteger(IL_IMAGE_FORMAT),
                     GL_UNSIGNED_BYTE, ilGetData());
    }
    ilDeleteImages(1, &workImage);
    return true;
}
