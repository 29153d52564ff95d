// folder_scanner.cpp -- fills the gallery's picture and folder lists from currentPath, or the
// folder list from the drive list. Two passes, so each list is allocated once at its exact size.
#include "gallery/folder_scanner.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "gallery/gallery_state.h"
#include "gallery/path_model.h"
#include "platform/drive_list.h"
#include "platform/folder_enum.h"
#include "platform/message_box.h"
#include "platform/this_thread.h"

enum EntryKind { ENTRY_IGNORED, ENTRY_FOLDER, ENTRY_PICTURE };

// One list being filled in the second pass: its pointer array and a cursor into its pool.
struct ListFill {
    char **names;
    uint32_t capacity;
    char *cursor;
    size_t poolLeft;
    uint32_t stored;
};

// ASCII comparison ignoring letter case, independent of the locale.
static bool equalsIgnoringCase(const char *text, const char *lowerCase) {
    for (; *lowerCase != '\0'; text++, lowerCase++) {
        char c = *text;
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != *lowerCase)
            return false;
    }
    return *text == '\0';
}

bool isPictureFile(const char *name) {
    const char *dot = strrchr(name, '.');
    if (dot == nullptr)
        return false;
    const char *extension = dot + 1;
    static const char *const extensions[] = {"jpg",  "jpeg", "gif",  "bmp", "png", "webp",
                                             "heic", "heif", "avif", "tif", "tiff"};
    for (const char *known : extensions)
        if (equalsIgnoringCase(extension, known))
            return true;
    return false;
}

// Folders whose names begin with a dot ("." and ".." among them) never become doors; the
// directory test comes first, so a folder named like a picture is still a door.
static EntryKind classifyEntry(const FolderEntry *entry) {
    if (entry->isDirectory)
        return entry->name[0] == '.' ? ENTRY_IGNORED : ENTRY_FOLDER;
    return isPictureFile(entry->name) ? ENTRY_PICTURE : ENTRY_IGNORED;
}

static void releaseLists() {
    free(pictureNames);
    pictureNames = nullptr;
    free(pictureNamePool);
    pictureNamePool = nullptr;
    free(folderNames);
    folderNames = nullptr;
    free(folderNamePool);
    folderNamePool = nullptr;
    folderCount = 0;
    pictureCount = 0;
}

// Called while a folder is being read, at least every FOLDER_WAIT_STEP; null for none.
static void (*whileReading)() = nullptr;
static constexpr std::chrono::milliseconds FOLDER_WAIT_STEP(30);

void setFolderWaiting(void (*whileWaiting)()) {
    whileReading = whileWaiting;
}

// A folder on slow storage may take long to read: it is read on a thread of its own ("qm-scan")
// while whileReading keeps the window answering. The thread is joined once it has read the
// folder; if the program ends meanwhile, it ends with it.
static FolderSearch *readFolder(const char *path) {
    if (whileReading == nullptr)
        return openFolderSearch(path);
    std::mutex lock;
    std::condition_variable done;
    bool finished = false;
    FolderSearch *search = nullptr;
    std::string folder = path;
    std::thread reader([&] {
        nameThisThread("qm-scan");
        FolderSearch *read = openFolderSearch(folder.c_str());
        std::lock_guard<std::mutex> guard(lock);
        search = read;
        finished = true;
        done.notify_all();
    });
    std::unique_lock<std::mutex> guard(lock);
    while (!done.wait_for(guard, FOLDER_WAIT_STEP, [&] { return finished; })) {
        guard.unlock();
        whileReading();
        guard.lock();
    }
    guard.unlock();
    reader.join();
    return search;
}

// Opens currentPath for one pass; says so on standard error when it cannot be opened.
static FolderSearch *openCurrentFolder() {
    FolderSearch *search = readFolder(currentPath);
    if (search == nullptr)
        fprintf(stderr, "No files or directory found!\n");
    return search;
}

static void reportEnumerationEnd(FolderNextResult result) {
    if (result == FOLDER_NEXT_ERROR)
        fprintf(stderr, "ERROR: Unable to scan directory\n");
}

