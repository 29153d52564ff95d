// file_stamp_test.cpp -- a file's stamp tells apart a replacement that keeps the modification
// time and the size, whether it is written over the file or renamed onto it.
#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <thread>

#include "platform/file_stamp.h"
#include "support/crafted_pictures.h"
#include "support/temp_tree.h"

#ifdef _WIN32
#include "platform/wide_text.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace {

// Sets the file's modification time to the stamp's, as cp -p and rsync -t do.
bool keepModificationTime(const std::string &path, const FileStamp &stamp) {
#ifdef _WIN32
    HANDLE handle = CreateFileW(widen(path.c_str()).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    ULONGLONG ticks =
        (ULONGLONG)(stamp.mtime * 10000000 + stamp.mtimeNanoseconds / 100) + 116444736000000000ull;
    FILETIME time = {(DWORD)ticks, (DWORD)(ticks >> 32)};
    bool set = SetFileTime(handle, nullptr, nullptr, &time);
    CloseHandle(handle);
    return set;
#else
    struct timespec times[2] = {{0, UTIME_OMIT}, {stamp.mtime, stamp.mtimeNanoseconds}};
    return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
#endif
}

bool renameOver(const std::string &from, const std::string &to) {
#ifdef _WIN32
    return MoveFileExW(widen(from.c_str()).c_str(), widen(to.c_str()).c_str(),
                       MOVEFILE_REPLACE_EXISTING);
#else
    return rename(from.c_str(), to.c_str()) == 0;
#endif
}

} // namespace

TEST(FileStamp, ReplacementKeepingModificationTimeAndSizeIsAnotherVersion) {
    std::string folder = makeTempFolder();
    ASSERT_FALSE(folder.empty());
    std::string path = folder + "/picture.bmp", other = folder + "/other.bmp";
    ASSERT_TRUE(writeBytes(path, solidBmp(16, 16, 255, 0, 0)));
    FileStamp original, again;
    ASSERT_TRUE(readFileStamp(path.c_str(), &original));
    ASSERT_TRUE(readFileStamp(path.c_str(), &again));
    EXPECT_TRUE(sameFileStamp(original, again));

    // Written over in place: the same file, a later change time. Clocks that stamp files count
    // in ticks of a few milliseconds: the replacement comes a tick later.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    ASSERT_TRUE(writeBytes(path, solidBmp(16, 16, 0, 0, 255)));
    ASSERT_TRUE(keepModificationTime(path, original));
    FileStamp overwritten;
    ASSERT_TRUE(readFileStamp(path.c_str(), &overwritten));
    EXPECT_EQ(overwritten.mtime, original.mtime);
    EXPECT_EQ(overwritten.size, original.size);
    EXPECT_FALSE(sameFileStamp(original, overwritten));

    // Another file renamed onto it: another file, whatever its times.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    ASSERT_TRUE(writeBytes(other, solidBmp(16, 16, 0, 255, 0)));
    ASSERT_TRUE(keepModificationTime(other, original));
    ASSERT_TRUE(renameOver(other, path));
    FileStamp renamed;
    ASSERT_TRUE(readFileStamp(path.c_str(), &renamed));
    EXPECT_EQ(renamed.mtime, original.mtime);
    EXPECT_NE(renamed.id, overwritten.id);
    EXPECT_FALSE(sameFileStamp(overwritten, renamed));
    EXPECT_FALSE(sameFileStamp(original, renamed));
    removeTree(folder);
}
