// thumbnail_cache_gdk.cpp -- the shared thumbnail cache: PNG files with tEXt keys through
// GdkPixbuf, names from GLib's MD5, atomic writes through POSIX files.
#include "platform/thumbnail_cache.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <glib.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Our own folder for failure records, as the thumbnail standard asks: fail/<program>-<version>.
static const char FAIL_FOLDER[] = "fail/quillmere-" QUILLMERE_VERSION;

static std::atomic<bool> unavailableReported{false};

// One line on standard error the first time the cache cannot be written in this run.
static void reportUnavailable(const std::string &reason) {
    if (!unavailableReported.exchange(true))
        fprintf(stderr, "WARNING: Thumbnail cache unavailable: %s\n", reason.c_str());
}

static void reportUnavailable(const char *what, const std::string &path, int error) {
    reportUnavailable(std::string(what) + " " + path + ": " + g_strerror(error));
}

// $XDG_CACHE_HOME/thumbnails, or ~/.cache/thumbnails when it is unset or not absolute; empty
// when neither can be found.
static std::string cacheRoot() {
    const char *cache = getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/')
        return std::string(cache) + "/thumbnails";
    const char *home = getenv("HOME");
    if (home == nullptr || home[0] != '/')
        return "";
    return std::string(home) + "/.cache/thumbnails";
}

std::string thumbnailUri(const char *picturePath) {
    gchar *absolute = g_canonicalize_filename(picturePath, nullptr);
    gchar *uri = g_filename_to_uri(absolute, nullptr, nullptr);
    std::string result = uri != nullptr ? uri : "";
    g_free(uri);
    g_free(absolute);
    return result;
}

std::string thumbnailFileName(const std::string &uri) {
    gchar *md5 = g_compute_checksum_for_string(G_CHECKSUM_MD5, uri.c_str(), uri.size());
    std::string name = std::string(md5) + ".png";
    g_free(md5);
    return name;
}

// A whole decimal number with nothing around it.
static bool parseNumber(const char *text, long long *value) {
    if (text == nullptr || text[0] == '\0')
        return false;
    char *end;
    errno = 0;
    *value = strtoll(text, &end, 10);
    return errno == 0 && *end == '\0';
}

// The file's URI and modification time must be recorded and match; its size must match when
// it is recorded.
static bool recordMatches(GdkPixbuf *pixbuf, const std::string &uri, const FileStamp &stamp) {
    const char *recordedUri = gdk_pixbuf_get_option(pixbuf, "tEXt::Thumb::URI");
    long long mtime, size;
    if (recordedUri == nullptr || uri != recordedUri)
        return false;
    if (!parseNumber(gdk_pixbuf_get_option(pixbuf, "tEXt::Thumb::MTime"), &mtime) ||
        mtime != stamp.mtime)
        return false;
    const char *recordedSize = gdk_pixbuf_get_option(pixbuf, "tEXt::Thumb::Size");
    return recordedSize == nullptr || (parseNumber(recordedSize, &size) && size == stamp.size);
}

// The recorded original width or height, 0 when absent or unusable.
static int originalSide(GdkPixbuf *pixbuf, const char *key) {
    long long side;
    if (!parseNumber(gdk_pixbuf_get_option(pixbuf, key), &side) || side <= 0 || side > INT32_MAX)
        return 0;
    return static_cast<int>(side);
}

// Copies the pixbuf's pixels as tightly packed RGBA; false for a size or layout we do not take.
static bool copyPixels(GdkPixbuf *pixbuf, CachedThumbnail *thumbnail) {
    int width = gdk_pixbuf_get_width(pixbuf), height = gdk_pixbuf_get_height(pixbuf);
    if (width < 1 || height < 1 || width > CACHED_THUMBNAIL_SIZE ||
        height > CACHED_THUMBNAIL_SIZE || gdk_pixbuf_get_colorspace(pixbuf) != GDK_COLORSPACE_RGB ||
        gdk_pixbuf_get_bits_per_sample(pixbuf) != 8)
        return false;
    GdkPixbuf *rgba = gdk_pixbuf_get_has_alpha(pixbuf)
                          ? GDK_PIXBUF(g_object_ref(pixbuf))
                          : gdk_pixbuf_add_alpha(pixbuf, FALSE, 0, 0, 0);
    if (rgba == nullptr)
        return false;
    if (gdk_pixbuf_get_n_channels(rgba) != 4) {
        g_object_unref(rgba);
        return false;
    }
    const guint8 *pixels = gdk_pixbuf_read_pixels(rgba);
    int stride = gdk_pixbuf_get_rowstride(rgba);
    size_t rowBytes = static_cast<size_t>(width) * 4;
    thumbnail->rgba.resize(rowBytes * height);
    for (int y = 0; y < height; y++)
        memcpy(&thumbnail->rgba[rowBytes * y], pixels + static_cast<size_t>(stride) * y, rowBytes);
    g_object_unref(rgba);
    thumbnail->width = width;
    thumbnail->height = height;
    return true;
}

