// slot_composer_test.cpp -- pictures framed by copying into a kept canvas must be byte for byte
// what makeThumbnail makes of them, whatever their size, and translucent ones still blended.
#include <gtest/gtest.h>

#include <cstring>

#include "pictures/slot_composer.h"
#include "pictures/thumbnails.h"
#include "platform/image_library.h"

namespace {

Picture randomPicture(uint32_t width, uint32_t height, bool opaque, uint32_t seed) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize((size_t)width * height * 4);
    for (size_t i = 0; i < picture.pixels.size(); i++) {
        seed = seed * 1103515245u + 12345u;
        picture.pixels[i] = opaque && i % 4 == 3 ? 255 : (unsigned char)(seed >> 16);
    }
    return picture;
}

// makeThumbnail's own result for the picture (given top row first), bottom row first.
std::vector<unsigned char> framedByDevil(const SlotComposer &composer, const Picture &picture) {
    ilBindImage(composer.picture);
    ilTexImage(picture.width, picture.height, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, nullptr);
    size_t rowBytes = (size_t)picture.width * 4;
    for (uint32_t y = 0; y < picture.height; y++)
        memcpy(ilGetData() + (picture.height - 1 - y) * rowBytes, &picture.pixels[y * rowBytes],
               rowBytes);
    EXPECT_TRUE(
        makeThumbnail(composer.destination, composer.picture, composer.frame, composer.scratch));
    ilBindImage(composer.destination);
    return std::vector<unsigned char>(ilGetData(),
                                      ilGetData() + THUMBNAIL_SIZE * THUMBNAIL_SIZE * 4);
}

} // namespace

TEST(SlotComposer, FramesEverySizeExactlyAsMakeThumbnailDoes) {
    ilInit();
    iluInit();
    SlotComposer composer;
    ASSERT_TRUE(openSlotComposer(&composer));
    // Landscape and portrait photographs, a full inner area, odd remainders both ways, a dot;
    // each size twice, so the second picture is framed on the kept canvas. Translucent pictures
    // are blended over white.
    const uint32_t sizes[][2] = {{480, 360}, {270, 360}, {480, 480}, {479, 17}, {1, 1}};
    uint32_t seed = 1;
    for (const auto &size : sizes)
        for (int round = 0; round < 2; round++)
            for (bool opaque : {true, false}) {
                Picture picture = randomPicture(size[0], size[1], opaque, seed++);
                std::shared_ptr<const SlotImage> framed = frameSlotPicture(composer, picture);
                ASSERT_NE(framed, nullptr);
                EXPECT_TRUE(framed->pixels == framedByDevil(composer, picture))
                    << size[0] << " x " << size[1] << (opaque ? " opaque" : " translucent");
            }
    closeSlotComposer(&composer);
}
