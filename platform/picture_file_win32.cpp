// picture_file_win32.cpp -- picture files opened with CreateFileW and kept only when they are
// disk files (GetFileType): a named pipe or a device is refused at once.
#include "platform/picture_file.h"

#include <windows.h>

#include "platform/wide_text.h"

struct PictureFile {
    HANDLE handle;
};

PictureFile *openPictureFile(const char *path) {
    // A folder cannot be opened this way (it would need FILE_FLAG_BACKUP_SEMANTICS).
    HANDLE handle = CreateFileW(
        widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return nullptr;
    }
    return new PictureFile{handle};
}

// The file type is asked of the open handle, which costs no trip to the storage.
PictureFile *openRegularPictureFile(const char *path) {
    return openPictureFile(path);
}

long readPictureFile(PictureFile *file, void *buffer, size_t size) {
    DWORD wanted = size > 0x40000000 ? 0x40000000 : (DWORD)size;
    DWORD read = 0;
    if (!ReadFile(file->handle, buffer, wanted, &read, nullptr))
        return -1;
    return (long)read;
}

void closePictureFile(PictureFile *file) {
    if (file == nullptr)
        return;
    CloseHandle(file->handle);
    delete file;
}
