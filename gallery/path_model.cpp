// path_model.cpp -- drive-list test, drive and sub-folder entry, parent step and name joining
// for Windows-style and POSIX-style folder paths.
#include "gallery/path_model.h"

#include <cstring>

static char separatorOf(PathStyle style) {
    return style == PATH_STYLE_WINDOWS ? '\\' : '/';
}

// Copies at most count characters of text to the end of path, cut to the buffer; false when
// cut.
static bool appendCut(char *path, size_t size, const char *text, size_t count) {
    size_t length = strlen(path);
    size_t n = strnlen(text, count);
    if (length + 1 >= size)
        return n == 0;
    size_t room = size - 1 - length;
    bool fits = n <= room;
    if (!fits)
        n = room;
    memmove(path + length, text, n);
    path[length + n] = '\0';
    return fits;
}

// Replaces path with at most count characters of text, cut to the buffer; false when cut.
static bool assignCut(char *path, size_t size, const char *text, size_t count) {
    if (size == 0)
        return false;
    size_t n = strnlen(text, count);
    bool fits = n <= size - 1;
    if (!fits)
        n = size - 1;
    memmove(path, text, n);
    path[n] = '\0';
    return fits;
}

// Appends one separator (POSIX: unless the path already ends in one) and the name; false when
// the result was cut.
static bool appendComponent(char *path, size_t size, const char *name, PathStyle style) {
    char separator[2] = {separatorOf(style), '\0'};
    size_t length = strlen(path);
    bool endsInSeparator = length > 0 && path[length - 1] == separator[0];
    bool fits = true;
    if (style == PATH_STYLE_WINDOWS || !endsInSeparator)
        fits = appendCut(path, size, separator, 1);
    return appendCut(path, size, name, strlen(name)) && fits;
}

bool pathIsDriveList(const char *path, PathStyle style) {
    return style == PATH_STYLE_WINDOWS ? path[0] == '/' : path[0] == '\0';
}

void pathSetDriveList(char *path, size_t size, PathStyle style) {
    assignCut(path, size, style == PATH_STYLE_WINDOWS ? "/" : "", 1);
}

bool pathEnterDrive(char *path, size_t size, const char *driveEntry, PathStyle style) {
    // A Windows drive entry "X:\" is entered as the bare drive "X:".
    size_t count = style == PATH_STYLE_WINDOWS ? 2 : strlen(driveEntry);
    return assignCut(path, size, driveEntry, count);
}

bool pathEnterSubfolder(char *path, size_t size, const char *name, PathStyle style) {
    if (size == 0)
        return false;
    return appendComponent(path, size, name, style);
}

void pathParentStep(char *path, size_t size, PathStyle style) {
    (void)size; // the path only ever gets shorter
    char separator = separatorOf(style);
    size_t length = strlen(path);
    if (length == 0)
        return;
    if (style == PATH_STYLE_WINDOWS && length == 2) {
        // A bare drive "X:" steps up to the drive list.
        path[0] = '/';
        path[1] = '\0';
        return;
    }
    if (style == PATH_STYLE_POSIX && length == 1 && path[0] == '/') {
        path[0] = '\0';
        return;
    }
    if (path[length - 1] == separator) {
        path[length - 1] = '\0';
        return;
    }
    for (size_t i = length - 1; i-- > 0;) {
        if (path[i] == separator) {
            // POSIX keeps the root itself when the last component hangs off it.
            bool keepRoot = style == PATH_STYLE_POSIX && i == 0;
            path[keepRoot ? 1 : i] = '\0';
            return;
        }
    }
}

void pathJoin(char *out, size_t size, const char *folder, const char *name, PathStyle style) {
    if (size == 0)
        return;
    if (out != folder)
        assignCut(out, size, folder, strlen(folder));
    appendComponent(out, size, name, style);
}
