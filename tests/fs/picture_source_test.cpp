// picture_source_test.cpp -- pictures as the room gets them, on real files and the real
// thumbnail cache: what is on disk is trusted only when it is whole and of this version of the
// file, and a long sparse tail after a picture is never read.
#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "loading/picture_source.h"
#include "loading/pixel_budget.h"
#include "loading/prepared_pictures.h"
#include "platform/thumbnail_cache.h"
#include "support/crafted_pictures.h"
#include "support/temp_tree.h"
#include "support/test_pictures.h"

namespace {

class PictureSource : public ::testing::Test {
  protected:
    std::string folder, path, cached;
    void SetUp() override {
        folder = makeTempFolder();
        ASSERT_FALSE(folder.empty());
        path = folder + "/picture.bmp";
        const char *cache = getenv("XDG_CACHE_HOME");
        ASSERT_NE(cache, nullptr);
        cached = std::string(cache) + "/thumbnails/x-large/" +
                 thumbnailFileName(thumbnailUri(path.c_str()));
    }
    void TearDown() override {
        clearPictureStore(&decodedPictures);
        removeTree(folder);
    }
    // Every pixel of the picture is this colour: nothing of another picture, and no rows left
    // unfilled.
    static bool allOf(const Picture &picture, unsigned char red, unsigned char green,
                      unsigned char blue) {
        for (size_t i = 0; i < picture.pixels.size(); i += 4)
            if (picture.pixels[i] != red || picture.pixels[i + 1] != green ||
                picture.pixels[i + 2] != blue)
                return false;
        return !picture.pixels.empty();
    }
    off_t cachedSize() {
        struct stat info;
        return stat(cached.c_str(), &info) == 0 ? info.st_size : -1;
    }
};

} // namespace

TEST_F(PictureSource, TruncatedCachedThumbnailIsRewrittenAndThePictureShownWhole) {
    ASSERT_TRUE(writeBytes(path, solidBmp(600, 400, 200, 30, 40)));
    writeThumbnailOf(path.c_str());
    off_t whole = cachedSize();
    ASSERT_GT(whole, 0);
    ASSERT_EQ(truncate(cached.c_str(), whole / 2), 0); // a crash in another program's write

    Picture picture;
    std::unique_ptr<ThumbnailToWrite> wanted;
    ASSERT_EQ(
        obtainPicture(path.c_str(), readPictureStamp(path.c_str()), 480, 480, &picture, &wanted),
        PICTURE_DECODED);
    EXPECT_EQ(picture.width * 1000 + picture.height, 480320u);
    EXPECT_TRUE(allOf(picture, 200, 30, 40));
    EXPECT_TRUE(wanted != nullptr);
    writeThumbnailOf(path.c_str());
    EXPECT_EQ(cachedSize(), whole);
    FileStamp stamp;
    CachedThumbnail thumbnail;
    ASSERT_TRUE(readFileStamp(path.c_str(), &stamp));
    EXPECT_EQ(readCachedThumbnail(path.c_str(), stamp, &thumbnail), THUMBNAIL_FOUND);
}

TEST_F(PictureSource, ReplacementWithTheSameSizeAndModificationTimeIsShownAnew) {
    // The red picture decoded, held in memory and written to the cache, then a blue one of the
    // same size copied over it keeping its time, as cp -p and rsync -t do.
    ASSERT_TRUE(writeBytes(path, solidBmp(64, 48, 255, 0, 0)));
    FileStamp red;
    ASSERT_TRUE(readFileStamp(path.c_str(), &red));
    Picture picture;
    std::unique_ptr<ThumbnailToWrite> wanted;
    ASSERT_EQ(
        obtainPicture(path.c_str(), readPictureStamp(path.c_str()), 480, 480, &picture, &wanted),
        PICTURE_DECODED);
    keepPicture(&decodedPictures, path.c_str(), red, std::make_shared<const Picture>(picture));
    writeThumbnailOf(path.c_str());
    ASSERT_GT(cachedSize(), 0);

    // File times count in clock ticks of a few milliseconds: the copy comes a tick after the
    // thumbnail (one in the same tick is what the README says may be shown stale).
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    std::string copy = folder + "/copy.bmp";
    ASSERT_TRUE(writeBytes(copy, solidBmp(64, 48, 0, 0, 255)));
    struct timespec times[2] = {{0, UTIME_OMIT}, {red.mtime, red.mtimeNanoseconds}};
    ASSERT_EQ(utimensat(AT_FDCWD, copy.c_str(), times, 0), 0);
    ASSERT_EQ(rename(copy.c_str(), path.c_str()), 0);

    ASSERT_EQ(
        obtainPicture(path.c_str(), readPictureStamp(path.c_str()), 480, 480, &picture, &wanted),
        PICTURE_DECODED);
    EXPECT_TRUE(allOf(picture, 0, 0, 255));
    // Once decoded, the store no longer holds the red one; the thumbnail is rewritten blue.
    clearPictureStore(&decodedPictures);
    writeThumbnailOf(path.c_str());
    ASSERT_EQ(
        obtainPicture(path.c_str(), readPictureStamp(path.c_str()), 480, 480, &picture, &wanted),
        PICTURE_DECODED);
    EXPECT_FALSE(wanted != nullptr); // from the cache this time
    EXPECT_TRUE(allOf(picture, 0, 0, 255));
}

