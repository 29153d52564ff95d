// test_samples.cpp -- the sample gallery's encoders read back through DevIL, and the picture-name
// rule.
#include "samples/picture_check.h"
#include "samples/picture_writers.h"

#include <IL/il.h>
#include <gtest/gtest.h>

namespace {

Picture decodeBytes(const std::vector<unsigned char> &bytes, ILenum type) {
    static bool ready = false;
    if (!ready) {
        initPictureDecoder();
        ready = true;
    }
    Picture decoded;
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    if (ilLoadL(type, bytes.data(), static_cast<ILuint>(bytes.size())) &&
        ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE)) {
        decoded = makePicture(ilGetInteger(IL_IMAGE_WIDTH), ilGetInteger(IL_IMAGE_HEIGHT));
        const ILubyte *data = ilGetData();
        decoded.rgb.assign(data, data + decoded.rgb.size());
    }
    ilDeleteImages(1, &image);
    return decoded;
}

// An indexed picture whose palette entry i is a colour no other entry shares.
IndexedPicture indexedOf(int width, int height, uint32_t seed, int colours) {
    IndexedPicture indexed;
    indexed.width = width;
    indexed.height = height;
    for (int i = 0; i < 256; i++) {
        indexed.palette[i * 3] = static_cast<unsigned char>(i);
        indexed.palette[i * 3 + 1] = static_cast<unsigned char>(255 - i);
        indexed.palette[i * 3 + 2] = static_cast<unsigned char>(i * 7);
    }
    indexed.indices.resize(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < indexed.indices.size(); i++) {
        indexed.indices[i] =
            static_cast<unsigned char>(hashCell(static_cast<int>(i), 0, seed) % colours);
    }
    return indexed;
}

// A strict LZW reader: true only when the codes give exactly the expected indices and then the
// end code at the width a decoder expects, with nothing after it but the last byte's padding.
bool lzwEndsExactly(const std::vector<unsigned char> &codes, int minCodeSize,
                    const std::vector<unsigned char> &expected) {
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    std::vector<int> prefix(4096, -1);
    std::vector<unsigned char> suffix(4096, 0);
    for (int i = 0; i < clearCode; i++) {
        suffix[i] = static_cast<unsigned char>(i);
    }
    std::vector<unsigned char> output;
    size_t bitPosition = 0;
    int width = minCodeSize + 1;
    int nextCode = endCode + 1;
    int previous = -1;
    auto expand = [&](int code) {
        std::vector<unsigned char> text;
        for (; code >= 0; code = prefix[code]) {
            text.insert(text.begin(), suffix[code]);
        }
        return text;
    };
    while (bitPosition + width <= codes.size() * 8) {
        int code = 0;
        for (int bit = 0; bit < width; bit++, bitPosition++) {
            code |= ((codes[bitPosition / 8] >> (bitPosition % 8)) & 1) << bit;
        }
        if (code == clearCode) {
            width = minCodeSize + 1;
            nextCode = endCode + 1;
            previous = -1;
            continue;
        }
        if (code == endCode) {
            return output == expected && (bitPosition + 7) / 8 == codes.size();
        }
        if (previous < 0) {
            if (code >= clearCode) {
                return false;
            }
            output.push_back(static_cast<unsigned char>(code));
            previous = code;
            continue;
        }
        if (code > nextCode) {
            return false;
        }
        std::vector<unsigned char> text = expand(code < nextCode ? code : previous);
        if (code == nextCode) {
            text.push_back(text[0]);
        }
        output.insert(output.end(), text.begin(), text.end());
        if (nextCode < 4096) {
            prefix[nextCode] = previous;
            suffix[nextCode] = text[0];
            nextCode++;
            if (nextCode == (1 << width) && width < 12) {
                width++;
            }
        }
        previous = code;
    }
    return false;
}

void expectGifRoundTrip(const IndexedPicture &indexed) {
    const Picture decoded = decodeBytes(encodeGif(indexed), IL_GIF);
    ASSERT_EQ(decoded.width, indexed.width);
    ASSERT_EQ(decoded.height, indexed.height);
    EXPECT_EQ(meanDifference(decoded, expandIndexed(indexed)), 0.0)
        << indexed.width << "x" << indexed.height;
}

} // namespace

