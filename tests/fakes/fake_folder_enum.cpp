// fake_folder_enum.cpp -- folder searches that replay scripted listings.
#include "fakes/fake_folder_enum.h"

#include <algorithm>
#include <map>

struct FakeFolder {
    std::vector<FakeListing> listings;
    int opens = 0;
};

struct FolderSearch {
    const FakeListing *listing;
    size_t next;
};

static std::map<std::string, FakeFolder> fakeFolders;
static int searchesOpen = 0;

void scriptFakeFolder(const std::string &path, const std::vector<FakeListing> &listings) {
    fakeFolders[path].listings = listings;
}

void setFakeFolder(const std::string &path, const std::vector<FakeEntry> &entries) {
    FakeListing listing;
    listing.entries = entries;
    scriptFakeFolder(path, {listing});
}

int fakeFolderOpenCount(const std::string &path) {
    auto found = fakeFolders.find(path);
    return found == fakeFolders.end() ? 0 : found->second.opens;
}

int fakeFolderSearchesOpen() {
    return searchesOpen;
}

void resetFakeFolders() {
    fakeFolders.clear();
    searchesOpen = 0;
}

FolderSearch *openFolderSearch(const char *path) {
    FakeFolder &folder = fakeFolders[path];
    int open = folder.opens++;
    if (folder.listings.empty())
        return nullptr;
    size_t index = std::min(static_cast<size_t>(open), folder.listings.size() - 1);
    const FakeListing &listing = folder.listings[index];
    if (listing.openFails)
        return nullptr;
    searchesOpen++;
    return new FolderSearch{&listing, 0};
}

FolderNextResult nextFolderEntry(FolderSearch *search, FolderEntry *entry) {
    const FakeListing &listing = *search->listing;
    if (search->next == listing.errorAfter)
        return FOLDER_NEXT_ERROR;
    if (search->next >= listing.entries.size())
        return FOLDER_NEXT_END;
    const FakeEntry &found = listing.entries[search->next++];
    entry->name = found.name.c_str();
    entry->isDirectory = found.isDirectory;
    return FOLDER_NEXT_ENTRY;
}

void closeFolderSearch(FolderSearch *search) {
    if (search == nullptr)
        return;
    searchesOpen--;
    delete search;
}
