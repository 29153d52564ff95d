// thumbnail_cache_test.cpp -- the shared thumbnail cache on a real folder, checked with
// GdkPixbuf as an independent reader: names, keys, staleness, failure records, permissions
// and a cache that cannot be written.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "platform/thumbnail_cache.h"
#include "support/temp_tree.h"

namespace {

std::vector<unsigned char> pattern(int width, int height, int seed) {
    std::vector<unsigned char> rgba(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0; i < rgba.size(); i++)
        rgba[i] = static_cast<unsigned char>(i * 7 + seed);
    return rgba;
}

std::vector<std::string> entries(const std::string &folder) {
    std::vector<std::string> names;
    if (DIR *dir = opendir(folder.c_str())) {
        while (dirent *entry = readdir(dir))
            if (entry->d_name[0] != '.')
                names.push_back(entry->d_name);
        closedir(dir);
    }
    return names;
}

std::string option(GdkPixbuf *pixbuf, const char *key) {
    const char *value = gdk_pixbuf_get_option(pixbuf, key);
    return value != nullptr ? value : "(none)";
}

class ThumbnailCache : public ::testing::Test {
  protected:
    std::string root, picture, thumbnails, uri, savedCache;
    FileStamp stamp{};
    void SetUp() override {
        const char *cache = getenv("XDG_CACHE_HOME");
        savedCache = cache != nullptr ? cache : "";
        root = makeTempFolder();
        ASSERT_FALSE(root.empty());
        picture = root + "/picture.jpg";
        thumbnails = root + "/cache/thumbnails";
        uri = "file://" + picture;
        ASSERT_TRUE(makeFile(picture));
        ASSERT_TRUE(readFileStamp(picture.c_str(), &stamp));
        stamp.size = 123456; // the cache only compares, it never reads the picture
        setenv("XDG_CACHE_HOME", (root + "/cache").c_str(), 1);
    }
    void TearDown() override {
        setenv("XDG_CACHE_HOME", savedCache.c_str(), 1);
        removeTree(root);
    }
    // The freedesktop file name for this picture, computed without the code under test.
    std::string expectedName() {
        gchar *md5 = g_compute_checksum_for_string(G_CHECKSUM_MD5, uri.c_str(), -1);
        std::string name = std::string(md5) + ".png";
        g_free(md5);
        return name;
    }
    std::string expectedFile(const char *folder) {
        return thumbnails + "/" + folder + "/" + expectedName();
    }
    ThumbnailLookup read(const FileStamp &version, CachedThumbnail *thumbnail = nullptr) {
        CachedThumbnail ignored;
        return readCachedThumbnail(picture.c_str(), version, thumbnail ? thumbnail : &ignored);
    }
};

} // namespace

TEST_F(ThumbnailCache, UriAndFileNameFollowTheThumbnailStandard) {
    EXPECT_EQ(thumbnailUri("/home/jens/photos/me.png"), "file:///home/jens/photos/me.png");
    EXPECT_EQ(thumbnailFileName("file:///home/jens/photos/me.png"),
              "c6ee772d9e49320e97ec29a7eb5b1697.png");
    EXPECT_EQ(thumbnailUri("/tmp/a b%c#d\xff.jpg"), "file:///tmp/a%20b%25c%23d%FF.jpg");
    EXPECT_EQ(thumbnailFileName("file:///tmp/a%20b%25c%23d%FF.jpg"),
              "3ae19f4a6c727dde79ea0c32c292b560.png");
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(thumbnailUri("./sub/../x.jpg"), thumbnailUri((std::string(cwd) + "/x.jpg").c_str()));
}

TEST_F(ThumbnailCache, WrittenThumbnailIsReadByAnIndependentReader) {
    std::vector<unsigned char> rgba = pattern(40, 30, 1);
    ASSERT_TRUE(writeCachedThumbnail(picture.c_str(), stamp, 4000, 3000, 40, 30, rgba.data()));
    EXPECT_EQ(entries(thumbnails + "/x-large"), std::vector<std::string>{expectedName()});

    GdkPixbuf *png = gdk_pixbuf_new_from_file(expectedFile("x-large").c_str(), nullptr);
    ASSERT_NE(png, nullptr);
    EXPECT_EQ(option(png, "tEXt::Thumb::URI"), uri);
    EXPECT_EQ(option(png, "tEXt::Thumb::MTime"), std::to_string(stamp.mtime));
    EXPECT_EQ(option(png, "tEXt::Thumb::Size"), "123456");
    EXPECT_EQ(option(png, "tEXt::Thumb::Image::Width"), "4000");
    EXPECT_EQ(option(png, "tEXt::Thumb::Image::Height"), "3000");
    ASSERT_EQ(gdk_pixbuf_get_width(png), 40);
    ASSERT_EQ(gdk_pixbuf_get_n_channels(png), 4);
    const guint8 *pixels = gdk_pixbuf_read_pixels(png);
    for (int y = 0; y < 30; y++)
        ASSERT_EQ(memcmp(pixels + y * gdk_pixbuf_get_rowstride(png), &rgba[y * 160], 160), 0);
    g_object_unref(png);

    CachedThumbnail back;
    ASSERT_EQ(read(stamp, &back), THUMBNAIL_FOUND);
    EXPECT_EQ(back.width * 1000 + back.height, 40030);
    EXPECT_EQ(back.originalWidth * 10000 + back.originalHeight, 40003000);
    EXPECT_EQ(back.rgba, rgba);

    EXPECT_FALSE(
        writeCachedThumbnail(picture.c_str(), stamp, 9000, 9, 513, 1, pattern(513, 1, 0).data()));
}

