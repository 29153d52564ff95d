// file_stamp_win32.cpp -- a file's times, size and file index through a handle opened for its
// attributes only: GetFileInformationByHandle and GetFileInformationByHandleEx (FileBasicInfo,
// which holds the change time).
#include "platform/file_stamp.h"

#include <windows.h>

#include "platform/wide_text.h"

namespace {

// 100-nanosecond steps since 1601, to seconds and nanoseconds since 1970.
void toUnixTime(ULONGLONG ticks, long long *seconds, long *nanoseconds) {
    const ULONGLONG EPOCH_1970 = 116444736000000000ull;
    LONGLONG since1970 = (LONGLONG)(ticks - EPOCH_1970);
    *seconds = since1970 / 10000000;
    *nanoseconds = (long)(since1970 % 10000000) * 100;
}

} // namespace

bool readFileStampAndKind(const char *path, FileStamp *stamp, bool *regularFile) {
    // No access to the contents is asked for: a file open elsewhere without sharing still
    // gives its attributes.
    HANDLE handle = CreateFileW(widen(path).c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info;
    FILE_BASIC_INFO basic;
    bool read = GetFileInformationByHandle(handle, &info) &&
                GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic);
    *regularFile = read && GetFileType(handle) == FILE_TYPE_DISK &&
                   (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    CloseHandle(handle);
    if (!read)
        return false;
    toUnixTime((ULONGLONG)info.ftLastWriteTime.dwHighDateTime << 32 |
                   info.ftLastWriteTime.dwLowDateTime,
               &stamp->mtime, &stamp->mtimeNanoseconds);
    toUnixTime((ULONGLONG)basic.ChangeTime.QuadPart, &stamp->ctime, &stamp->ctimeNanoseconds);
    stamp->size = ((long long)info.nFileSizeHigh << 32) | info.nFileSizeLow;
    stamp->id = ((unsigned long long)info.nFileIndexHigh << 32) | info.nFileIndexLow;
    return true;
}

bool readFileStamp(const char *path, FileStamp *stamp) {
    bool regularFile;
    return readFileStampAndKind(path, stamp, &regularFile);
}