// First pass: counts the pictures and folders and the pool bytes their names need.
static void countEntries(size_t *pictureBytes, size_t *folderBytes) {
    FolderSearch *search = openCurrentFolder();
    if (search == nullptr)
        return;
    FolderEntry entry;
    FolderNextResult result;
    while ((result = nextFolderEntry(search, &entry)) == FOLDER_NEXT_ENTRY) {
        EntryKind kind = classifyEntry(&entry);
        if (kind == ENTRY_FOLDER) {
            *folderBytes += strlen(entry.name) + 1;
            folderCount++;
        } else if (kind == ENTRY_PICTURE) {
            *pictureBytes += strlen(entry.name) + 1;
            pictureCount++;
        }
    }
    reportEnumerationEnd(result);
    closeFolderSearch(search);
}

// Copies a name into the list when both the pointer array and the pool still have room.
static bool storeName(ListFill *list, const char *name, size_t length) {
    if (list->stored >= list->capacity || length + 1 > list->poolLeft)
        return false;
    memcpy(list->cursor, name, length + 1);
    list->names[list->stored++] = list->cursor;
    list->cursor += length + 1;
    list->poolLeft -= length + 1;
    return true;
}

// Second pass: copies the names into the lists sized by the first pass. Entries that appeared
// since the first pass are refused rather than written past the blocks.
static void fillEntries(ListFill *pictures, ListFill *folders) {
    FolderSearch *search = openCurrentFolder();
    if (search == nullptr)
        return;
    FolderEntry entry;
    FolderNextResult result;
    while ((result = nextFolderEntry(search, &entry)) == FOLDER_NEXT_ENTRY) {
        EntryKind kind = classifyEntry(&entry);
        if (kind == ENTRY_IGNORED)
            continue;
        size_t length = strlen(entry.name);
        if (kind == ENTRY_FOLDER && !storeName(folders, entry.name, length))
            fprintf(stderr, "WARNING: Directory name index out-of bound\n");
        else if (kind == ENTRY_PICTURE && !storeName(pictures, entry.name, length))
            fprintf(stderr, "WARNING: filename name index out-of bound\n");
    }
    reportEnumerationEnd(result);
    closeFolderSearch(search);
}

static void scanFolderEntries() {
    size_t pictureBytes = 0;
    size_t folderBytes = 0;
    countEntries(&pictureBytes, &folderBytes);

    pictureNames = static_cast<char **>(malloc(pictureCount * sizeof(char *)));
    pictureNamePool = static_cast<char *>(malloc(pictureBytes));
    folderNames = static_cast<char **>(malloc(folderCount * sizeof(char *)));
    folderNamePool = static_cast<char *>(malloc(folderBytes));

    ListFill pictures = {pictureNames, pictureCount, pictureNamePool, pictureBytes, 0};
    ListFill folders = {folderNames, folderCount, folderNamePool, folderBytes, 0};
    fillEntries(&pictures, &folders);

    if (pictures.stored != pictureCount || folders.stored != folderCount) {
        fprintf(stderr, "WARNING: File/Directory missing between scan\n");
        // Readers index the lists up to the counts, so the counts cover only what was stored.
        pictureCount = pictures.stored;
        folderCount = folders.stored;
    }
}

// The drive list becomes the folder list: one door per mount point, in the listed order.
static void scanDriveList() {
    DriveList drives;
    if (!readDriveList(&drives) || drives.count == 0) {
        freeDriveList(&drives);
        showMessageBox("Unable to enumerate list of available drives", "Browse Failed",
                       MESSAGE_BOX_ERROR);
        return;
    }
    size_t poolBytes = 0;
    for (uint32_t i = 0; i < drives.count; i++)
        poolBytes += strlen(drives.mountPoints[i]) + 1;
    folderNames = static_cast<char **>(malloc(drives.count * sizeof(char *)));
    folderNamePool = static_cast<char *>(malloc(poolBytes));
    ListFill folders = {folderNames, drives.count, folderNamePool, poolBytes, 0};
    for (uint32_t i = 0; i < drives.count; i++)
        storeName(&folders, drives.mountPoints[i], strlen(drives.mountPoints[i]));
    folderCount = folders.stored;
    freeDriveList(&drives);
}

bool scanFolder() {
    releaseLists();
    bool atDriveList = pathIsDriveList(currentPath, NATIVE_PATH_STYLE);
    if (atDriveList)
        scanDriveList();
    else
        scanFolderEntries();
    hasParentDoor = !atDriveList;
    firstPicture = 0;
    firstFolder = 0;
    return true;
}
