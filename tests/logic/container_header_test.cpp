// container_header_test.cpp -- the brands and declared sizes of HEIF, AVIF, WebP and TIFF files,
// read before any decoder sees them, the memory bound they feed and how far their files are read.
#include <algorithm>
#include <gtest/gtest.h>
#include <string>

#include "pictures/container_header.h"
#include "pictures/picture_extent.h"
#include "pictures/picture_decoder.h"
#include "pictures/tiff_header.h"

namespace {

std::string bigEndian32(uint32_t value) {
    return {(char)(value >> 24), (char)(value >> 16), (char)(value >> 8), (char)value};
}

std::string box(const std::string &type, const std::string &payload) {
    return bigEndian32((uint32_t)(8 + payload.size())) + type + payload;
}

std::string ftyp(const std::string &major, const std::string &compatible) {
    return box("ftyp", major + std::string(4, '\0') + compatible);
}

std::string ispe(uint32_t width, uint32_t height) {
    return box("ispe", std::string(4, '\0') + bigEndian32(width) + bigEndian32(height));
}

// An ISO media picture whose meta box declares the given image extents.
std::string isoPicture(const std::string &major, const std::string &properties) {
    std::string meta = box("meta", std::string(4, '\0') + box("hdlr", std::string(24, 'h')) +
                                       box("iprp", box("ipco", properties)));
    return ftyp(major, "mif1") + meta + box("mdat", "not really coded pixels");
}

IsoPictureBrand brandOf(const std::string &bytes) {
    return isoPictureBrand((const unsigned char *)bytes.data(), bytes.size());
}

PictureDecodeResult decodeBytes(const std::string &bytes) {
    Picture picture;
    return decodePictureBytes((const unsigned char *)bytes.data(), bytes.size(), 480, 480,
                              &picture);
}

} // namespace

TEST(ContainerHeader, BrandsTellHeifFromAvifAndFromVideo) {
    EXPECT_EQ(brandOf(ftyp("heic", "mif1heic")), ISO_HEIF);
    EXPECT_EQ(brandOf(ftyp("mif1", "mif1heic")), ISO_HEIF);
    EXPECT_EQ(brandOf(ftyp("mif1", "mif1")), ISO_HEIF);
    EXPECT_EQ(brandOf(ftyp("avif", "mif1miaf")), ISO_AVIF);
    EXPECT_EQ(brandOf(ftyp("mif1", "avifmiaf")), ISO_AVIF);
    EXPECT_EQ(brandOf(ftyp("isom", "iso2mp41")), ISO_NOT_A_PICTURE); // a video
    std::string cut = ftyp("heic", "mif1heic");
    EXPECT_EQ(brandOf(cut.substr(0, 10)), ISO_NOT_A_PICTURE);
    EXPECT_EQ(brandOf(box("free", "") + cut), ISO_NOT_A_PICTURE); // ftyp must come first
}

TEST(ContainerHeader, LargestDeclaredExtentIsThePicturesAndLiesAreSafe) {
    uint32_t width = 0, height = 0;
    std::string phone = isoPicture("heic", ispe(320, 240) + ispe(4032, 3024) + ispe(512, 512));
    ASSERT_TRUE(isoPictureSize((const unsigned char *)phone.data(), phone.size(), &width, &height));
    EXPECT_EQ(width, 4032u);
    EXPECT_EQ(height, 3024u);

    // Cut anywhere, or with a box claiming more than there is, it is simply not found.
    for (size_t size = 0; size < phone.find("mdat") - 4; ++size)
        EXPECT_FALSE(isoPictureSize((const unsigned char *)phone.data(), size, &width, &height))
            << size;
    std::string lying = phone;
    lying.replace(phone.find("ipco") - 4, 4, bigEndian32(0x7fffffff));
    EXPECT_FALSE(
        isoPictureSize((const unsigned char *)lying.data(), lying.size(), &width, &height));
}

TEST(ContainerHeader, WebpCanvasFromEachKindOfFirstChunk) {
    auto riff = [](const std::string &chunk, const std::string &payload) {
        std::string padded = payload + std::string(32, '\0');
        return "RIFF" + std::string(4, '\0') + "WEBP" + chunk + std::string(4, '\0') + padded;
    };
    struct Case {
        std::string bytes;
        uint32_t width, height;
    } cases[] = {
        // Extended: 24-bit sides less one.
        {riff("VP8X", std::string("\x10\0\0\0\x9f\x0f\0\xbb\x0b\0", 10)), 4000, 3004},
        // Lossy key frame: tag, start code, 14-bit sides (scale bits ignored).
        {riff("VP8 ", std::string("\0\0\0\x9d\x01\x2a\xa0\x4f\xbc\xcb", 10)), 4000, 3004},
        // Lossless: signature, then 14 bits each, less one.
        {riff("VP8L", std::string("\x2f\x9f\xcf\xee\x02", 5)), 4000, 3004},
    };
    for (const Case &c : cases) {
        uint32_t width = 0, height = 0;
        ASSERT_TRUE(webpPictureSize((const unsigned char *)c.bytes.data(), c.bytes.size(), &width,
                                    &height));
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
    }
    uint32_t width, height;
    std::string other = riff("ALPH", "x");
    EXPECT_FALSE(
        webpPictureSize((const unsigned char *)other.data(), other.size(), &width, &height));
}

