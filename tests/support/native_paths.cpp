// native_paths.cpp -- POSIX-style test paths in the platform's own style.
#include "support/native_paths.h"

#include <algorithm>

#ifdef _WIN32

std::string driveListPath() {
    return "/";
}

std::string nativePath(const std::string &posixPath) {
    std::string path = posixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path == "\\")
        return "C:";
    return path[0] == '\\' ? "C:" + path : path;
}

std::vector<std::string> nativeDrives(const std::vector<std::string> &mountPoints) {
    std::vector<std::string> drives;
    for (size_t i = 0; i < mountPoints.size(); i++)
        drives.push_back(std::string(1, static_cast<char>('C' + i)) + ":\\");
    return drives;
}

std::string driveFolder(const std::string &nativeDrive) {
    return nativeDrive.substr(0, 2);
}

#else

std::string driveListPath() {
    return "";
}

std::string nativePath(const std::string &posixPath) {
    return posixPath;
}

std::vector<std::string> nativeDrives(const std::vector<std::string> &mountPoints) {
    return mountPoints;
}

std::string driveFolder(const std::string &nativeDrive) {
    return nativeDrive;
}

#endif
