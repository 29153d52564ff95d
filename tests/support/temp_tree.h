// temp_tree.h -- temporary folder trees on the real file system for tests.
#pragma once
#include <string>

// Creates a fresh empty folder under /tmp and returns its path (empty on failure).
std::string makeTempFolder();

// Creates an empty file, a folder, or a symbolic link at path (parents must exist).
bool makeFile(const std::string &path);
bool makeFolder(const std::string &path);
bool makeSymlink(const std::string &target, const std::string &path);

// Removes the folder and everything under it, links not followed.
void removeTree(const std::string &path);
