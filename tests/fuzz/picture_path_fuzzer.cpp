// picture_path_fuzzer.cpp -- libFuzzer target: a picture file's bytes through the decoder and,
// when they decode, through the thumbnail composer, as the room loader does.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "pictures/picture_decoder.h"
#include "pictures/thumbnails.h"
#include "platform/image_library.h"

namespace {

ILuint images[4]; // destination, frame, picture, scratch

// DevIL set up once, with a plain 48 x 48 frame image in place of the embedded artwork.
bool setUp() {
    ilInit();
    iluInit();
    ilGenImages(4, images);
    ilBindImage(images[0]);
    ilTexImage(THUMBNAIL_SIZE, THUMBNAIL_SIZE, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, nullptr);
    ilBindImage(images[1]);
    ilTexImage(48, 48, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, nullptr);
    memset(ilGetData(), 200, 48 * 48 * 4);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static bool ready = setUp();
    (void)ready;
    const uint32_t inner = THUMBNAIL_SIZE - 2 * frameTileSize(48);
    Picture picture;
    if (decodePictureBytes(data, size, inner, inner, &picture) != PICTURE_DECODED)
        return 0;
    // A decoded picture always fits the frame and holds exactly its pixels.
    if (picture.width == 0 || picture.height == 0 || picture.width > inner ||
        picture.height > inner ||
        picture.pixels.size() != (size_t)picture.width * picture.height * 4)
        abort();
    ilBindImage(images[2]);
    if (!ilTexImage(picture.width, picture.height, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE,
                    picture.pixels.data()))
        abort();
    if (!makeThumbnail(images[0], images[2], images[1], images[3]))
        abort();
    return 0;
}
