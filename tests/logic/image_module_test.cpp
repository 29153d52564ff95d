// image_module_test.cpp -- the image module the Windows build frames pictures with, held beside
// DevIL and made to agree with it byte for byte: the blending blit, ILU's bilinear shrink, the
// framing of every picture size the fitting tests use (opaque and translucent), the slot
// composer, and the embedded artwork as loaded and converted.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "logic/image_library_side.h"
#include "pictures/embedded_artwork.h"
#include "pictures/picture_fit.h"
#include "pictures/slot_composer.h"
#include "pictures/thumbnails.h"
#include "platform/embedded_resource_table.h"
#include "platform/image_library.h"

namespace on_devil {
constexpr const char *SIDE_NAME = "DevIL";
#include "logic/image_library_side.inc"
} // namespace on_devil

namespace {

const ImageLibrarySide &devil = on_devil::library;
const ImageLibrarySide &module = on_image_module::library;

// Every picture size of the fitting and framing tests: the worked examples, sizes at and one
// past the inner area, the sizes whose shrunk side the floating-point formula truncates, the
// one-pixel lines, and the slot composer's landscape, portrait, full, odd and dot sizes.
const unsigned PICTURE_SIZES[][2] = {
    {1024, 768}, {600, 800}, {3000, 2000}, {100, 50},  {479, 100}, {1024, 1024}, {480, 200},
    {200, 480},  {481, 100}, {969, 646},   {646, 969}, {969, 969}, {10000, 5},   {5, 10000},
    {480, 480},  {480, 360}, {270, 360},   {479, 17},  {1, 1},
};

// Bytes that look random; in a translucent picture the alpha bytes too.
std::vector<unsigned char> noise(size_t count, unsigned bpp, bool opaque, uint32_t seed) {
    std::vector<unsigned char> bytes(count);
    for (size_t i = 0; i < count; i++) {
        seed = seed * 1103515245u + 12345u;
        bytes[i] = opaque && bpp == 4 && i % 4 == 3 ? 255 : (unsigned char)(seed >> 16);
    }
    return bytes;
}

// What a library holds of its bound image.
struct Snapshot {
    int width, height, depth, bpp, format, type, origin, sizeOfData;
    std::vector<unsigned char> bytes;
};

Snapshot snapshot(const ImageLibrarySide &side) {
    Snapshot s = {side.getInteger(IL_IMAGE_WIDTH),
                  side.getInteger(IL_IMAGE_HEIGHT),
                  side.getInteger(IL_IMAGE_DEPTH),
                  side.getInteger(IL_IMAGE_BPP),
                  side.getInteger(IL_IMAGE_FORMAT),
                  side.getInteger(IL_IMAGE_TYPE),
                  side.getInteger(IL_IMAGE_ORIGIN),
                  side.getInteger(IL_IMAGE_SIZE_OF_DATA),
                  {}};
    const unsigned char *data = side.getData();
    size_t size = (size_t)s.width * s.height * s.depth * s.bpp;
    if (data != nullptr)
        s.bytes.assign(data, data + size);
    return s;
}

// Bytes of two images laid out alike (bpp bytes a pixel, width pixels a row): equal, or the
// number that differ and the first of them.
testing::AssertionResult sameBytes(const std::vector<unsigned char> &expected,
                                   const std::vector<unsigned char> &actual, int width, int bpp) {
    if (expected.size() != actual.size())
        return testing::AssertionFailure()
               << expected.size() << " bytes from DevIL, " << actual.size() << " from the module";
    size_t differing = 0;
    size_t first = 0;
    for (size_t i = 0; i < expected.size(); i++)
        if (expected[i] != actual[i] && differing++ == 0)
            first = i;
    if (differing == 0)
        return testing::AssertionSuccess();
    size_t pixel = first / bpp;
    return testing::AssertionFailure()
           << differing << " bytes differ; first at stored (" << pixel % width << ", "
           << pixel / width << ") channel " << first % bpp << ": DevIL " << (int)expected[first]
           << ", module " << (int)actual[first];
}

testing::AssertionResult sameImage(const Snapshot &expected, const Snapshot &actual) {
    const int Snapshot::*fields[] = {&Snapshot::width,  &Snapshot::height,    &Snapshot::depth,
                                     &Snapshot::bpp,    &Snapshot::format,    &Snapshot::type,
                                     &Snapshot::origin, &Snapshot::sizeOfData};
    const char *names[] = {"width",  "height", "depth",  "bpp",
                           "format", "type",   "origin", "size of data"};
    for (size_t i = 0; i < sizeof fields / sizeof fields[0]; i++)
        if (expected.*fields[i] != actual.*fields[i])
            return testing::AssertionFailure()
                   << names[i] << ": DevIL " << std::hex << expected.*fields[i] << ", module "
                   << actual.*fields[i];
    return sameBytes(expected.bytes, actual.bytes, expected.width, expected.bpp);
}

// Four work images on each library, every image loaded as RGBA as the program sets it up.
class ImageModule : public ::testing::Test {
  protected:
    unsigned devilImages[4] = {};
    unsigned moduleImages[4] = {};

