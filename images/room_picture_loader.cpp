// room_picture_loader.cpp -- the current room's pictures decoded, framed and uploaded into the
// picture-slot textures, with a loading screen before each.
#include "images/room_picture_loader.h"

#include <GL/gl.h>
#include <IL/il.h>
#include <cmath>
#include <cstdio>

#include "gallery/gallery_state.h"
#include "gallery/path_model.h"
#include "images/embedded_textures.h"
#include "images/thumbnails.h"

namespace {

// A picture that cannot be shown hangs as an empty 4:3 frame around a plain grey area.
constexpr ILuint EMPTY_FRAME_WIDTH = 480;
constexpr ILuint EMPTY_FRAME_HEIGHT = 360;
constexpr ILubyte EMPTY_FRAME_GREY = 128;

struct RoomImages {
    ILuint destination;
    ILuint frame;
    ILuint picture;
    ILuint scratch;
};

// Decodes the picture file and composes its thumbnail into the destination.
bool composePicture(const RoomImages &images, const char *path) {
    ilBindImage(images.picture);
    if (!ilLoadImage(path)) {
        fprintf(stderr, "ERROR: Unable to load %s\n", path);
        return false;
    }
    if (!makeThumbnail(images.destination, images.picture, images.frame, images.scratch)) {
        fputs("ERROR: Unable to generate thumbnail\n", stderr);
        return false;
    }
    return true;
}

// Composes the empty frame into the destination; should even that fail, the destination is
// made fully transparent, so the slot never keeps another picture.
void composeEmptyFrame(const RoomImages &images) {
    ilBindImage(images.picture);
    bool composed =
        ilTexImage(EMPTY_FRAME_WIDTH, EMPTY_FRAME_HEIGHT, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE,
                   nullptr) &&
        fillImageRect(images.picture, 0, 0, EMPTY_FRAME_WIDTH - 1, EMPTY_FRAME_HEIGHT - 1,
                      EMPTY_FRAME_GREY, EMPTY_FRAME_GREY, EMPTY_FRAME_GREY, 255) &&
        makeThumbnail(images.destination, images.picture, images.frame, images.scratch);
    if (!composed) {
        ilBindImage(images.destination);
        clearBoundImage(0);
    }
}

// Uploads the destination into picture slot i. Linear filtering whatever the antialiasing
// level: pictures are always shown smoothed.
void uploadSlot(ILuint destination, uint32_t slot) {
    ilBindImage(destination);
    glBindTexture(GL_TEXTURE_2D, textureNames[TEX_PICTURE0 + slot]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, 0, ilGetInteger(IL_IMAGE_BPP), ilGetInteger(IL_IMAGE_WIDTH),
                 ilGetInteger(IL_IMAGE_HEIGHT), 0, ilGetInteger(IL_IMAGE_FORMAT), GL_UNSIGNED_BYTE,
                 ilGetData());
}

} // namespace

bool loadRoomPictures(bool (*drawProgress)(const char *caption, int percent)) {
    ILuint names[4];
    ilGenImages(4, names);
    RoomImages images = {names[0], names[1], names[2], names[3]};

    ilBindImage(images.destination);
    if (!ilTexImage(THUMBNAIL_SIZE, THUMBNAIL_SIZE, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, nullptr)) {
        fputs("ERROR: Unable to initialize destination image\n", stderr);
        ilDeleteImages(4, names);
        return false;
    }
    ilBindImage(images.frame);
    if (!loadTextureResource(IDR_TEX_FRAME)) {
        fputs("ERROR: Unable to load image.jpg\n", stderr);
        ilDeleteImages(4, names);
        return false;
    }

    bool allLoaded = true;
    for (uint32_t i = 0; i < picturesPerRoom; ++i) {
        uint32_t index = firstPicture + i;
        if (index >= pictureCount)
            break;
        const char *name = pictureNames[index];

        char path[PATH_BUFFER_SIZE];
        pathJoin(path, sizeof path, currentPath, name, NATIVE_PATH_STYLE);
        printf("Loading %s\n", path);

        char caption[CAPTION_BUFFER_SIZE];
        snprintf(caption, sizeof caption, "Loading %s...", name);
        if (drawProgress != nullptr)
            drawProgress(caption, (int)std::floor(i * 0.1 * 100));

        // One bad file must not end the room: its slot would keep a picture of an earlier
        // room, possibly of another folder.
        if (!composePicture(images, path)) {
            allLoaded = false;
            composeEmptyFrame(images);
        }
        uploadSlot(images.destination, i);
    }

    ilDeleteImages(4, names);
    return allLoaded;
}