// Largest cache file read: an x-large PNG, even stored uncompressed, is about 1 MB.
static const off_t CACHE_FILE_LIMIT = 4 << 20;

// The whole of a regular file no larger than CACHE_FILE_LIMIT, and its modification time;
// false for anything else, so a FIFO or a device in the cache can neither block nor flood the
// reader.
static bool readCacheFile(const std::string &path, std::vector<guint8> *bytes,
                          struct timespec *modified) {
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info;
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= CACHE_FILE_LIMIT;
    if (ok) {
        *modified = info.st_mtim;
        bytes->resize(static_cast<size_t>(info.st_size));
        size_t done = 0;
        while (ok && done < bytes->size()) {
            ssize_t n = read(fd, bytes->data() + done, bytes->size() - done);
            if (n > 0)
                done += static_cast<size_t>(n);
            else if (n == 0 || errno != EINTR)
                ok = false;
        }
    }
    close(fd);
    return ok;
}

// True for PNG bytes whose header gives a size of at most CACHED_THUMBNAIL_SIZE a side, read
// before GdkPixbuf allocates anything for them, and whose last chunk is a whole IEND.
static bool isThumbnailSizedPng(const std::vector<guint8> &bytes) {
    static const guint8 signature[16] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                         0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    static const guint8 end[12] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    if (bytes.size() < 24 + sizeof end || memcmp(bytes.data(), signature, sizeof signature) != 0 ||
        memcmp(bytes.data() + bytes.size() - sizeof end, end, sizeof end) != 0)
        return false;
    auto side = [&](size_t at) {
        return (uint32_t)bytes[at] << 24 | (uint32_t)bytes[at + 1] << 16 |
               (uint32_t)bytes[at + 2] << 8 | bytes[at + 3];
    };
    uint32_t width = side(16), height = side(20);
    return width >= 1 && height >= 1 && width <= CACHED_THUMBNAIL_SIZE &&
           height <= CACHED_THUMBNAIL_SIZE;
}

// Rows of the picture the PNG decoder has delivered; GdkPixbuf's loader closes without an error
// on image data that stops short, and the rows it never reached are left as they were.
struct RowsDelivered {
    std::vector<bool> rows;
};

static void onAreaUpdated(GdkPixbufLoader *, int, int y, int, int height, gpointer data) {
    std::vector<bool> &rows = static_cast<RowsDelivered *>(data)->rows;
    for (int row = std::max(y, 0); row < y + height && row < (int)rows.size(); row++)
        rows[row] = true;
}

// True when the file was modified no earlier than the picture's last status change. The
// standard keys thumbnails on the picture's modification time alone, which a replacement
// keeping that time (cp -p, rsync -t, an archive extracted) does not change; its change time
// moves, and a thumbnail older than it may show the old picture.
static bool newerThanChange(const struct timespec &modified, const FileStamp &stamp) {
    return modified.tv_sec > stamp.ctime ||
           (modified.tv_sec == stamp.ctime && modified.tv_nsec >= stamp.ctimeNanoseconds);
}

// Loads the PNG at path when it records this URI and stamp, is not older than the picture's
// last change and decodes whole: every row and a valid end; null otherwise.
static GdkPixbuf *loadMatching(const std::string &path, const std::string &uri,
                               const FileStamp &stamp) {
    std::vector<guint8> bytes;
    struct timespec modified = {};
    if (!readCacheFile(path, &bytes, &modified) || !isThumbnailSizedPng(bytes) ||
        !newerThanChange(modified, stamp))
        return nullptr;
    GdkPixbufLoader *loader = gdk_pixbuf_loader_new_with_type("png", nullptr);
    if (loader == nullptr)
        return nullptr;
    RowsDelivered delivered;
    delivered.rows.assign(bytes[20] << 24 | bytes[21] << 16 | bytes[22] << 8 | bytes[23], false);
    g_signal_connect(loader, "area-updated", G_CALLBACK(onAreaUpdated), &delivered);
    bool loaded = gdk_pixbuf_loader_write(loader, bytes.data(), bytes.size(), nullptr);
    loaded = gdk_pixbuf_loader_close(loader, nullptr) && loaded;
    loaded = loaded &&
             std::find(delivered.rows.begin(), delivered.rows.end(), false) == delivered.rows.end();
    GdkPixbuf *pixbuf = loaded ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr;
    if (pixbuf != nullptr && recordMatches(pixbuf, uri, stamp))
        g_object_ref(pixbuf);
    else
        pixbuf = nullptr;
    g_object_unref(loader);
    return pixbuf;
}

