// thumbnail_cache_win32.cpp -- no thumbnail cache on Windows: every lookup misses and nothing
// is stored; rooms are still prepared ahead in memory.
#include "platform/thumbnail_cache.h"

ThumbnailLookup readCachedThumbnail(const char *, const FileStamp &, CachedThumbnail *) {
    return THUMBNAIL_MISSING;
}

bool writeCachedThumbnail(const char *, const FileStamp &, int, int, int, int,
                          const unsigned char *) {
    return false;
}

bool recordThumbnailFailure(const char *, const FileStamp &) {
    return false;
}

std::string thumbnailUri(const char *) {
    return std::string();
}

std::string thumbnailFileName(const std::string &) {
    return std::string();
}