TEST(ContainerHeader, TiffSizeFromShortOrLongEntries) {
    // Little-endian: width 4000 as LONG, length 3000 as SHORT, then orientation 6.
    std::string tiff("II*\0\x08\0\0\0\x03\0"
                     "\x00\x01\x04\0\x01\0\0\0\xa0\x0f\0\0"
                     "\x01\x01\x03\0\x01\0\0\0\xb8\x0b\0\0"
                     "\x12\x01\x03\0\x01\0\0\0\x06\0\0\0",
                     46);
    uint32_t width = 0, height = 0;
    ASSERT_TRUE(tiffImageSize((const unsigned char *)tiff.data(), tiff.size(), &width, &height));
    EXPECT_EQ(width, 4000u);
    EXPECT_EQ(height, 3000u);
    EXPECT_EQ(tiffOrientation((const unsigned char *)tiff.data(), tiff.size()), 6);
    EXPECT_FALSE(tiffImageSize((const unsigned char *)tiff.data(), 30, &width, &height));
}

TEST(ContainerHeader, DeclaredSizeBoundsThePictureBeforeItsDecoderSeesIt) {
    // A few hundred bytes claiming 65535 x 65535 are refused as too large, not decoded.
    EXPECT_EQ(decodeBytes(isoPicture("heic", ispe(65535, 65535))), PICTURE_TOO_LARGE);
    EXPECT_EQ(decodeBytes(isoPicture("avif", ispe(65535, 65535))), PICTURE_TOO_LARGE);
    std::string webp = "RIFF" + std::string(4, '\0') + "WEBPVP8X" + std::string(4, '\0') +
                       std::string("\x10\0\0\0\xff\x3f\0\xff\x3f\0", 10) + std::string(32, '\0');
    EXPECT_EQ(decodeBytes(webp), PICTURE_TOO_LARGE);
    // A phone's 12-megapixel HEIC fits the bound at full size: this one is refused only because
    // it holds no picture. One that declares no size at all is refused as well.
    EXPECT_EQ(decodeBytes(isoPicture("heic", ispe(4032, 3024))), PICTURE_UNDECODABLE);
    EXPECT_EQ(decodeBytes(isoPicture("heic", "")), PICTURE_UNDECODABLE);
}

namespace {

// Walks the picture followed by a long tail, in 64 KB pieces: the bytes the decoder is handed.
uint64_t bytesHandedOn(PictureFormat format, std::string picture, size_t tail, PictureWalk *walk) {
    picture.append(tail, '\0');
    const unsigned char *bytes = (const unsigned char *)picture.data();
    startPictureWalk(walk, format, bytes, std::min<size_t>(picture.size(), 256 * 1024));
    uint64_t kept = 0;
    for (size_t at = 0; at < picture.size() && !walk->ended && !walk->refused; at += 65536)
        kept += walkPictureBytes(walk, bytes + at, std::min<size_t>(65536, picture.size() - at));
    return kept;
}

std::string littleEndian16(uint32_t value) {
    return {(char)value, (char)(value >> 8)};
}

std::string littleEndian32(uint32_t value) {
    return littleEndian16(value & 0xFFFF) + littleEndian16(value >> 16);
}

// A TIFF's header and first directory, giving only its width and height as SHORTs.
std::string tiffHeader(uint32_t width, uint32_t height) {
    return std::string("II*\0", 4) + littleEndian32(8) + littleEndian16(2) + littleEndian16(256) +
           littleEndian16(3) + littleEndian32(1) + littleEndian32(width) + littleEndian16(257) +
           littleEndian16(3) + littleEndian32(1) + littleEndian32(height) + littleEndian32(0);
}

// An ISO media picture listing the given number of items (an item-info box of version 0).
std::string isoPictureOfItems(uint32_t items) {
    std::string count = {(char)(items >> 8), (char)items};
    std::string iinf = box("iinf", std::string(4, '\0') + count);
    std::string meta = box("meta", std::string(4, '\0') + box("hdlr", std::string(24, 'h')) + iinf +
                                       box("iprp", box("ipco", ispe(640, 480))));
    return ftyp("heic", "mif1heic") + meta;
}

} // namespace

TEST(ContainerHeader, FilesWithoutAnEndMarkerAreReadOnlyAsFarAsTheyDeclare) {
    const uint64_t allowance = 4u << 20;
    PictureWalk walk;
    // WebP: the RIFF size, and the pad byte an odd size may have.
    std::string webp = "RIFF" + littleEndian32(1000) + "WEBPVP8L";
    EXPECT_EQ(bytesHandedOn(PICTURE_WEBP, webp, 5000, &walk), 8u + 1000 + 1);
    EXPECT_TRUE(walk.ended);
    // TIFF, HEIF: the metadata allowance and 16 bytes a declared pixel.
    EXPECT_EQ(bytesHandedOn(PICTURE_TIFF, tiffHeader(100, 50), allowance + 200000, &walk),
              allowance + 100 * 50 * 16);
    std::string heif = isoPicture("heic", ispe(64, 32));
    EXPECT_EQ(bytesHandedOn(PICTURE_HEIF, heif, allowance + 100000, &walk),
              allowance + 64 * 32 * 16);
    // A grid of more items than any picture needs is refused before anything is handed on.
    EXPECT_EQ(bytesHandedOn(PICTURE_HEIF, isoPictureOfItems(4096), 100, &walk),
              isoPictureOfItems(4096).size() + 100);
    EXPECT_FALSE(walk.refused);
    EXPECT_EQ(bytesHandedOn(PICTURE_HEIF, isoPictureOfItems(4097), 100, &walk), 0u);
    EXPECT_TRUE(walk.refused);
}
