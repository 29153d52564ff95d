// thumbnails_test.cpp -- composing framed thumbnails: size fitting, frame pieces, transparent
// margins, row order, and the refusal of images that are not RGBA.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "pictures/thumbnails.h"
#include "support/output_capture.h"
#include "platform/image_library.h"

namespace {

using Pixel = std::array<int, 4>;

// Pixel (x, y), y counted from the top as seen, whatever row order the image stores.
Pixel pixelAt(ILuint image, ILuint x, ILuint y) {
    ilBindImage(image);
    ILuint width = (ILuint)ilGetInteger(IL_IMAGE_WIDTH);
    ILuint height = (ILuint)ilGetInteger(IL_IMAGE_HEIGHT);
    ILuint row = ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_UPPER_LEFT ? y : height - 1 - y;
    const ILubyte *p = ilGetData() + ((size_t)row * width + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

// Frame pixel colours name their position: red 5x, green 5y.
Pixel framePixel(ILuint x, ILuint y) {
    return {(int)x * 5, (int)y * 5, 200, 255};
}
// Unshrunk picture pixels name their position too.
Pixel picturePixel(ILuint x, ILuint y) {
    return {(int)(x % 256), (int)(y % 256), 77, 255};
}
const Pixel FLAT = {40, 90, 140, 255};

class Thumbnails : public ::testing::Test {
  protected:
    ILuint images[4] = {};
    ILuint &destination = images[0];
    ILuint &frame = images[1];
    ILuint &picture = images[2];
    ILuint &scratch = images[3];

    void SetUp() override {
        ilInit();
        iluInit();
        ilGenImages(4, images);
        ilBindImage(destination);
        ilTexImage(THUMBNAIL_SIZE, THUMBNAIL_SIZE, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, nullptr);
        fillImage(frame, 48, 48, IL_ORIGIN_LOWER_LEFT, framePixel);
    }
    void TearDown() override { ilDeleteImages(4, images); }

    template <typename F>
    void fillImage(ILuint image, ILuint width, ILuint height, ILenum origin, F colour) {
        ilBindImage(image);
        ASSERT_TRUE(ilTexImage(width, height, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, nullptr));
        ilRegisterOrigin(origin);
        ILubyte *data = ilGetData();
        for (ILuint y = 0; y < height; ++y) {
            ILuint row = origin == IL_ORIGIN_UPPER_LEFT ? y : height - 1 - y;
            for (ILuint x = 0; x < width; ++x) {
                Pixel p = colour(x, y);
                for (int c = 0; c < 4; ++c)
                    data[((size_t)row * width + x) * 4 + c] = (ILubyte)p[c];
            }
        }
    }

    void flatPicture(ILuint width, ILuint height) {
        fillImage(picture, width, height, IL_ORIGIN_UPPER_LEFT,
                  [](ILuint, ILuint) { return FLAT; });
    }

    // Every pixel inside the frame's outer rectangle is opaque, every one outside transparent.
    void expectOuterRectangle(ILuint x0, ILuint x1, ILuint y0, ILuint y1) {
        int wrong = 0;
        for (ILuint y = 0; y < THUMBNAIL_SIZE; ++y)
            for (ILuint x = 0; x < THUMBNAIL_SIZE; ++x) {
                bool inside = x >= x0 && x <= x1 && y >= y0 && y <= y1;
                if (pixelAt(destination, x, y)[3] != (inside ? 255 : 0) && ++wrong <= 3)
                    ADD_FAILURE() << "alpha at (" << x << ", " << y << ")";
            }
        EXPECT_EQ(wrong, 0);
    }
};

struct WorkedExample {
    ILuint ws, hs;
    ILuint w, h, ox, oy;
};

TEST_F(Thumbnails, WorkedExamplesFitCentreAndFrameThePicture) {
    const WorkedExample examples[] = {
        {1024, 768, 480, 360, 0, 60}, {600, 800, 360, 480, 60, 0},  {3000, 2000, 480, 320, 0, 80},
        {100, 50, 100, 50, 190, 215}, {479, 100, 479, 100, 0, 190}, {1024, 1024, 480, 480, 0, 0},
    };
    for (const WorkedExample &e : examples) {
        SCOPED_TRACE(testing::Message() << e.ws << "x" << e.hs);
        flatPicture(e.ws, e.hs);
        ASSERT_TRUE(makeThumbnail(destination, picture, frame, scratch));
        expectOuterRectangle(e.ox, e.ox + e.w + 31, e.oy, e.oy + e.h + 31);
        // Picture corners inside the frame, the frame's top-left corner tile around them.
        EXPECT_EQ(pixelAt(destination, e.ox + 16, e.oy + 16), FLAT);
        EXPECT_EQ(pixelAt(destination, e.ox + 15 + e.w, e.oy + 15 + e.h), FLAT);
        EXPECT_EQ(pixelAt(destination, e.ox + 15, e.oy + 15), framePixel(15, 15));
        EXPECT_EQ(pixelAt(destination, e.ox + 16 + e.w, e.oy + 16 + e.h), framePixel(32, 32));
    }
}

TEST_F(Thumbnails, FramePiecesComeFromTheirTilesAndEdgesCutTheLastCopy) {
    // 100 x 50: edges of 6 whole tiles plus 4 columns, and 3 whole tiles plus 2 rows.
    fillImage(picture, 100, 50, IL_ORIGIN_LOWER_LEFT, picturePixel);
    ILuint entry = destination;
    ilBindImage(entry);
    ASSERT_TRUE(makeThumbnail(destination, picture, frame, scratch));
    EXPECT_EQ((ILuint)ilGetInteger(IL_CUR_IMAGE), entry);

    const ILuint ox = 190, oy = 215, w = 100, h = 50;
    for (ILuint d = 0; d < 16; ++d) {
        for (ILuint e = 0; e < 16; ++e) {
            EXPECT_EQ(pixelAt(destination, ox + d, oy + e), framePixel(d, e));
            EXPECT_EQ(pixelAt(destination, ox + 16 + w + d, oy + e), framePixel(32 + d, e));
            EXPECT_EQ(pixelAt(destination, ox + 16 + w + d, oy + 16 + h + e),
                      framePixel(32 + d, 32 + e));
            EXPECT_EQ(pixelAt(destination, ox + d, oy + 16 + h + e), framePixel(d, 32 + e));
        }
        for (ILuint x = 0; x < w; ++x) {
            EXPECT_EQ(pixelAt(destination, ox + 16 + x, oy + d), framePixel(16 + x % 16, d));
            EXPECT_EQ(pixelAt(destination, ox + 16 + x, oy + 16 + h + d),
                      framePixel(16 + x % 16, 32 + d));
        }
        for (ILuint y = 0; y < h; ++y) {
            EXPECT_EQ(pixelAt(destination, ox + d, oy + 16 + y), framePixel(d, 16 + y % 16));
            EXPECT_EQ(pixelAt(destination, ox + 16 + w + d, oy + 16 + y),
                      framePixel(32 + d, 16 + y % 16));
        }
    }
    // Frame and picture are left as they were.
    EXPECT_EQ(pixelAt(frame, 47, 0), framePixel(47, 0));
    EXPECT_EQ(pixelAt(picture, 99, 49), picturePixel(99, 49));
}

TEST_F(Thumbnails, PictureLandsUprightWhicheverRowOrderItWasDecodedIn) {
    for (ILenum origin : {IL_ORIGIN_LOWER_LEFT, IL_ORIGIN_UPPER_LEFT}) {
        fillImage(picture, 480, 480, origin, picturePixel);
        ASSERT_TRUE(makeThumbnail(destination, picture, frame, scratch));
        // Exactly the inner area: copied pixel for pixel, no resampling.
        int wrong = 0;
        for (ILuint y = 0; y < 480; y += 7)
            for (ILuint x = 0; x < 480; ++x)
                wrong += pixelAt(destination, 16 + x, 16 + y) != picturePixel(x, y);
        EXPECT_EQ(wrong, 0) << "origin " << std::hex << origin;
        // The destination keeps its bottom-row-first order, ready for the texture upload.
        ilBindImage(destination);
        EXPECT_EQ(ilGetInteger(IL_IMAGE_ORIGIN), IL_ORIGIN_LOWER_LEFT);
    }
}

TEST_F(Thumbnails, OnlyPicturesBeyondTheInnerAreaAreShrunk) {
    // One side at the limit: not resampled, the position pattern survives intact.
    for (auto size : {std::array<ILuint, 2>{480, 200}, std::array<ILuint, 2>{200, 480}}) {
        fillImage(picture, size[0], size[1], IL_ORIGIN_UPPER_LEFT, picturePixel);
        ASSERT_TRUE(makeThumbnail(destination, picture, frame, scratch));
        ILuint ox = (480 - size[0]) / 2, oy = (480 - size[1]) / 2;
        EXPECT_EQ(pixelAt(destination, ox + 16 + size[0] - 1, oy + 16 + size[1] - 1),
                  picturePixel(size[0] - 1, size[1] - 1));
        expectOuterRectangle(ox, ox + size[0] + 31, oy, oy + size[1] + 31);
    }
    // One pixel over: fitted by width, 100 * 480 / 481 truncated.
    flatPicture(481, 100);
    ASSERT_TRUE(makeThumbnail(destination, picture, frame, scratch));
    expectOuterRectangle(0, 511, 190, 190 + 99 + 31);
}

TEST_F(Thumbnails, ShrunkSizeFollowsTheFloatingPointFormulaNotTheIntegerRatio) {
    // 646 * 480 / 969 is exactly 320, but the formula gives 319: the frame ends one row
    // higher and the odd pixel joins the bottom margin. Likewise for the portrait and square.
    flatPicture(969, 646);
    ASSERT_TRUE(makeThumbnail(destination, picture, frame, scratch));
    expectOuterRectangle(0, 511, 80, 80 + 319 + 31);

    flatPicture(646, 969);
    ASSERT_TRUE(makeThumbnail(destination, picture, frame, scratch));
    expectOuterRectangle(80, 80 + 319 + 31, 0, 511);

    flatPicture(969, 969);
    ASSERT_TRUE(makeThumbnail(destination, picture, frame, scratch));
    expectOuterRectangle(0, 511, 0, 510);
    // A flat colour stays flat through the bilinear shrink.
    EXPECT_EQ(pixelAt(destination, 255, 255), FLAT);
}

TEST_F(Thumbnails, ExtremelyElongatedPictureKeepsAOnePixelLine) {
    // 5 * 480 / 10000 truncates to 0; the picture is kept one pixel thick.
    flatPicture(10000, 5);
    ASSERT_TRUE(makeThumbnail(destination, picture, frame, scratch));
    expectOuterRectangle(0, 511, 239, 239 + 1 + 31);
    EXPECT_EQ(pixelAt(destination, 200, 255), FLAT);
    EXPECT_EQ(pixelAt(destination, 200, 256), framePixel(16 + 184 % 16, 32));

    flatPicture(5, 10000);
    ASSERT_TRUE(makeThumbnail(destination, picture, frame, scratch));
    expectOuterRectangle(239, 239 + 1 + 31, 0, 511);
    EXPECT_EQ(pixelAt(destination, 255, 300), FLAT);
}

TEST_F(Thumbnails, FillImageRectRefusesImagesThatAreNotRgba) {
    ilBindImage(scratch);
    ilTexImage(4, 4, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, nullptr);
    startCapture(stderr);
    EXPECT_FALSE(fillImageRect(scratch, 0, 0, 1, 1, 0, 0, 0, 0));
    EXPECT_EQ(stopCapture(stderr), "ERROR: Image format should be RGBA\n");
}

} // namespace
