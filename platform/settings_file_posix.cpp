// settings_file_posix.cpp -- the settings file under the XDG config folder, replaced through a
// temporary file, fsync and rename.
#include "platform/settings_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// $HOME, or the password database's home folder when HOME is unset or empty.
const char *homeFolder() {
    const char *home = getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return home;
    const passwd *entry = getpwuid(getuid());
    return entry != nullptr && entry->pw_dir != nullptr && entry->pw_dir[0] == '/' ? entry->pw_dir
                                                                                   : nullptr;
}

// Makes every missing folder of path up to its last component; a folder the program makes is
// private to the user, as the XDG rules ask for the base folder. Folders that exist already
// may refuse to be made, so only the last one's presence counts.
bool makeParentFolders(const char *path) {
    std::string folder(path);
    size_t end = folder.rfind('/');
    if (end == std::string::npos || end == 0)
        return true;
    folder.resize(end);
    int error = 0;
    for (size_t at = 1; at <= folder.size(); ++at) {
        if (at < folder.size() && folder[at] != '/')
            continue;
        if (mkdir(folder.substr(0, at).c_str(), 0700) != 0 && errno != EEXIST)
            error = errno;
    }
    struct stat status;
    if (stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode))
        return true;
    errno = error != 0 ? error : ENOTDIR;
    return false;
}

bool writeAll(int descriptor, const char *data, size_t size) {
    while (size > 0) {
        ssize_t written = write(descriptor, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// The rename itself reaches the disk once the folder holding it is flushed.
void flushFolderOf(const char *path) {
    std::string folder(path);
    size_t end = folder.rfind('/');
    folder.resize(end == 0 ? 1 : end);
    int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        fsync(descriptor);
        close(descriptor);
    }
}

} // namespace

bool settingsFilePath(char *path, size_t size) {
    const char *config = getenv("XDG_CONFIG_HOME");
    int length;
    if (config != nullptr && config[0] == '/') {
        length = snprintf(path, size, "%s/quillmere/settings.ini", config);
    } else {
        const char *home = homeFolder();
        if (home == nullptr)
            return false;
        length = snprintf(path, size, "%s/.config/quillmere/settings.ini", home);
    }
    return length > 0 && static_cast<size_t>(length) < size;
}

SettingsFileRead readSettingsFile(const char *path, char *buffer, size_t capacity, size_t *length) {
    *length = 0;
    int descriptor = open(path, O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return errno == ENOENT ? SETTINGS_MISSING : SETTINGS_UNREADABLE;
    struct stat status;
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(descriptor);
        return SETTINGS_UNREADABLE;
    }
    // One byte past the capacity tells a file that is too large, whatever its size claims.
    size_t total = 0;
    SettingsFileRead result = SETTINGS_READ;
    for (;;) {
        char extra;
        char *into = total < capacity ? buffer + total : &extra;
        size_t room = total < capacity ? capacity - total : 1;
        ssize_t got = read(descriptor, into, room);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            result = SETTINGS_UNREADABLE;
            break;
        }
        if (got == 0)
            break;
        if (total >= capacity) {
            result = SETTINGS_TOO_LARGE;
            break;
        }
        total += static_cast<size_t>(got);
    }
    close(descriptor);
    if (result == SETTINGS_READ)
        *length = total;
    return result;
}

bool writeSettingsFile(const char *path, const char *data, size_t size, char *why, size_t whySize) {
    if (!makeParentFolders(path)) {
        snprintf(why, whySize, "cannot make its folder: %s", strerror(errno));
        return false;
    }
    std::string temporary = std::string(path) + ".XXXXXX";
    int descriptor = mkstemp(&temporary[0]);
    if (descriptor < 0) {
        snprintf(why, whySize, "cannot create a file beside it: %s", strerror(errno));
        return false;
    }
    // mkstemp makes the file its owner's only, which suits a record of the user's folders.
    bool written = writeAll(descriptor, data, size);
    int error = errno;
    if (written && fsync(descriptor) != 0) {
        written = false;
        error = errno;
    }
    if (close(descriptor) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && rename(temporary.c_str(), path) != 0) {
        written = false;
        error = errno;
    }
    if (!written) {
        unlink(temporary.c_str());
        snprintf(why, whySize, "%s", strerror(error));
        return false;
    }
    flushFolderOf(path);
    return true;
}