ThumbnailLookup readCachedThumbnail(const char *picturePath, const FileStamp &stamp,
                                    CachedThumbnail *thumbnail) {
    std::string root = cacheRoot(), uri = thumbnailUri(picturePath);
    if (root.empty() || uri.empty())
        return THUMBNAIL_MISSING;
    std::string name = thumbnailFileName(uri);
    if (GdkPixbuf *pixbuf = loadMatching(root + "/x-large/" + name, uri, stamp)) {
        bool copied = copyPixels(pixbuf, thumbnail);
        thumbnail->originalWidth = originalSide(pixbuf, "tEXt::Thumb::Image::Width");
        thumbnail->originalHeight = originalSide(pixbuf, "tEXt::Thumb::Image::Height");
        g_object_unref(pixbuf);
        if (copied)
            return THUMBNAIL_FOUND;
    }
    if (GdkPixbuf *record = loadMatching(root + "/" + FAIL_FOLDER + "/" + name, uri, stamp)) {
        g_object_unref(record);
        return THUMBNAIL_KNOWN_TO_FAIL;
    }
    return THUMBNAIL_MISSING;
}

// Writes data to a temporary file in the folder and renames it to name, so that readers never
// see a partial file. Folders are made private (0700), the file owner-only (0600, mkstemp's).
static bool storeAtomically(const std::string &folder, const std::string &name, const gchar *data,
                            gsize size) {
    if (g_mkdir_with_parents(folder.c_str(), 0700) != 0) {
        reportUnavailable("cannot create", folder, errno);
        return false;
    }
    std::string target = folder + "/" + name;
    std::vector<char> temporary(target.begin(), target.end());
    const char suffix[] = ".XXXXXX";
    temporary.insert(temporary.end(), suffix, suffix + sizeof suffix);
    int fd = mkstemp(temporary.data());
    if (fd < 0) {
        reportUnavailable("cannot write in", folder, errno);
        return false;
    }
    gsize done = 0;
    int error = 0;
    while (done < size && error == 0) {
        ssize_t n = write(fd, data + done, size - done);
        if (n > 0)
            done += n;
        else if (n < 0 && errno != EINTR)
            error = errno;
    }
    // On the disk before it takes the name: after a crash the name holds the old file or
    // this one, never an empty or partial one.
    if (error == 0 && fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && rename(temporary.data(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        unlink(temporary.data());
        reportUnavailable("cannot write", target, error);
        return false;
    }
    return true;
}

// Encodes the pixbuf as PNG with the thumbnail keys for this picture and stores it.
static bool storeRecord(GdkPixbuf *pixbuf, const char *picturePath, const FileStamp &stamp,
                        const char *folder, int originalWidth, int originalHeight) {
    std::string root = cacheRoot(), uri = thumbnailUri(picturePath);
    if (root.empty()) {
        reportUnavailable("neither XDG_CACHE_HOME nor HOME is set");
        return false;
    }
    if (uri.empty())
        return false;
    std::string mtime = std::to_string(stamp.mtime), size = std::to_string(stamp.size);
    std::string width = std::to_string(originalWidth), height = std::to_string(originalHeight);
    const char *keys[7] = {"tEXt::Thumb::URI",
                           "tEXt::Thumb::MTime",
                           "tEXt::Thumb::Size",
                           "tEXt::Software",
                           "tEXt::Thumb::Image::Width",
                           "tEXt::Thumb::Image::Height",
                           nullptr};
    const char *values[7] = {uri.c_str(),   mtime.c_str(),  size.c_str(), "Quillmere",
                             width.c_str(), height.c_str(), nullptr};
    if (originalWidth <= 0 || originalHeight <= 0)
        keys[4] = values[4] = nullptr;
    gchar *png = nullptr;
    gsize length = 0;
    if (!gdk_pixbuf_save_to_bufferv(pixbuf, &png, &length, "png", const_cast<char **>(keys),
                                    const_cast<char **>(values), nullptr))
        return false;
    bool stored = storeAtomically(root + "/" + folder, thumbnailFileName(uri), png, length);
    g_free(png);
    return stored;
}

bool writeCachedThumbnail(const char *picturePath, const FileStamp &stamp, int originalWidth,
                          int originalHeight, int width, int height, const unsigned char *rgba) {
    if (rgba == nullptr || width < 1 || height < 1 || width > CACHED_THUMBNAIL_SIZE ||
        height > CACHED_THUMBNAIL_SIZE)
        return false;
    // Only read from: the pixbuf wraps the caller's pixels for encoding.
    GdkPixbuf *pixbuf =
        gdk_pixbuf_new_from_data(const_cast<unsigned char *>(rgba), GDK_COLORSPACE_RGB, TRUE, 8,
                                 width, height, width * 4, nullptr, nullptr);
    bool stored = storeRecord(pixbuf, picturePath, stamp, "x-large", originalWidth, originalHeight);
    g_object_unref(pixbuf);
    return stored;
}

bool recordThumbnailFailure(const char *picturePath, const FileStamp &stamp) {
    GdkPixbuf *pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, 1, 1);
    gdk_pixbuf_fill(pixbuf, 0);
    bool stored = storeRecord(pixbuf, picturePath, stamp, FAIL_FOLDER, 0, 0);
    g_object_unref(pixbuf);
    return stored;
}
