// slot_composer.cpp -- decoded pictures framed with DevIL into square slot images.
#include "images/slot_composer.h"

#include <cstdio>
#include <cstring>

#include "images/embedded_textures.h"
#include "images/thumbnails.h"

namespace {

// A picture that cannot be shown hangs as an empty 4:3 frame around a plain grey area.
constexpr ILuint EMPTY_FRAME_WIDTH = 480;
constexpr ILuint EMPTY_FRAME_HEIGHT = 360;
constexpr ILubyte EMPTY_FRAME_GREY = 128;

} // namespace

bool openSlotComposer(SlotComposer *composer) {
    ILuint names[4];
    ilGenImages(4, names);
    *composer = {names[0], names[1], names[2], names[3], 0, 0};

    ilBindImage(composer->destination);
    if (!ilTexImage(THUMBNAIL_SIZE, THUMBNAIL_SIZE, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, nullptr)) {
        fputs("ERROR: Unable to initialize destination image\n", stderr);
        ilDeleteImages(4, names);
        return false;
    }
    ilBindImage(composer->frame);
    if (!loadTextureResource(IDR_TEX_FRAME)) {
        fputs("ERROR: Unable to load image.jpg\n", stderr);
        ilDeleteImages(4, names);
        return false;
    }
    composer->innerWidth = THUMBNAIL_SIZE - 2 * frameTileSize((ILuint)ilGetInteger(IL_IMAGE_WIDTH));
    composer->innerHeight =
        THUMBNAIL_SIZE - 2 * frameTileSize((ILuint)ilGetInteger(IL_IMAGE_HEIGHT));
    return true;
}

// DevIL images hold their rows bottom row first; decoded pictures come top row first.
bool composeSlotPicture(const SlotComposer &composer, const DecodedPicture &picture) {
    ilBindImage(composer.picture);
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
    if (!makeThumbnail(composer.destination, composer.picture, composer.frame, composer.scratch)) {
        fputs("ERROR: Unable to generate thumbnail\n", stderr);
        return false;
    }
    return true;
}

void composeEmptySlot(const SlotComposer &composer) {
    ilBindImage(composer.picture);
    bool composed =
        ilTexImage(EMPTY_FRAME_WIDTH, EMPTY_FRAME_HEIGHT, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE,
                   nullptr) &&
        fillImageRect(composer.picture, 0, 0, EMPTY_FRAME_WIDTH - 1, EMPTY_FRAME_HEIGHT - 1,
                      EMPTY_FRAME_GREY, EMPTY_FRAME_GREY, EMPTY_FRAME_GREY, 255) &&
        makeThumbnail(composer.destination, composer.picture, composer.frame, composer.scratch);
    if (!composed) {
        ilBindImage(composer.destination);
        clearBoundImage(0);
    }
}

std::shared_ptr<const DecodedPicture> copySlotImage(const SlotComposer &composer) {
    ilBindImage(composer.destination);
    auto image = std::make_shared<DecodedPicture>();
    image->width = image->originalWidth = (uint32_t)ilGetInteger(IL_IMAGE_WIDTH);
    image->height = image->originalHeight = (uint32_t)ilGetInteger(IL_IMAGE_HEIGHT);
    const ILubyte *data = ilGetData();
    image->pixels.assign(data, data + (size_t)image->width * image->height * 4);
    return image;
}

void closeSlotComposer(SlotComposer *composer) {
    ILuint names[4] = {composer->destination, composer->frame, composer->picture,
                       composer->scratch};
    ilDeleteImages(4, names);
}
