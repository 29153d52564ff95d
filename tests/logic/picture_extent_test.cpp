// picture_extent_test.cpp -- where each format's bytes end, whatever follows them and however
// they arrive, and the JPEG scans refused before the decoder works through them.
#include <chrono>
#include <gtest/gtest.h>
#include <string>

#include "pictures/picture_decoder.h"
#include "pictures/picture_extent.h"
#include "support/crafted_pictures.h"

namespace {

// Walks the bytes in pieces of the given size: the bytes kept, and the walk.
size_t walkInPieces(PictureFormat format, const Bytes &bytes, size_t piece, PictureWalk *walk) {
    startPictureWalk(walk, format, bytes.data(), bytes.size());
    size_t kept = 0;
    for (size_t at = 0; at < bytes.size() && !walk->ended && !walk->refused; at += piece)
        kept += walkPictureBytes(walk, bytes.data() + at, std::min(piece, bytes.size() - at));
    return kept;
}

Bytes withTail(Bytes bytes, size_t tail, unsigned char fill) {
    bytes.insert(bytes.end(), tail, fill);
    return bytes;
}

// The chunks of a PNG, CRCs aside: the walk reads lengths and types only.
Bytes pngChunks() {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto chunk = [&](const char *type, size_t length) {
        png.insert(png.end(), {0, (unsigned char)(length >> 16), (unsigned char)(length >> 8),
                               (unsigned char)length});
        png.insert(png.end(), type, type + 4);
        png.insert(png.end(), length + 4, 0x49); // data, then CRC
    };
    chunk("IHDR", 13);
    chunk("IDAT", 70000);
    chunk("IEND", 0);
    return png;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

TEST(PictureExtent, EachFormatEndsWhereItsPictureEndsWhateverFollowsAndHoweverItArrives) {
    Bytes jpeg = progressiveJpeg(64, 48, 4);
    Bytes gif = solidGif(20, 10, true, 3);
    Bytes firstFrame = solidGif(20, 10, true, 1);
    firstFrame.pop_back(); // its trailer: the walk hands the decoder one of its own
    Bytes bmp = solidBmp(33, 7, 1, 2, 3);
    Bytes png = pngChunks();
    struct Case {
        const char *name;
        PictureFormat format;
        Bytes bytes;
        size_t end;
    } cases[] = {
        // Stuffed 0xFF bytes and markers in the tail must not be taken for the picture's.
        {"jpeg", PICTURE_JPEG, withTail(jpeg, 70000, 0xFF), jpeg.size()},
        {"gif", PICTURE_GIF, withTail(gif, 1000, 0x2C), firstFrame.size()},
        {"bmp", PICTURE_BMP, withTail(bmp, 5000, 0), bmp.size()},
        {"png", PICTURE_PNG, withTail(png, 100, 0), png.size()},
    };
    for (const Case &c : cases) {
        for (size_t piece : {(size_t)1, (size_t)7, (size_t)65536, c.bytes.size()}) {
            SCOPED_TRACE(std::string(c.name) + " in pieces of " + std::to_string(piece));
            PictureWalk walk;
            EXPECT_EQ(walkInPieces(c.format, c.bytes, piece, &walk), c.end);
            EXPECT_TRUE(walk.ended);
            EXPECT_FALSE(walk.refused);
            EXPECT_EQ(walk.closing, c.format == PICTURE_GIF ? 0x3B : -1);
        }
    }
}

TEST(PictureExtent, ScansAreCountedAndBoundedByNumberAndByWork) {
    // An ordinary progressive JPEG is let through; one scan past the limit is not.
    PictureWalk walk;
    walkInPieces(PICTURE_JPEG, progressiveJpeg(64, 48, 10), 4096, &walk);
    EXPECT_EQ(walk.scans, 10u);
    EXPECT_FALSE(walk.refused);
    walkInPieces(PICTURE_JPEG, progressiveJpeg(64, 48, JPEG_SCAN_LIMIT), 4096, &walk);
    EXPECT_FALSE(walk.refused);
    walkInPieces(PICTURE_JPEG, progressiveJpeg(64, 48, JPEG_SCAN_LIMIT + 1), 4096, &walk);
    EXPECT_TRUE(walk.refused);
    EXPECT_EQ(walk.scans, JPEG_SCAN_LIMIT + 1);

    // 11000 x 11000 grey: 1375^2 blocks a pass; 12 passes fit in the work bound, 13 do not.
    Bytes twelve = progressiveJpeg(11000, 11000, 12), thirteen = progressiveJpeg(11000, 11000, 13);
    walkInPieces(PICTURE_JPEG, twelve, 65536, &walk);
    EXPECT_EQ(walk.frameBlocks, 1375u * 1375u);
    EXPECT_FALSE(walk.refused);
    EXPECT_TRUE(walk.ended);
    walkInPieces(PICTURE_JPEG, thirteen, 65536, &walk);
    EXPECT_TRUE(walk.refused);
}

TEST(PictureExtent, TwoThousandScanJpegIsRefusedBeforeItIsDecoded) {
    // 4000 x 4000 with 2000 repeated scans, about 100 KB: each scan a pass over the whole
    // picture, some 16 seconds of decoding when it was let through.
    Bytes jpeg = progressiveJpeg(4000, 4000, 2000);
    Picture picture;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(decodePictureBytes(jpeg.data(), jpeg.size(), 480, 480, &picture), PICTURE_TOO_LARGE);
    EXPECT_LT(secondsSince(start), 5.0); // a guard against the minute it took, not a benchmark

    // The same picture as an encoder writes it decodes.
    Bytes ordinary = progressiveJpeg(4000, 4000, 10);
    ASSERT_EQ(decodePictureBytes(ordinary.data(), ordinary.size(), 480, 480, &picture),
              PICTURE_DECODED);
    EXPECT_EQ(picture.width * 1000 + picture.height, 480480u);
}

TEST(PictureExtent, GifIsDecodedFromItsFirstFrameWhateverFollows) {
    // Later frames, and then bytes no decoder would take, are never handed over.
    Bytes gif = solidGif(30, 20, false, 5);
    gif.pop_back();
    gif.insert(gif.end(), {0x2C, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 2, 0xFF});
    Picture picture;
    ASSERT_EQ(decodePictureBytes(gif.data(), gif.size(), 480, 480, &picture), PICTURE_DECODED);
    ASSERT_EQ(picture.width * 100 + picture.height, 3020u);
    EXPECT_EQ(picture.pixels[2], 255); // blue
    EXPECT_EQ(picture.pixels[0], 0);
}
