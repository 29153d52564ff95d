// slot_composer.cpp -- decoded pictures framed with the image library into square slot images.
// An opaque picture that fits is copied into a framed canvas kept for its size: the library
// copies opaque pixels unchanged, so the result is byte for byte makeThumbnail's, without its
// dozen whole-image copies per picture.
#include "pictures/slot_composer.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "pictures/embedded_artwork.h"
#include "pictures/thumbnails.h"
#include "platform/this_thread.h"

namespace {

// A picture that cannot be shown hangs as an empty 4:3 frame around a plain grey area.
constexpr ILuint EMPTY_FRAME_WIDTH = 480;
constexpr ILuint EMPTY_FRAME_HEIGHT = 360;
constexpr ILubyte EMPTY_FRAME_GREY = 128;

// The frame as makeThumbnail draws it around a picture of one size, the picture's area white.
struct FramedCanvas {
    uint64_t frameKey;
    uint32_t width;
    uint32_t height;
    std::shared_ptr<const SlotImage> image;
};

// Pictures of a room come in few sizes (4:3 and 3:4 photographs mostly).
constexpr size_t CANVASES_KEPT = 4;
std::vector<FramedCanvas> canvases; // most recently made last

// FNV-1a over the frame's bytes (as loaded: RGB or RGBA) and their count.
uint64_t frameKeyOf(ILuint frame) {
    ilBindImage(frame);
    const ILubyte *data = ilGetData();
    size_t size = (size_t)ilGetInteger(IL_IMAGE_SIZE_OF_DATA);
    uint64_t key = 1469598103934665603ull ^ size;
    for (size_t i = 0; data != nullptr && i < size; i++)
        key = (key ^ data[i]) * 1099511628211ull;
    return key;
}

// A copy of the destination's pixels, bottom row first.
std::shared_ptr<const SlotImage> copyDestination(const SlotComposer &composer) {
    ilBindImage(composer.destination);
    auto image = std::make_shared<SlotImage>();
    image->width = (uint32_t)ilGetInteger(IL_IMAGE_WIDTH);
    image->height = (uint32_t)ilGetInteger(IL_IMAGE_HEIGHT);
    const ILubyte *data = ilGetData();
    image->pixels.assign(data, data + (size_t)image->width * image->height * 4);
    return image;
}

// Frames the picture image (already holding its pixels) with makeThumbnail.
std::shared_ptr<const SlotImage> frameWithLibrary(const SlotComposer &composer) {
    if (!makeThumbnail(composer.destination, composer.picture, composer.frame, composer.scratch))
        return nullptr;
    return copyDestination(composer);
}

// Fills the picture image with a width x height picture given top row first.
bool setPictureImage(const SlotComposer &composer, const Picture &picture) {
    ilBindImage(composer.picture);
    if (!ilTexImage(picture.width, picture.height, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, nullptr) ||
        ilGetData() == nullptr)
        return false;
    ILubyte *data = ilGetData();
    size_t rowBytes = (size_t)picture.width * 4;
    for (size_t y = 0; y < picture.height; ++y)
        memcpy(data + (picture.height - 1 - y) * rowBytes, picture.pixels.data() + y * rowBytes,
               rowBytes);
    return true;
}

std::shared_ptr<const SlotImage> canvasFor(const SlotComposer &composer, uint32_t width,
                                           uint32_t height) {
    for (const FramedCanvas &canvas : canvases)
        if (canvas.frameKey == composer.frameKey && canvas.width == width &&
            canvas.height == height)
            return canvas.image;
    Picture white;
    white.width = width;
    white.height = height;
    white.pixels.assign((size_t)width * height * 4, 255);
    if (!setPictureImage(composer, white))
        return nullptr;
    std::shared_ptr<const SlotImage> image = frameWithLibrary(composer);
    if (image == nullptr)
        return nullptr;
    if (canvases.size() == CANVASES_KEPT)
        canvases.erase(canvases.begin());
    canvases.push_back({composer.frameKey, width, height, image});
    return image;
}

bool isOpaque(const Picture &picture) {
    for (size_t i = 3; i < picture.pixels.size(); i += 4)
        if (picture.pixels[i] != 255)
            return false;
    return true;
}

// The picture's rows copied into its framed canvas where makeThumbnail places them: centred in
// the inner area, an odd remainder to the right and at the bottom.
std::shared_ptr<const SlotImage> frameOnCanvas(const SlotComposer &composer,
                                               const Picture &picture) {
    std::shared_ptr<const SlotImage> canvas = canvasFor(composer, picture.width, picture.height);
    if (canvas == nullptr)
        return nullptr;
    auto image = std::make_shared<SlotImage>(*canvas);
    uint32_t left =
        (THUMBNAIL_SIZE - composer.innerWidth) / 2 + (composer.innerWidth - picture.width) / 2;
    uint32_t top =
        (THUMBNAIL_SIZE - composer.innerHeight) / 2 + (composer.innerHeight - picture.height) / 2;
    size_t rowBytes = (size_t)picture.width * 4;
    for (uint32_t y = 0; y < picture.height; ++y) {
        size_t row = image->height - 1 - (top + y);
        memcpy(&image->pixels[(row * image->width + left) * 4], &picture.pixels[y * rowBytes],
               rowBytes);
    }
    return image;
}

} // namespace

bool openSlotComposer(SlotComposer *composer) {
    REQUIRE_MAIN_THREAD();
    ILuint names[4];
    ilGenImages(4, names);
    *composer = {names[0], names[1], names[2], names[3], 0, 0, 0};

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
    composer->frameKey = frameKeyOf(composer->frame);
    return true;
}

std::shared_ptr<const SlotImage> frameSlotPicture(const SlotComposer &composer,
                                                  const Picture &picture) {
    REQUIRE_MAIN_THREAD();
    std::shared_ptr<const SlotImage> image;
    if (picture.width <= composer.innerWidth && picture.height <= composer.innerHeight &&
        isOpaque(picture))
        image = frameOnCanvas(composer, picture);
    else if (setPictureImage(composer, picture))
        image = frameWithLibrary(composer);
    if (image == nullptr)
        fputs("ERROR: Unable to generate thumbnail\n", stderr);
    return image;
}

std::shared_ptr<const SlotImage> frameEmptySlot(const SlotComposer &composer) {
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
    return copyDestination(composer);
}

void closeSlotComposer(SlotComposer *composer) {
    ILuint names[4] = {composer->destination, composer->frame, composer->picture,
                       composer->scratch};
    ilDeleteImages(4, names);
}
