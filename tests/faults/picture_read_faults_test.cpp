// picture_read_faults_test.cpp -- files that fail or run on while being read: an I/O error is
// no verdict on the picture and leaves no failure record; a tail after the picture is not read.
#include <gtest/gtest.h>
#include <string>

#include "fakes/fake_picture_file.h"
#include "loading/picture_source.h"
#include "platform/thumbnail_cache.h"
#include "support/crafted_pictures.h"
#include "support/temp_tree.h"

namespace {

class PictureReadFaults : public ::testing::Test {
  protected:
    std::string folder, path;
    void SetUp() override {
        folder = makeTempFolder();
        ASSERT_FALSE(folder.empty());
        path = folder + "/picture.gif";
    }
    void TearDown() override {
        clearFakePictureFiles();
        removeTree(folder);
    }
    // The picture on disk (for its stamp and its place in the cache) and served by the fake.
    void serve(const Bytes &bytes, size_t failAfter, size_t zeroTail = 0) {
        ASSERT_TRUE(writeBytes(path, bytes));
        FakePictureFile file;
        file.bytes = bytes;
        file.failAfter = failAfter;
        file.zeroTail = zeroTail;
        scriptFakePictureFile(path, file);
    }
    ThumbnailLookup lookup() {
        FileStamp stamp;
        CachedThumbnail thumbnail;
        if (!readFileStamp(path.c_str(), &stamp))
            return THUMBNAIL_MISSING;
        return readCachedThumbnail(path.c_str(), stamp, &thumbnail);
    }
};

} // namespace

TEST_F(PictureReadFaults, IoErrorPartWayLeavesNoFailureRecordAndTheRecoveredFileDecodes) {
    // A small file fails within the first read; a large one (about 560 KB) after the decoder
    // has had its first bytes.
    for (int side : {40, 1000}) {
        SCOPED_TRACE(side);
        Bytes gif = solidGif(side, side, true);
        serve(gif, gif.size() / 2);
        Picture picture;
        std::unique_ptr<ThumbnailToWrite> wanted;
        EXPECT_EQ(obtainPicture(path.c_str(), readPictureStamp(path.c_str()), 480, 480, &picture,
                                &wanted),
                  PICTURE_READ_FAILED);
        EXPECT_FALSE(wanted != nullptr);
        writeThumbnailOf(path.c_str());
        EXPECT_EQ(lookup(), THUMBNAIL_MISSING); // neither a record nor a thumbnail

        serve(gif, (size_t)-1); // the storage is back
        ASSERT_EQ(obtainPicture(path.c_str(), readPictureStamp(path.c_str()), 480, 480, &picture,
                                &wanted),
                  PICTURE_DECODED);
        EXPECT_EQ(picture.originalWidth, (uint32_t)side);
    }
}

TEST_F(PictureReadFaults, BrokenPictureIsStillRecorded) {
    Bytes gif = solidGif(40, 40, true);
    gif.resize(30); // its image cut off: the bytes say it is broken
    serve(gif, (size_t)-1);
    Picture picture;
    std::unique_ptr<ThumbnailToWrite> wanted;
    EXPECT_EQ(
        obtainPicture(path.c_str(), readPictureStamp(path.c_str()), 480, 480, &picture, &wanted),
        PICTURE_UNDECODABLE);
#ifndef _WIN32 // no thumbnail cache there
    EXPECT_EQ(lookup(), THUMBNAIL_KNOWN_TO_FAIL);
#endif
}

TEST_F(PictureReadFaults, LongTailAfterThePictureIsNotRead) {
    // A GIF, then 256 MB of zeros: only the first read's worth is taken.
    Bytes gif = solidGif(64, 48, true);
    serve(gif, (size_t)-1, (size_t)1 << 28);
    Picture picture;
    ASSERT_EQ(decodePicture(path.c_str(), 480, 480, &picture), PICTURE_DECODED);
    EXPECT_LE(fakePictureBytesRead(path), (size_t)256 * 1024);
    EXPECT_EQ(picture.width * 100 + picture.height, 6448u);
}
