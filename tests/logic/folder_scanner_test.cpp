// folder_scanner_test.cpp -- scanning scripted folders and drive lists into the gallery lists,
// with folders that change between the two passes, fail midway or cannot be opened.
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "fakes/fake_drive_list.h"
#include "fakes/fake_folder_enum.h"
#include "fakes/fake_message_box.h"
#include "gallery/folder_scanner.h"
#include "gallery/gallery_state.h"
#include "support/native_paths.h"
#include "support/output_capture.h"

namespace {

const char *const DIR_MISSING = "WARNING: File/Directory missing between scan\n";
const char *const NOT_FOUND = "No files or directory found!\n";
const char *const SCAN_ERROR = "ERROR: Unable to scan directory\n";
const char *const FOLDER_REFUSED = "WARNING: Directory name index out-of bound\n";
const char *const PICTURE_REFUSED = "WARNING: filename name index out-of bound\n";

FakeEntry file(const std::string &name) {
    return {name, false};
}
FakeEntry dir(const std::string &name) {
    return {name, true};
}

FakeListing listing(const std::vector<FakeEntry> &entries, size_t errorAfter = FAKE_NO_ERROR) {
    FakeListing result;
    result.entries = entries;
    result.errorAfter = errorAfter;
    return result;
}

std::vector<std::string> names(char **list, uint32_t count) {
    return std::vector<std::string>(list, list + count);
}

class FolderScanner : public ::testing::Test {
  protected:
    void SetUp() override {
        resetGalleryState();
        resetFakeFolders();
        resetFakeDriveList();
        resetFakeMessageBoxes();
    }
    void TearDown() override {
        EXPECT_EQ(fakeFolderSearchesOpen(), 0);
        resetGalleryState();
    }
    // Scans path and returns what went to standard error.
    std::string scan(const std::string &path) {
        strcpy(currentPath, path.c_str());
        startCapture(stderr);
        EXPECT_TRUE(scanFolder());
        return stopCapture(stderr);
    }
    std::vector<std::string> pictures() { return names(pictureNames, pictureCount); }
    std::vector<std::string> folders() { return names(folderNames, folderCount); }
};

} // namespace

TEST(PictureFile, LastExtensionDecidesInAnyLetterCase) {
    for (const char *name :
         {"a.jpg", "a.JPG", "b.Jpeg", "c.gif", "d.BmP", ".jpg", "x.y.jpeg", "Screenshot.PNG",
          "w.webp", "IMG_0001.HEIC", "i.heif", "a.AVIF", "scan.tif", "scan.TIFF"})
        EXPECT_TRUE(isPictureFile(name)) << name;
    for (const char *name : {"", "jpg", "a.jpg.txt", "name.", "a.jpe", "a.jpgx", "a.pngx",
                             "a.heics", "clip.mov", "a.tiffany", "a."})
        EXPECT_FALSE(isPictureFile(name)) << name;
}

TEST_F(FolderScanner, ListsPicturesAndDoorsInEnumerationOrder) {
    setFakeFolder(nativePath("/pics"),
                  {dir("."), dir(".."), file("b.JPG"), dir("zeta"), file("notes.txt"),
                   dir(".hidden"), file("a.jpg.txt"), dir("x.jpg"), file(".gif"), file("name."),
                   dir("alpha"), file("a.jpeg")});
    roomNumber = 4;
    firstPicture = 20;
    firstFolder = 18;
    hasParentDoor = false;
    EXPECT_EQ(scan(nativePath("/pics")), "");
    EXPECT_EQ(pictures(), (std::vector<std::string>{"b.JPG", ".gif", "a.jpeg"}));
    EXPECT_EQ(folders(), (std::vector<std::string>{"zeta", "x.jpg", "alpha"}));
    // Each list's names lie back to back in its own pool.
    EXPECT_EQ(pictureNames[0], pictureNamePool);
    EXPECT_EQ(pictureNames[2], pictureNamePool + 6 + 5);
    EXPECT_EQ(folderNames[0], folderNamePool);
    EXPECT_EQ(folderNames[2], folderNamePool + 5 + 6);
    EXPECT_TRUE(hasParentDoor);
    EXPECT_EQ(firstPicture, 0u);
    EXPECT_EQ(firstFolder, 0u);
    EXPECT_EQ(roomNumber, 4);
    EXPECT_EQ(fakeFolderOpenCount(nativePath("/pics")), 2);
}

TEST_F(FolderScanner, EmptyFolderAndUnopenableFolderGiveEmptyLists) {
    setFakeFolder(nativePath("/empty"), {dir("."), dir("..")});
    EXPECT_EQ(scan(nativePath("/empty")), "");
    EXPECT_EQ(pictureCount + folderCount, 0u);

    // A rescan replaces the previous lists; an unreadable folder keeps its parent door.
    setFakeFolder(nativePath("/full"), {file("a.jpg"), dir("sub")});
    scan(nativePath("/full"));
    EXPECT_EQ(scan(nativePath("/locked")), std::string(NOT_FOUND) + NOT_FOUND);
    EXPECT_EQ(pictureCount + folderCount, 0u);
    EXPECT_TRUE(hasParentDoor);
}

TEST_F(FolderScanner, EntriesRemovedBeforeTheSecondPassAreNotCounted) {
    scriptFakeFolder(nativePath("/f"),
                     {listing({file("a.jpg"), dir("d1"), file("b.gif"), dir("d2")}),
                      listing({dir("d2"), file("a.jpg")})});
    EXPECT_EQ(scan(nativePath("/f")), DIR_MISSING);
    EXPECT_EQ(pictures(), std::vector<std::string>{"a.jpg"});
    EXPECT_EQ(folders(), std::vector<std::string>{"d2"});
}

