// thumbnail_cache.h -- the desktop's shared thumbnail cache (freedesktop Thumbnail Managing
// Standard): 512-pixel thumbnails of picture files and records of pictures that fail to decode.
#pragma once
#include <string>
#include <vector>

#include "platform/file_stamp.h"

// Largest side of a thumbnail in the cache's x-large size.
constexpr int CACHED_THUMBNAIL_SIZE = 512;

struct CachedThumbnail {
    int width = 0; // the thumbnail's own size, each side 1 to CACHED_THUMBNAIL_SIZE
    int height = 0;
    int originalWidth = 0; // the picture's size as the thumbnail records it, 0 when it does not
    int originalHeight = 0;
    std::vector<unsigned char> rgba; // width * height * 4 bytes, upright, top row first
};

enum ThumbnailLookup { THUMBNAIL_MISSING, THUMBNAIL_FOUND, THUMBNAIL_KNOWN_TO_FAIL };

// Looks up the picture at picturePath, whose file currently has the given stamp. FOUND fills
// thumbnail with a cached thumbnail (ours or another program's) whose recorded URI and
// modification time, and size when recorded, match the file, which was written no earlier than
// the file's last status change (its ctime), and which decodes whole: every row and a valid
// end. KNOWN_TO_FAIL when there is no such thumbnail but our own failure record for this
// version of the file, under the same rules. Anything else, including an unreadable cache or a
// cut or damaged thumbnail, is MISSING, and the caller writes it anew.
//
// All functions here may run on any thread, several at once. Thread: any.
ThumbnailLookup readCachedThumbnail(const char *picturePath, const FileStamp &stamp,
                                    CachedThumbnail *thumbnail);

// Stores a thumbnail of width x height RGBA pixels (top row first, larger side at most
// CACHED_THUMBNAIL_SIZE) of the picture whose file has the given stamp and whose full size is
// originalWidth x originalHeight. The file appears complete or not at all, and is on the disk
// before it takes its name; readable by its owner only. False when nothing was stored; a cache that
// cannot be written is reported once per run on standard error and is never an error for the
// caller.
bool writeCachedThumbnail(const char *picturePath, const FileStamp &stamp, int originalWidth,
                          int originalHeight, int width, int height, const unsigned char *rgba);

// Records that this version of the picture cannot be decoded, so that later lookups answer
// KNOWN_TO_FAIL instead of decoding it again. Same storage rules as writeCachedThumbnail.
bool recordThumbnailFailure(const char *picturePath, const FileStamp &stamp);

// The picture's canonical file:// URI (absolute path, "." and ".." resolved, bytes outside the
// URI path's safe set percent-encoded); empty when it cannot be formed.
std::string thumbnailUri(const char *picturePath);

// The cache's file name for a URI: the MD5 of the URI in lower-case hex, then ".png".
std::string thumbnailFileName(const std::string &uri);
