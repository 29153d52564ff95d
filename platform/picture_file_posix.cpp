// picture_file_posix.cpp -- picture files opened with O_NONBLOCK and checked with fstat.
#include "platform/picture_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

struct PictureFile {
    int fd;
};

PictureFile *openPictureFile(const char *path) {
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer forever.
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return nullptr;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return nullptr;
    }
    // Reads of a regular file are not affected by the flag, but clear it all the same.
    int flags = fcntl(fd, F_GETFL);
    if (flags >= 0)
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return new PictureFile{fd};
}

PictureFile *openRegularPictureFile(const char *path) {
    // O_NONBLOCK stays: reads of a regular file ignore it, and a pipe swapped in since the
    // caller looked gives nothing rather than waiting for a writer.
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    return fd >= 0 ? new PictureFile{fd} : nullptr;
}

long readPictureFile(PictureFile *file, void *buffer, size_t size) {
    ssize_t n;
    do
        n = read(file->fd, buffer, size);
    while (n < 0 && errno == EINTR);
    return (long)n;
}

void closePictureFile(PictureFile *file) {
    if (file == nullptr)
        return;
    close(file->fd);
    delete file;
}
