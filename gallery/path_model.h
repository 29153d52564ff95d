// path_model.h -- the few fixed ways the gallery edits a folder path, in the Windows style
// (backslashes, drive letters, "/" as the drive list) and the POSIX style (slashes, mount
// points, the empty path as the drive list). Pure functions; results are always cut to the
// buffer and terminated, and the edits that make a path longer say whether it fitted.
#pragma once
#include <cstddef>

enum PathStyle { PATH_STYLE_WINDOWS, PATH_STYLE_POSIX };

// The style of the platform the program is built for.
#ifdef _WIN32
constexpr PathStyle NATIVE_PATH_STYLE = PATH_STYLE_WINDOWS;
#else
constexpr PathStyle NATIVE_PATH_STYLE = PATH_STYLE_POSIX;
#endif

// True when the path names the drive list rather than a folder.
bool pathIsDriveList(const char *path, PathStyle style);

// Sets the path to the drive list.
void pathSetDriveList(char *path, size_t size, PathStyle style);

// Replaces the path with the folder of a drive-list entry ("C:\" gives "C:"; a mount point is
// taken as listed). False when the result was cut to the buffer.
bool pathEnterDrive(char *path, size_t size, const char *driveEntry, PathStyle style);

// Appends a separator and the sub-folder name (POSIX: no second separator after a path that
// already ends in one). False when the result was cut to the buffer.
bool pathEnterSubfolder(char *path, size_t size, const char *name, PathStyle style);

// One step up: from a drive to the drive list, or the last component removed.
void pathParentStep(char *path, size_t size, PathStyle style);

// Joins a folder and a file name into out, the same way a sub-folder is entered.
void pathJoin(char *out, size_t size, const char *folder, const char *name, PathStyle style);