TEST_F(ThumbnailCache, StaleThumbnailIsIgnoredAndReplaced) {
    std::vector<unsigned char> before = pattern(8, 8, 1), after = pattern(8, 8, 2);
    ASSERT_TRUE(writeCachedThumbnail(picture.c_str(), stamp, 8, 8, 8, 8, before.data()));
    FileStamp touched = stamp, resized = stamp;
    touched.mtime += 1;
    resized.size += 1;
    EXPECT_EQ(read(touched), THUMBNAIL_MISSING);
    EXPECT_EQ(read(resized), THUMBNAIL_MISSING);

    ASSERT_TRUE(writeCachedThumbnail(picture.c_str(), touched, 8, 8, 8, 8, after.data()));
    CachedThumbnail back;
    EXPECT_EQ(read(stamp), THUMBNAIL_MISSING);
    ASSERT_EQ(read(touched, &back), THUMBNAIL_FOUND);
    EXPECT_EQ(back.rgba, after);
}

TEST_F(ThumbnailCache, OtherProgramsThumbnailWithOnlyTheRequiredKeysIsUsed) {
    // An RGB thumbnail without Size or the original's dimensions, as other programs write.
    GdkPixbuf *rgb = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 3, 2);
    gdk_pixbuf_fill(rgb, 0x102030ff);
    ASSERT_EQ(g_mkdir_with_parents((thumbnails + "/x-large").c_str(), 0700), 0);
    std::string mtime = std::to_string(stamp.mtime);
    ASSERT_TRUE(gdk_pixbuf_save(rgb, expectedFile("x-large").c_str(), "png", nullptr,
                                "tEXt::Thumb::URI", uri.c_str(), "tEXt::Thumb::MTime",
                                mtime.c_str(), nullptr));
    g_object_unref(rgb);

    CachedThumbnail back;
    ASSERT_EQ(read(stamp, &back), THUMBNAIL_FOUND);
    EXPECT_EQ(back.originalWidth + back.originalHeight, 0);
    std::vector<unsigned char> expected;
    for (int i = 0; i < 6; i++)
        expected.insert(expected.end(), {0x10, 0x20, 0x30, 0xff});
    EXPECT_EQ(back.rgba, expected);
}

TEST_F(ThumbnailCache, FailureRecordIsHonouredForThatVersionOnly) {
    ASSERT_TRUE(recordThumbnailFailure(picture.c_str(), stamp));
    EXPECT_EQ(read(stamp), THUMBNAIL_KNOWN_TO_FAIL);
    FileStamp touched = stamp;
    touched.mtime += 1;
    EXPECT_EQ(read(touched), THUMBNAIL_MISSING);

    std::vector<std::string> own = entries(thumbnails + "/fail");
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(own[0].rfind("quillmere-", 0), 0u) << own[0];
    std::string path = thumbnails + "/fail/" + own[0] + "/" + expectedName();
    GdkPixbuf *record = gdk_pixbuf_new_from_file(path.c_str(), nullptr);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(option(record, "tEXt::Thumb::URI"), uri);
    EXPECT_EQ(option(record, "tEXt::Thumb::MTime"), std::to_string(stamp.mtime));
    g_object_unref(record);
}

