// picture_source.h -- a room's picture from wherever it is cheapest: pictures decoded earlier in
// this run, the desktop's thumbnail cache, or the file itself.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "pictures/picture_decoder.h"
#include "platform/file_stamp.h"

// A file's stamp, read once for each time its picture is wanted and handed on from there.
struct PictureStamp {
    bool read = false;    // false: the file is missing or cannot be looked at
    bool regular = false; // a regular file, not a folder, pipe or device
    FileStamp stamp = {};
};

// The stamp of the file at path as it is now: one look-up. Thread: any.
PictureStamp readPictureStamp(const char *path);

// A thumbnail the desktop's cache lacks, to be written in the background. It holds the picture
// at the cache's x-large size when the decode had it in hand; those pixels count in
// decodedPixelBudget's kept part until this is let go. Without them the writer decodes the
// file again. Thread: any, one at a time.
struct ThumbnailToWrite {
    ThumbnailToWrite(const std::string &path, const FileStamp &stamp) : path(path), stamp(stamp) {}
    ~ThumbnailToWrite();
    ThumbnailToWrite(const ThumbnailToWrite &) = delete;
    ThumbnailToWrite &operator=(const ThumbnailToWrite &) = delete;

    std::string path;
    FileStamp stamp;   // of the version the picture was decoded from
    Picture picture;   // empty when the file is to be decoded again
    uint64_t kept = 0; // bytes taken from the budget's kept part for picture
};

// The picture at path, whose stamp was just read, fitted to an innerWidth x innerHeight area
// as decodePicture gives it: taken out of the decoded-picture store when it holds this version
// of the file, else scaled from a matching x-large thumbnail of the desktop's cache, else
// decoded. Whichever way, its size is the one fitted from the original's, and the file is not
// looked at again. One that cannot be decoded is recorded in the cache, so later visits do not
// try it again. thumbnail is set when the picture was decoded from a file the cache has no
// thumbnail of: the caller then has it written when nothing more urgent is left. A decode waits
// for its memory in decodedPixelBudget; once cancel (may be null) is set and the budget's
// waiters woken, it gives up with PICTURE_CANCELLED, and nothing is recorded. Thread: any.
PictureDecodeResult obtainPicture(const char *path, const PictureStamp &stamp, uint32_t innerWidth,
                                  uint32_t innerHeight, Picture *picture,
                                  std::unique_ptr<ThumbnailToWrite> *thumbnail,
                                  const std::atomic<bool> *cancel = nullptr);

// Writes the thumbnail, decoding its file again (writeThumbnailOf) when it holds no picture.
// Slow only in that case: for the background. Thread: any.
void writeThumbnail(const ThumbnailToWrite &thumbnail, const std::atomic<bool> *cancel = nullptr);

// Decodes the picture at path to the cache's x-large size and writes its thumbnail, unless the
// cache already holds one (or a failure record) for this version of the file. Slow: for the
// background. Its memory comes from decodedPixelBudget, as for obtainPicture. Thread: any.
void writeThumbnailOf(const char *path, const std::atomic<bool> *cancel = nullptr);