TEST_F(FolderScanner, EntriesAddedBeforeTheSecondPassAreRefused) {
    scriptFakeFolder(nativePath("/f"),
                     {listing({file("a.jpg"), dir("d1")}),
                      listing({dir("d0"), file("a.jpg"), file("new.bmp"), dir("d1")})});
    // "d0" fills the single folder slot, so "d1" is the one refused.
    EXPECT_EQ(scan(nativePath("/f")), std::string(PICTURE_REFUSED) + FOLDER_REFUSED);
    EXPECT_EQ(pictures(), std::vector<std::string>{"a.jpg"});
    EXPECT_EQ(folders(), std::vector<std::string>{"d0"});

    // A renamed entry with a longer name no longer fits the pool.
    scriptFakeFolder(nativePath("/g"), {listing({file("a.jpg")}), listing({file("abc.jpg")})});
    EXPECT_EQ(scan(nativePath("/g")), std::string(PICTURE_REFUSED) + DIR_MISSING);
    EXPECT_EQ(pictureCount, 0u);

    // Two short names where one long one was counted: the pool has room, the pointer list not.
    scriptFakeFolder(nativePath("/h"),
                     {listing({file("long-name.jpg")}), listing({file("a.jpg"), file("b.jpg")})});
    EXPECT_EQ(scan(nativePath("/h")), PICTURE_REFUSED);
    EXPECT_EQ(pictures(), std::vector<std::string>{"a.jpg"});
}

TEST_F(FolderScanner, EnumerationErrorKeepsTheEntriesSeenSoFar) {
    std::vector<FakeEntry> entries = {file("1.jpg"), dir("a"), file("2.jpg"), dir("b")};
    // Midway through the first pass: the second pass finds more than was counted.
    scriptFakeFolder(nativePath("/first"), {listing(entries, 2), listing(entries)});
    EXPECT_EQ(scan(nativePath("/first")),
              std::string(SCAN_ERROR) + PICTURE_REFUSED + FOLDER_REFUSED);
    EXPECT_EQ(pictures(), std::vector<std::string>{"1.jpg"});
    EXPECT_EQ(folders(), std::vector<std::string>{"a"});

    // Midway through the second pass: fewer are stored than were counted.
    scriptFakeFolder(nativePath("/second"), {listing(entries), listing(entries, 3)});
    EXPECT_EQ(scan(nativePath("/second")), std::string(SCAN_ERROR) + DIR_MISSING);
    EXPECT_EQ(pictures(), (std::vector<std::string>{"1.jpg", "2.jpg"}));
    EXPECT_EQ(folders(), std::vector<std::string>{"a"});
}

TEST_F(FolderScanner, SecondOpenFailingLeavesNothingCounted) {
    FakeListing fails;
    fails.openFails = true;
    scriptFakeFolder(nativePath("/f"), {listing({file("a.jpg"), dir("d")}), fails});
    EXPECT_EQ(scan(nativePath("/f")), std::string(NOT_FOUND) + DIR_MISSING);
    EXPECT_EQ(pictureCount + folderCount, 0u);
}

TEST_F(FolderScanner, DriveListBecomesTheDoorsAtTheRoot) {
    setFakeFolder(nativePath("/pics"), {file("a.jpg")});
    scan(nativePath("/pics"));
    const std::vector<std::string> drives = nativeDrives({"/", "/home", "/media/usb stick"});
    setFakeDrives(drives);
    roomNumber = 3;
    EXPECT_EQ(scan(driveListPath()), "");
    EXPECT_EQ(folders(), drives);
    EXPECT_EQ(pictureCount, 0u);
    EXPECT_EQ(pictureNames, nullptr);
    EXPECT_FALSE(hasParentDoor);
    EXPECT_EQ(roomNumber, 3);
    EXPECT_TRUE(shownMessageBoxes.empty());
}

TEST_F(FolderScanner, UnreadableOrEmptyDriveListShowsBrowseFailed) {
    failFakeDriveList();
    scan(driveListPath());
    setFakeDrives({});
    scan(driveListPath());
    ASSERT_EQ(shownMessageBoxes.size(), 2u);
    for (const ShownMessageBox &box : shownMessageBoxes) {
        EXPECT_EQ(box.text, "Unable to enumerate list of available drives");
        EXPECT_EQ(box.title, "Browse Failed");
        EXPECT_EQ(box.kind, MESSAGE_BOX_ERROR);
    }
    EXPECT_EQ(folderCount, 0u);
    EXPECT_FALSE(hasParentDoor);
}

TEST_F(FolderScanner, HundredThousandEntries) {
    std::vector<FakeEntry> entries;
    for (int i = 0; i < 100000; i++)
        entries.push_back(i % 2 ? dir("folder " + std::to_string(i))
                                : file("picture " + std::to_string(i) + ".jpg"));
    setFakeFolder(nativePath("/big"), entries);
    EXPECT_EQ(scan(nativePath("/big")), "");
    ASSERT_EQ(pictureCount, 50000u);
    ASSERT_EQ(folderCount, 50000u);
    EXPECT_STREQ(pictureNames[49999], "picture 99998.jpg");
    EXPECT_STREQ(folderNames[49999], "folder 99999");
}