TEST_F(ThumbnailCache, FilesAreOwnerOnlyWhateverTheUmask) {
    mode_t saved = umask(0);
    bool written =
        writeCachedThumbnail(picture.c_str(), stamp, 1, 1, 1, 1, pattern(1, 1, 0).data());
    umask(saved);
    ASSERT_TRUE(written);
    struct stat info;
    for (const std::string &folder : {root + "/cache", thumbnails, thumbnails + "/x-large"}) {
        ASSERT_EQ(stat(folder.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u) << folder;
    }
    ASSERT_EQ(stat(expectedFile("x-large").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

// Run in a child process: the warning is printed once per process.
TEST_F(ThumbnailCache, UnwritableCacheGivesOneLineAndNoFailure) {
    ASSERT_TRUE(makeFile(root + "/cache")); // a file where the cache folder should be
    int channel[2];
    ASSERT_EQ(pipe(channel), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dup2(channel[1], 2);
        std::vector<unsigned char> rgba = pattern(2, 2, 0);
        bool stored = writeCachedThumbnail(picture.c_str(), stamp, 2, 2, 2, 2, rgba.data()) ||
                      writeCachedThumbnail(picture.c_str(), stamp, 2, 2, 2, 2, rgba.data()) ||
                      recordThumbnailFailure(picture.c_str(), stamp);
        _exit(!stored && read(stamp) == THUMBNAIL_MISSING ? 0 : 1);
    }
    close(channel[1]);
    std::string text;
    char buffer[512];
    ssize_t n;
    while ((n = ::read(channel[0], buffer, sizeof buffer)) > 0)
        text.append(buffer, n);
    close(channel[0]);
    int status;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(text.rfind("WARNING: Thumbnail cache unavailable: ", 0), 0u) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
}

namespace {

uint32_t crc32Of(const unsigned char *bytes, size_t size) {
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 0; i < size; i++) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; bit++)
            crc = (crc >> 1) ^ (0xEDB88320 & (0u - (crc & 1)));
    }
    return ~crc;
}

std::vector<unsigned char> fileBytes(const std::string &path) {
    std::vector<unsigned char> bytes;
    if (FILE *file = fopen(path.c_str(), "rb")) {
        int c;
        while ((c = fgetc(file)) != EOF)
            bytes.push_back(static_cast<unsigned char>(c));
        fclose(file);
    }
    return bytes;
}

void putFile(const std::string &path, const std::vector<unsigned char> &bytes) {
    FILE *file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

} // namespace

TEST_F(ThumbnailCache, ThumbnailThatDoesNotDecodeWholeIsMissing) {
    std::vector<unsigned char> rgba = pattern(40, 30, 3);
    ASSERT_TRUE(writeCachedThumbnail(picture.c_str(), stamp, 40, 30, 40, 30, rgba.data()));
    std::vector<unsigned char> whole = fileBytes(expectedFile("x-large"));
    ASSERT_GT(whole.size(), 60u);
    ASSERT_EQ(read(stamp), THUMBNAIL_FOUND);

    // Cut anywhere after its header; or whole, with a header claiming 60 rows (its CRC right).
    std::vector<unsigned char> overlong = whole;
    overlong[23] = 60;
    uint32_t crc = crc32Of(&overlong[12], 17);
    for (int i = 0; i < 4; i++)
        overlong[29 + i] = static_cast<unsigned char>(crc >> (24 - 8 * i));
    std::vector<std::vector<unsigned char>> damaged = {
        std::vector<unsigned char>(whole.begin(), whole.begin() + whole.size() / 2),
        std::vector<unsigned char>(whole.begin(), whole.end() - 12), // no IEND
        overlong};
    for (size_t i = 0; i < damaged.size(); i++) {
        SCOPED_TRACE(i);
        putFile(expectedFile("x-large"), damaged[i]);
        EXPECT_EQ(read(stamp), THUMBNAIL_MISSING);
    }
    // A failure record is held to the same rules.
    ASSERT_TRUE(recordThumbnailFailure(picture.c_str(), stamp));
    std::string record =
        thumbnails + "/fail/" + entries(thumbnails + "/fail")[0] + "/" + expectedName();
    std::vector<unsigned char> recordBytes = fileBytes(record);
    putFile(record, std::vector<unsigned char>(recordBytes.begin(), recordBytes.end() - 6));
    EXPECT_EQ(read(stamp), THUMBNAIL_MISSING);
}

TEST_F(ThumbnailCache, ThumbnailOlderThanThePicturesLastChangeIsStale) {
    std::vector<unsigned char> rgba = pattern(8, 8, 4);
    ASSERT_TRUE(writeCachedThumbnail(picture.c_str(), stamp, 8, 8, 8, 8, rgba.data()));
    struct stat info;
    ASSERT_EQ(stat(expectedFile("x-large").c_str(), &info), 0);
    FileStamp changed = stamp;
    changed.ctime = info.st_mtim.tv_sec;
    changed.ctimeNanoseconds = info.st_mtim.tv_nsec;
    EXPECT_EQ(read(changed), THUMBNAIL_FOUND); // changed no later than written: current
    changed.ctimeNanoseconds += 1;
    if (changed.ctimeNanoseconds == 1000000000) {
        changed.ctime += 1;
        changed.ctimeNanoseconds = 0;
    }
    EXPECT_EQ(read(changed), THUMBNAIL_MISSING);
    ASSERT_TRUE(recordThumbnailFailure(picture.c_str(), stamp));
    changed.ctime += 10;
    EXPECT_EQ(read(changed), THUMBNAIL_MISSING); // nor is an older failure record believed
}
