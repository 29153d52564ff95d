// fake_picture_file.h -- picture files served from memory for the tests that need a file to
// misbehave: an I/O error after some bytes, a long tail of zeros, and a count of what was read.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "platform/picture_file.h"

struct FakePictureFile {
    std::vector<unsigned char> bytes; // the file's first bytes
    size_t zeroTail = 0;              // zero bytes after them, never stored
    size_t failAfter = (size_t)-1;    // a read reaching past this many bytes fails (EIO)
};

// Opening path gives this file from now on; a path with no script cannot be opened.
void scriptFakePictureFile(const std::string &path, const FakePictureFile &file);

// Bytes handed out by reads of path since it was scripted.
size_t fakePictureBytesRead(const std::string &path);

// Forgets every script.
void clearFakePictureFiles();
