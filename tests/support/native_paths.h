// native_paths.h -- test paths written once in the POSIX style and given in the style the
// program uses where the tests run: unchanged on Linux; on Windows "/pics/a.jpg" is
// "C:\pics\a.jpg", the root "/" is the bare drive "C:" and the drive list is "/".
#pragma once
#include <string>
#include <vector>

// The path that names the drive list: "" on Linux, "/" on Windows.
std::string driveListPath();

// A folder or file path written POSIX-style ("/pics", "/", "/pics/a.jpg"), in the native style.
std::string nativePath(const std::string &posixPath);

// Drive-list entries standing for the given mount points, in the same order: the mount points
// themselves on Linux; "C:\", "D:\" and on through the letters on Windows.
std::vector<std::string> nativeDrives(const std::vector<std::string> &mountPoints);

// The folder a drive door enters: the mount point itself on Linux, the bare drive ("D:" for
// "D:\") on Windows.
std::string driveFolder(const std::string &nativeDrive);
