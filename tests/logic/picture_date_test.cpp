// picture_date_test.cpp -- the date a picture was taken, read from its TIFF structure: the EXIF
// original date first, the image's own date otherwise, and nothing from a clock never set or
// from a malformed entry.
#include <gtest/gtest.h>

#include <string>

#include "pictures/tiff_header.h"
#include "support/big_endian.h"

namespace {

// A big-endian TIFF whose first directory holds the image's date (when given) and points to an
// EXIF directory holding the original date (when given). Each date is 20 bytes with its end.
std::string tiffWithDates(const std::string &imageDate, const std::string &originalDate,
                          unsigned dateCount = 20) {
    std::string tiff("MM\x00\x2A", 4);
    put32(&tiff, 8);
    const unsigned entries = 2;
    const unsigned exifDirectory = 8 + 2 + 12 * entries + 4;
    const unsigned imageDateAt = exifDirectory + 2 + 12 + 4;
    const unsigned originalDateAt = imageDateAt + 20;
    put16(&tiff, entries);
    put16(&tiff, imageDate.empty() ? 0x0131 : 0x0132); // an unrelated tag when there is none
    put16(&tiff, 2);
    put32(&tiff, dateCount);
    put32(&tiff, imageDateAt);
    put16(&tiff, 0x8769);
    put16(&tiff, 4);
    put32(&tiff, 1);
    put32(&tiff, exifDirectory);
    put32(&tiff, 0);
    put16(&tiff, 1);
    put16(&tiff, originalDate.empty() ? 0x9004 : 0x9003);
    put16(&tiff, 2);
    put32(&tiff, dateCount);
    put32(&tiff, originalDateAt);
    put32(&tiff, 0);
    tiff += (imageDate.empty() ? std::string(19, 'x') : imageDate) + '\0';
    tiff += (originalDate.empty() ? std::string(19, 'x') : originalDate) + '\0';
    return tiff;
}

std::string dateOf(const std::string &tiff) {
    char date[20] = "unchanged";
    bool found =
        tiffDateTaken(reinterpret_cast<const unsigned char *>(tiff.data()), tiff.size(), date);
    EXPECT_EQ(found, date[0] != '\0');
    return date;
}

} // namespace

TEST(PictureDate, TheOriginalDateComesFirstThenTheImagesOwn) {
    EXPECT_EQ(dateOf(tiffWithDates("2020:01:02 03:04:05", "2019:12:31 23:59:58")),
              "2019:12:31 23:59:58");
    EXPECT_EQ(dateOf(tiffWithDates("2020:01:02 03:04:05", "")), "2020:01:02 03:04:05");
    EXPECT_EQ(dateOf(tiffWithDates("", "")), "");
}

TEST(PictureDate, UnsetClocksMalformedEntriesAndCutDataGiveNoDate) {
    EXPECT_EQ(dateOf(tiffWithDates("", "0000:00:00 00:00:00")), "");
    EXPECT_EQ(dateOf(tiffWithDates("", "2019-12-31 23:59:58")), "");
    EXPECT_EQ(dateOf(tiffWithDates("", "2019:12:31 23:59:58", 21)), "");
    std::string cut = tiffWithDates("", "2019:12:31 23:59:58");
    cut.resize(cut.size() - 5);
    EXPECT_EQ(dateOf(cut), "");
    EXPECT_EQ(dateOf("II*"), "");
}