TEST_F(PictureSource, ThumbnailComesFromTheRoomsOwnDecodeAndLeavesThePictureAsItWas) {
    // Stored 1600 x 1200 and turned a quarter by its EXIF: decoded at half size, which covers
    // both the frame's 360 x 480 and the cache's 383 x 512 (its fit truncates).
    std::string jpeg = folder + "/photo.jpg";
    ASSERT_TRUE(writeTexturedJpeg(jpeg, 1600, 1200, 6));
    Picture alone, forCache;
    ASSERT_EQ(decodePicture(jpeg.c_str(), 480, 480, &alone), PICTURE_DECODED);
    ASSERT_EQ(decodePicture(jpeg.c_str(), 512, 512, &forCache), PICTURE_DECODED);
    uint64_t taken = decodedPixelBudget().taken();

    Picture picture;
    std::unique_ptr<ThumbnailToWrite> thumbnail;
    ASSERT_EQ(
        obtainPicture(jpeg.c_str(), readPictureStamp(jpeg.c_str()), 480, 480, &picture, &thumbnail),
        PICTURE_DECODED);
    EXPECT_EQ(picture.width * 1000 + picture.height, 360480u);
    EXPECT_TRUE(picture.pixels == alone.pixels) << "the slot's picture changed";
    ASSERT_NE(thumbnail, nullptr);
    EXPECT_EQ(thumbnail->picture.width * 1000 + thumbnail->picture.height, 383512u);
    EXPECT_TRUE(thumbnail->picture.pixels == forCache.pixels) << "not the writer's own thumbnail";
    EXPECT_EQ(decodedPixelBudget().taken(), taken + 383 * 512 * 4);

    // Written from the pixels in hand: the file is not read again.
    FileStamp stamp = thumbnail->stamp;
    ASSERT_EQ(truncate(jpeg.c_str(), 0), 0);
    writeThumbnail(*thumbnail);
    thumbnail.reset();
    EXPECT_EQ(decodedPixelBudget().taken(), taken);
    CachedThumbnail written;
    ASSERT_EQ(readCachedThumbnail(jpeg.c_str(), stamp, &written), THUMBNAIL_FOUND);
    EXPECT_EQ(written.width * 1000 + written.height, 383512u);
    EXPECT_EQ(written.originalWidth * 10000 + written.originalHeight, 12001600);
}

TEST_F(PictureSource, ThumbnailTheDecodeCannotCoverIsLeftToTheWriter) {
    // 4000 x 3000 is decoded at an eighth, 500 x 375: enough for the frame, not for 512 x 384.
    std::string jpeg = folder + "/large.jpg";
    ASSERT_TRUE(writeTexturedJpeg(jpeg, 4000, 3000, 1));
    Picture alone;
    ASSERT_EQ(decodePicture(jpeg.c_str(), 480, 480, &alone), PICTURE_DECODED);
    uint64_t taken = decodedPixelBudget().taken();
    Picture picture;
    std::unique_ptr<ThumbnailToWrite> thumbnail;
    ASSERT_EQ(
        obtainPicture(jpeg.c_str(), readPictureStamp(jpeg.c_str()), 480, 480, &picture, &thumbnail),
        PICTURE_DECODED);
    EXPECT_TRUE(picture.pixels == alone.pixels) << "the slot's picture changed";
    ASSERT_NE(thumbnail, nullptr);
    EXPECT_TRUE(thumbnail->picture.pixels.empty());
    EXPECT_EQ(decodedPixelBudget().taken(), taken);
    writeThumbnail(*thumbnail);
    CachedThumbnail written;
    ASSERT_EQ(readCachedThumbnail(jpeg.c_str(), thumbnail->stamp, &written), THUMBNAIL_FOUND);
    EXPECT_EQ(written.width * 1000 + written.height, 512384u);
}

// In a child process, so that its peak memory is the decode's alone.
TEST_F(PictureSource, SparseTailOfGigabytesCostsNeitherMemoryNorTime) {
    struct Case {
        const char *name;
        Bytes bytes;
        off_t tail;
    } cases[] = {
        {"tail.gif", solidGif(64, 48, true), (off_t)1 << 30},    // the GIF decoder keeps every byte
        {"tail.bmp", solidBmp(64, 48, 1, 2, 3), (off_t)4 << 30}, // others read it through
        {"tail.jpg", progressiveJpeg(64, 48, 3), (off_t)4 << 30},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::string file = folder + "/" + c.name;
        ASSERT_TRUE(writeBytes(file, c.bytes));
        ASSERT_EQ(truncate(file.c_str(), (off_t)c.bytes.size() + c.tail), 0);
        auto start = std::chrono::steady_clock::now();
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            Picture picture;
            _exit(decodePicture(file.c_str(), 480, 480, &picture) == PICTURE_DECODED &&
                          picture.width == 64
                      ? 0
                      : 1);
        }
        int status = 0;
        struct rusage usage;
        ASSERT_EQ(wait4(child, &status, 0, &usage), child);
        double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        EXPECT_LT(usage.ru_maxrss, 300 * 1024); // kilobytes: the test program itself and a little
        EXPECT_LT(seconds, 5.0); // a guard against reading gigabytes, which took 5 to 13 s
    }
}