    void SetUp() override {
        for (const ImageLibrarySide *side : {&devil, &module}) {
            side->init();
            side->enable(IL_FORMAT_SET);
            side->setInteger(IL_FORMAT_MODE, IL_RGBA);
            side->genImages(4, images(*side));
        }
    }
    void TearDown() override {
        for (const ImageLibrarySide *side : {&devil, &module})
            side->deleteImages(4, images(*side));
    }

    unsigned *images(const ImageLibrarySide &side) {
        return &side == &devil ? devilImages : moduleImages;
    }

    // Binds work image `index` and fills it (width x height, bpp bytes a pixel) with bytes.
    void setImage(const ImageLibrarySide &side, int index, unsigned width, unsigned height,
                  unsigned bpp, const std::vector<unsigned char> &bytes,
                  unsigned origin = IL_ORIGIN_LOWER_LEFT) {
        side.bindImage(images(side)[index]);
        unsigned format = bpp == 4 ? IL_RGBA : bpp == 3 ? IL_RGB : IL_LUMINANCE;
        ASSERT_TRUE(side.texImage(width, height, (unsigned char)bpp, format, nullptr));
        side.registerOrigin(origin);
        memcpy(side.getData(), bytes.data(), bytes.size());
    }

    // Runs the same steps on both libraries and compares the images they leave bound.
    template <typename Steps> void expectSameResult(Steps steps) {
        steps(devil);
        Snapshot expected = snapshot(devil);
        steps(module);
        EXPECT_TRUE(sameImage(expected, snapshot(module)));
    }
};

TEST_F(ImageModule, BlitCopiesAndBlendsAsDevilDoes) {
    const unsigned DW = 40, DH = 30, SW = 25, SH = 20;
    // Whole copies, cut-out rectangles, and copies running off the destination's right and
    // bottom edges, from a source stored either row order, onto opaque and translucent
    // destinations. The rectangles stay inside the source: DevIL does not cut them to it but
    // reads on past its rows, which the module does not imitate.
    const struct {
        int destX, destY;
        unsigned srcX, srcY, width, height;
    } blits[] = {{0, 0, 0, 0, SW, SH},   {7, 3, 0, 0, SW, SH},  {5, 9, 4, 6, 13, 9},
                 {30, 22, 0, 0, SW, SH}, {2, 1, 10, 12, 15, 8}, {39, 29, 24, 19, 1, 1}};
    uint32_t seed = 1;
    for (bool blend : {true, false})
        for (unsigned destBpp : {4u, 3u, 1u})
            for (bool opaqueDest : {true, false})
                for (unsigned origin : {IL_ORIGIN_LOWER_LEFT, IL_ORIGIN_UPPER_LEFT})
                    for (const auto &b : blits) {
                        SCOPED_TRACE(testing::Message()
                                     << (blend ? "blend" : "copy") << " onto bpp " << destBpp
                                     << (opaqueDest ? " opaque" : " translucent") << " origin "
                                     << std::hex << origin << std::dec << " at " << b.destX << ", "
                                     << b.destY);
                        auto dest = noise(DW * DH * destBpp, destBpp, opaqueDest, seed++);
                        auto source = noise(SW * SH * 4, 4, false, seed++);
                        expectSameResult([&](const ImageLibrarySide &side) {
                            blend ? side.enable(IL_BLIT_BLEND) : side.disable(IL_BLIT_BLEND);
                            setImage(side, 1, SW, SH, 4, source, origin);
                            setImage(side, 0, DW, DH, destBpp, dest);
                            EXPECT_TRUE(side.blit(images(side)[1], b.destX, b.destY, b.srcX, b.srcY,
                                                  b.width, b.height));
                        });
                    }
}

TEST_F(ImageModule, BilinearShrinkMatchesIluForEveryFittedSize) {
    uint32_t seed = 7;
    for (const auto &size : PICTURE_SIZES) {
        uint32_t width, height;
        if (!fitPictureSize(size[0], size[1], 480, 480, &width, &height))
            continue;
        for (unsigned bpp : {4u, 3u}) {
            SCOPED_TRACE(testing::Message() << size[0] << " x " << size[1] << " to " << width
                                            << " x " << height << ", bpp " << bpp);
            auto bytes = noise((size_t)size[0] * size[1] * bpp, bpp, false, seed++);
            expectSameResult([&](const ImageLibrarySide &side) {
                setImage(side, 0, size[0], size[1], bpp, bytes);
                EXPECT_TRUE(side.scaleBilinear(width, height));
            });
        }
    }
}

TEST_F(ImageModule, FramesEveryPictureSizeAsDevilDoes) {
    // The frame delivered as RGBA, as the program loads it, around pictures stored either row
    // order; and the frame as stored (RGB), blitted through the library's conversion.
    const struct {
        bool rgbaFrame;
        unsigned origin;
    } setups[] = {
        {true, IL_ORIGIN_LOWER_LEFT}, {true, IL_ORIGIN_UPPER_LEFT}, {false, IL_ORIGIN_LOWER_LEFT}};
    uint32_t seed = 11;
    for (const auto &size : PICTURE_SIZES)
        for (bool opaque : {true, false})
            for (const auto &setup : setups) {
                SCOPED_TRACE(testing::Message()
                             << size[0] << " x " << size[1] << (opaque ? " opaque" : " translucent")
                             << (setup.rgbaFrame ? ", RGBA" : ", RGB") << " frame, origin "
                             << std::hex << setup.origin);
                auto bytes = noise((size_t)size[0] * size[1] * 4, 4, opaque, seed++);
                expectSameResult([&](const ImageLibrarySide &side) {
                    unsigned *work = images(side);
                    setup.rgbaFrame ? side.enable(IL_FORMAT_SET) : side.disable(IL_FORMAT_SET);
                    side.bindImage(work[1]);
                    ASSERT_TRUE(side.loadTextureResource(IDR_TEX_FRAME));
                    side.bindImage(work[0]);
                    ASSERT_TRUE(side.texImage(THUMBNAIL_SIZE, THUMBNAIL_SIZE, 4, IL_RGBA, nullptr));
                    setImage(side, 2, size[0], size[1], 4, bytes, setup.origin);
                    ASSERT_TRUE(side.makeThumbnail(work[0], work[2], work[1], work[3]));
                    EXPECT_EQ(side.getInteger(IL_CUR_IMAGE), (int)work[2]);
                    side.bindImage(work[0]);
                });
            }
}

TEST_F(ImageModule, SlotComposerFramesAsOnDevil) {
    ASSERT_TRUE(devil.openSlotComposer());
    ASSERT_TRUE(module.openSlotComposer());
    uint32_t seed = 13;
    // Each size twice, so that opaque pictures that fit also meet the kept canvas.
    for (const auto &size : PICTURE_SIZES)
        for (int round = 0; round < 2; round++)
            for (bool opaque : {true, false}) {
                SCOPED_TRACE(testing::Message()
                             << size[0] << " x " << size[1] << (opaque ? " opaque" : " translucent")
                             << " round " << round);
                Picture picture;
                picture.width = picture.originalWidth = size[0];
                picture.height = picture.originalHeight = size[1];
                picture.pixels = noise((size_t)size[0] * size[1] * 4, 4, opaque, seed++);
                std::shared_ptr<const SlotImage> expected = devil.frameSlotPicture(picture);
                std::shared_ptr<const SlotImage> actual = module.frameSlotPicture(picture);
                ASSERT_NE(expected, nullptr);
                ASSERT_NE(actual, nullptr);
                EXPECT_EQ(actual->width, expected->width);
                EXPECT_EQ(actual->height, expected->height);
                EXPECT_TRUE(sameBytes(expected->pixels, actual->pixels, expected->width, 4));
            }
    std::shared_ptr<const SlotImage> expected = devil.frameEmptySlot();
    std::shared_ptr<const SlotImage> actual = module.frameEmptySlot();
    EXPECT_TRUE(sameBytes(expected->pixels, actual->pixels, expected->width, 4)) << "empty slot";
    devil.closeSlotComposer();
    module.closeSlotComposer();
}

TEST_F(ImageModule, EmbeddedArtworkLoadsAndConvertsAsDevilDoes) {
    int count = 0;
    for (const EmbeddedResource *entry = embeddedResources; entry->type != nullptr; ++entry) {
        if (strcmp(entry->type, "TEXTURES") != 0)
            continue;
        count++;
        SCOPED_TRACE(testing::Message() << "artwork " << entry->id);
        // As the program loads it: delivered as RGBA.
        expectSameResult([&](const ImageLibrarySide &side) {
            side.enable(IL_FORMAT_SET);
            side.bindImage(images(side)[0]);
            ASSERT_TRUE(side.loadTextureResource(entry->id));
        });
        // As stored, then converted as the tools and tests convert it.
        for (unsigned format : {0u, (unsigned)IL_RGBA, (unsigned)IL_RGB}) {
            SCOPED_TRACE(testing::Message() << "converted to " << std::hex << format);
            expectSameResult([&](const ImageLibrarySide &side) {
                side.disable(IL_FORMAT_SET);
                side.bindImage(images(side)[0]);
                ASSERT_TRUE(side.loadPng(entry->bytes, (unsigned)entry->size));
                if (format != 0) {
                    ASSERT_TRUE(side.convertImage(format));
                }
            });
        }
    }
    EXPECT_EQ(count, 8);
}

TEST_F(ImageModule, ImageNamesAndBindingFollowDevil) {
    // Names handed out after two are freed and after a name beyond them is bound, and what the
    // framing code's binding bookkeeping reads back.
    std::vector<int> seen[2];
    for (const ImageLibrarySide *side : {&devil, &module}) {
        std::vector<int> &out = seen[side == &module];
        unsigned first[4], again[2], beyond;
        side->genImages(4, first);
        unsigned freed[] = {first[0], first[2]};
        side->deleteImages(2, freed);
        side->genImages(2, again);
        side->bindImage(first[3] + 20);
        side->genImages(1, &beyond);
        out = {(int)first[0], (int)first[1], (int)first[2], (int)first[3],
               (int)again[0], (int)again[1], (int)beyond,   side->getInteger(IL_CUR_IMAGE)};
        side->texImage(3, 2, 3, IL_RGB, nullptr);
        out.push_back(side->getInteger(IL_IMAGE_SIZE_OF_DATA));
        unsigned bound = first[3] + 20;
        side->deleteImages(1, &bound);
        out.push_back(side->getInteger(IL_CUR_IMAGE));
        unsigned rest[] = {first[1], first[3], again[0], again[1], beyond};
        side->deleteImages(5, rest);
    }
    EXPECT_EQ(seen[1], seen[0]);
}

} // namespace
