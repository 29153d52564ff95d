// fake_picture_file.cpp -- scripted picture files behind the picture-file service, under one
// lock: decode workers may read them from several threads.
#include "fakes/fake_picture_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>

struct PictureFile {
    std::string path;
    size_t at;
};

namespace {

struct Scripted {
    FakePictureFile file;
    size_t read = 0;
};

std::mutex lock;
std::map<std::string, Scripted> scripts;

} // namespace

void scriptFakePictureFile(const std::string &path, const FakePictureFile &file) {
    std::lock_guard<std::mutex> guard(lock);
    scripts[path] = Scripted{file, 0};
}

size_t fakePictureBytesRead(const std::string &path) {
    std::lock_guard<std::mutex> guard(lock);
    auto found = scripts.find(path);
    return found != scripts.end() ? found->second.read : 0;
}

void clearFakePictureFiles() {
    std::lock_guard<std::mutex> guard(lock);
    scripts.clear();
}

PictureFile *openPictureFile(const char *path) {
    std::lock_guard<std::mutex> guard(lock);
    return scripts.count(path) ? new PictureFile{path, 0} : nullptr;
}

PictureFile *openRegularPictureFile(const char *path) {
    return openPictureFile(path);
}

long readPictureFile(PictureFile *file, void *buffer, size_t size) {
    std::lock_guard<std::mutex> guard(lock);
    auto found = scripts.find(file->path);
    if (found == scripts.end())
        return -1;
    const FakePictureFile &script = found->second.file;
    size_t total = script.bytes.size() + script.zeroTail;
    size_t n = file->at < total ? std::min(size, total - file->at) : 0;
    if (n > 0 && file->at + n > script.failAfter) {
        errno = EIO;
        return -1;
    }
    size_t stored =
        file->at < script.bytes.size() ? std::min(n, script.bytes.size() - file->at) : 0;
    memcpy(buffer, script.bytes.data() + file->at, stored);
    memset(static_cast<unsigned char *>(buffer) + stored, 0, n - stored);
    file->at += n;
    found->second.read += n;
    return (long)n;
}

void closePictureFile(PictureFile *file) {
    delete file;
}
