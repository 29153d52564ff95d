// room_picture_loader.cpp -- the current room's pictures decoded on worker threads, then framed
// and uploaded into the picture-slot textures on this thread, with a loading screen before each.
#include "images/room_picture_loader.h"

#include <GL/gl.h>
#include <IL/il.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gallery/gallery_state.h"
#include "gallery/path_model.h"
#include "images/embedded_textures.h"
#include "images/picture_batch.h"
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

// Puts a decoded picture into the picture image and composes its thumbnail into the
// destination. DevIL images hold their rows bottom row first.
bool composePicture(const RoomImages &images, const DecodedPicture &picture) {
    ilBindImage(images.picture);
    if (!ilTexImage(picture.width, picture.height, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, nullptr) ||
        ilGetData() == nullptr) {
        fputs("ERROR: Unable to generate thumbnail\n", stderr);
        return false;
    }
    ILubyte *data = ilGetData();
    size_t rowBytes = (size_t)picture.width * 4;
    for (size_t y = 0; y < picture.height; ++y)
        memcpy(data + (picture.height - 1 - y) * rowBytes, picture.pixels.data() + y * rowBytes,
               rowBytes);
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

// Frames and uploads the decoded pictures slot by slot, in slot order, each after its line and
// loading screen; a picture that was refused or could not be decoded gets the empty frame.
bool composeRoomPictures(const RoomImages &images, PictureBatch *batch,
                         const std::vector<std::string> &names,
                         bool (*drawProgress)(const char *caption, int percent)) {
    bool allComposed = true;
    for (uint32_t i = 0; i < batch->slots.size(); ++i) {
        const char *path = batch->slots[i].path.c_str();
        printf("Loading %s\n", path);

        char caption[CAPTION_BUFFER_SIZE];
        snprintf(caption, sizeof caption, "Loading %s...", names[i].c_str());
        if (drawProgress != nullptr)
            drawProgress(caption, (int)std::floor(i * 0.1 * 100));

        // One bad file must not end the room: its slot would keep a picture of an earlier
        // room, possibly of another folder.
        PictureSlot *slot = waitForPictureSlot(batch, i);
        bool composed = false;
        if (slot->result != PICTURE_DECODED)
            fprintf(stderr, "ERROR: Unable to load %s\n", path);
        else
            composed = composePicture(images, slot->picture);
        slot->picture = DecodedPicture();
        if (!composed) {
            allComposed = false;
            composeEmptyFrame(images);
        }
        uploadSlot(images.destination, i);
    }
    return allComposed;
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
    // The area inside the frame, which every picture is decoded to fit.
    ILuint innerWidth = THUMBNAIL_SIZE - 2 * frameTileSize((ILuint)ilGetInteger(IL_IMAGE_WIDTH));
    ILuint innerHeight = THUMBNAIL_SIZE - 2 * frameTileSize((ILuint)ilGetInteger(IL_IMAGE_HEIGHT));

    std::vector<std::string> roomNames, paths;
    for (uint32_t i = 0; i < picturesPerRoom && firstPicture + i < pictureCount; ++i) {
        roomNames.push_back(pictureNames[firstPicture + i]);
        char path[PATH_BUFFER_SIZE];
        pathJoin(path, sizeof path, currentPath, roomNames.back().c_str(), NATIVE_PATH_STYLE);
        paths.push_back(path);
    }

    PictureBatch batch;
    startPictureBatch(&batch, paths, innerWidth, innerHeight);
    bool allLoaded = composeRoomPictures(images, &batch, roomNames, drawProgress);
    finishPictureBatch(&batch);

    ilDeleteImages(4, names);
    return allLoaded;
}
