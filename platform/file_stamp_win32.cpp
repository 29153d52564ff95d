// file_stamp_win32.cpp -- a file's modification time and size through GetFileAttributesExW.
#include "platform/file_stamp.h"

#include <windows.h>

#include "platform/wide_text.h"

bool readFileStamp(const char *path, FileStamp *stamp) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(widen(path).c_str(), GetFileExInfoStandard, &data))
        return false;
    // 100-nanosecond steps since 1601, to seconds and nanoseconds since 1970.
    ULONGLONG ticks =
        ((ULONGLONG)data.ftLastWriteTime.dwHighDateTime << 32) | data.ftLastWriteTime.dwLowDateTime;
    const ULONGLONG EPOCH_1970 = 116444736000000000ull;
    LONGLONG since1970 = (LONGLONG)(ticks - EPOCH_1970);
    stamp->mtime = since1970 / 10000000;
    stamp->mtimeNanoseconds = (long)(since1970 % 10000000) * 100;
    stamp->size = ((long long)data.nFileSizeHigh << 32) | data.nFileSizeLow;
    return true;
}
