// decoded_picture_store.h -- decoded pictures held in memory within a byte budget, keyed by
// file path and stamp, filled by decoding threads and read by the main thread.
#pragma once
#include <cstddef>
#include <memory>
#include <vector>

#include "platform/file_stamp.h"

// Bytes of pixels the store holds at most unless told otherwise.
constexpr size_t DECODED_PICTURE_BUDGET = 64u * 1024 * 1024;

struct DecodedPicture {
    int width = 0; // the decoded (usually shrunk) size
    int height = 0;
    int originalWidth = 0; // the picture file's own size
    int originalHeight = 0;
    std::vector<unsigned char> rgba; // width * height * 4 bytes, top row first
};

// Holds the picture decoded from the file at path when it had the given stamp, in place of
// anything held for that path. The least recently used pictures are let go until the total
// fits the budget; a picture larger than the whole budget is not held. Every function here
// may be called from any thread.
void keepDecodedPicture(const char *path, const FileStamp &stamp,
                        std::shared_ptr<const DecodedPicture> picture);

// The picture held for path if it was decoded from the version of the file with this stamp;
// null otherwise. A picture held for an older version is let go.
std::shared_ptr<const DecodedPicture> findDecodedPicture(const char *path, const FileStamp &stamp);

// Changes the budget, letting go of pictures as needed.
void setDecodedPictureBudget(size_t bytes);

// Bytes of pixels held now.
size_t decodedPictureBytes();

// Lets go of every picture.
void clearDecodedPictures();