// Noise in 256 colours makes a new code for almost every pixel, so the lengths below end the
// stream on each side of the switches from 9 to 10 and 10 to 11 bits. (DevIL refuses every
// 1x1 GIF, whoever wrote it, so the lengths start at 2.)
TEST(GifWriter, EveryLengthAroundCodeWidthChangesReadsBack) {
    for (int length = 2; length <= 1100; length++) {
        const IndexedPicture indexed = indexedOf(length, 1, 5, 256);
        EXPECT_TRUE(lzwEndsExactly(encodeGifLzw(indexed.indices, 8), 8, indexed.indices))
            << "length " << length;
        expectGifRoundTrip(indexed);
        if (HasFailure()) {
            return;
        }
    }
}

TEST(GifWriter, FullCodeTablesAreClearedAndRestarted) {
    for (const IndexedPicture &indexed : {indexedOf(300, 300, 9, 256),  // many table fills
                                          indexedOf(640, 480, 3, 4)}) { // long strings
        EXPECT_TRUE(lzwEndsExactly(encodeGifLzw(indexed.indices, 8), 8, indexed.indices));
        expectGifRoundTrip(indexed);
    }
}

TEST(GifWriter, OneColourPictureOfLongRunsReadsBack) {
    const IndexedPicture indexed = indexedOf(1000, 700, 1, 1);
    EXPECT_TRUE(lzwEndsExactly(encodeGifLzw(indexed.indices, 8), 8, indexed.indices));
    expectGifRoundTrip(indexed);
}

TEST(BmpWriter, RowsOfEveryPaddingReadBackTopRowFirst) {
    for (int width = 1; width <= 5; width++) {
        Picture picture = makePicture(width, 3);
        for (size_t i = 0; i < picture.rgb.size(); i++) {
            picture.rgb[i] = static_cast<unsigned char>(i * 37 + width);
        }
        const Picture decoded = decodeBytes(encodeBmp(picture), IL_BMP);
        EXPECT_EQ(meanDifference(decoded, picture), 0.0) << "width " << width;
    }
}

TEST(ColourQuantizer, FewDistinctColoursAreKeptExactly) {
    Picture picture = makePicture(64, 40);
    for (int y = 0; y < picture.height; y++) {
        for (int x = 0; x < picture.width; x++) {
            // 200 colours, each in its own 15-bit cell
            const int colour = (x + y * picture.width) % 200;
            unsigned char *pixel = &picture.rgb[(y * picture.width + x) * 3];
            pixel[0] = static_cast<unsigned char>((colour % 8) * 32 + 3);
            pixel[1] = static_cast<unsigned char>((colour / 8 % 5) * 48 + 5);
            pixel[2] = static_cast<unsigned char>((colour / 40) * 40 + 1);
        }
    }
    EXPECT_EQ(meanDifference(expandIndexed(quantizePicture(picture)), picture), 0.0);
}

TEST(ColourQuantizer, SmoothGradientStaysClose) {
    Picture picture = makePicture(256, 256);
    for (int y = 0; y < 256; y++) {
        for (int x = 0; x < 256; x++) {
            putPixel(picture, x, y, {x / 255.0f, y / 255.0f, (x + y) / 510.0f});
        }
    }
    const double difference = meanDifference(expandIndexed(quantizePicture(picture)), picture);
    EXPECT_GE(difference, 0.0);
    EXPECT_LT(difference, 4.0);
}

TEST(JpegWriter, ReadsBackCloseToThePaintedPicture) {
    Picture picture = makePicture(33, 17); // sizes that are not whole blocks
    for (int y = 0; y < picture.height; y++) {
        for (int x = 0; x < picture.width; x++) {
            putPixel(picture, x, y, {x / 33.0f, 0.5f, y / 17.0f});
        }
    }
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(encodeJpeg(picture, 90, bytes));
    const double difference = meanDifference(decodeBytes(bytes, IL_JPG), picture);
    EXPECT_GE(difference, 0.0);
    EXPECT_LT(difference, 3.0);
}

TEST(PictureNames, LastExtensionDecidesInAnyCase) {
    EXPECT_TRUE(isPictureName("Sunset.JPG"));
    EXPECT_TRUE(isPictureName("a.Jpeg"));
    EXPECT_TRUE(isPictureName("x.gif"));
    EXPECT_TRUE(isPictureName("y.bMp"));
    EXPECT_TRUE(isPictureName(".jpg"));
    EXPECT_FALSE(isPictureName("cover.jpg.txt"));
    EXPECT_FALSE(isPictureName("draft."));
    EXPECT_FALSE(isPictureName("jpg"));
    EXPECT_FALSE(isPictureName("photo.png"));
}
