// fake_folder_enum.h -- scripted folder contents for the logic tests: per path, what each
// successive open of the folder lists, an enumeration error after some entries, or an open
// that fails.
#pragma once
#include <cstddef>
#include <string>
#include <vector>
#include "platform/folder_enum.h"

struct FakeEntry {
    std::string name;
    bool isDirectory;
};

constexpr size_t FAKE_NO_ERROR = static_cast<size_t>(-1);

// What one open of a folder gives.
struct FakeListing {
    std::vector<FakeEntry> entries;
    size_t errorAfter = FAKE_NO_ERROR; // an enumeration error instead of entry number n (0-based)
    bool openFails = false;
};

// The n-th open of the path gives listings[n]; opens beyond the last repeat the last one.
// A path with no script cannot be opened.
void scriptFakeFolder(const std::string &path, const std::vector<FakeListing> &listings);

// The same entries on every open.
void setFakeFolder(const std::string &path, const std::vector<FakeEntry> &entries);

// Opens attempted on the path since the last reset (failed ones included).
int fakeFolderOpenCount(const std::string &path);

// Searches opened and not yet closed.
int fakeFolderSearchesOpen();

void resetFakeFolders();
