// folder_scanner_fs_test.cpp -- scanning real folder trees: which entries become pictures and
// doors, awkward names, links, and folders that cannot be opened.
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "gallery/folder_scanner.h"
#include "gallery/gallery_state.h"
#include "support/native_paths.h"
#include "support/output_capture.h"
#include "support/temp_tree.h"

namespace {

std::vector<std::string> sorted(char **list, uint32_t count) {
    std::vector<std::string> names(list, list + count);
    std::sort(names.begin(), names.end());
    return names;
}

class FolderScannerFs : public ::testing::Test {
  protected:
    std::string root;
    void SetUp() override {
        resetGalleryState();
        root = makeTempFolder();
        ASSERT_FALSE(root.empty());
    }
    void TearDown() override {
        removeTree(root);
        resetGalleryState();
    }
    std::string scan(const std::string &path) {
        strcpy(currentPath, path.c_str());
        startCapture(stderr);
        scanFolder();
        return stopCapture(stderr);
    }
};

} // namespace

TEST_F(FolderScannerFs, PicturesAndDoorsOfAMixedFolder) {
    std::string longName = std::string(251, 'p') + ".jpg";
    for (const std::string &name :
         {std::string("a.JPG"), std::string("b.Jpeg"), std::string("name.jpg.txt"),
          std::string("name."), std::string(".jpg"), std::string("with space.gif"),
          std::string("caf\xc3\xa9 \xe2\x98\x95.bmp"), std::string("plain.txt"), longName})
        ASSERT_TRUE(makeFile(root + "/" + name)) << name;
    for (const char *name : {"x.jpg", ".hidden", "sub folder", "\xc3\xbcml", "empty"})
        ASSERT_TRUE(makeFolder(root + "/" + name)) << name;

    EXPECT_EQ(scan(root), "");
    EXPECT_EQ(sorted(pictureNames, pictureCount),
              (std::vector<std::string>{".jpg", "a.JPG", "b.Jpeg", "caf\xc3\xa9 \xe2\x98\x95.bmp",
                                        longName, "with space.gif"}));
    EXPECT_EQ(sorted(folderNames, folderCount),
              (std::vector<std::string>{"empty", "sub folder", "x.jpg", "\xc3\xbcml"}));
    EXPECT_TRUE(hasParentDoor);

    EXPECT_EQ(scan(root + "/empty"), "");
    EXPECT_EQ(pictureCount + folderCount, 0u);
}

// A link counts as what it leads to: a door for a folder, a picture for a picture file.
TEST_F(FolderScannerFs, LinksCountAsWhatTheyLeadTo) {
    ASSERT_TRUE(makeFile(root + "/a.JPG"));
    ASSERT_TRUE(makeFolder(root + "/sub folder"));
    ASSERT_TRUE(makeSymlink("sub folder", root + "/link"));
    ASSERT_TRUE(makeSymlink("a.JPG", root + "/alias.jpg"));

    EXPECT_EQ(scan(root), "");
    EXPECT_EQ(sorted(pictureNames, pictureCount), (std::vector<std::string>{"a.JPG", "alias.jpg"}));
    EXPECT_EQ(sorted(folderNames, folderCount), (std::vector<std::string>{"link", "sub folder"}));
}

// Rooms fill in name order: upper-cased, digit by digit, whatever the order on disk.
TEST_F(FolderScannerFs, ListsComeInNameOrder) {
    for (int i = 40; i-- > 0;)
        ASSERT_TRUE(
            makeFile(root + "/" + (i % 2 ? "img_" : "IMG_") + std::to_string(1000 + i) + ".gif"));
    std::vector<std::string> folders = {"A", "a", "b", "\xC3\x89t\xC3\xA9"};
#ifdef _WIN32
    folders.erase(folders.begin() + 1); // names differing in letter case only are one on Windows
#endif
    for (auto name = folders.rbegin(); name != folders.rend(); ++name)
        ASSERT_TRUE(makeFolder(root + "/" + *name)) << *name;

    scan(root);
    ASSERT_EQ(pictureCount, 40u);
    for (uint32_t i = 0; i < pictureCount; i++)
        EXPECT_EQ(pictureNames[i],
                  std::string(i % 2 ? "img_" : "IMG_") + std::to_string(1000 + i) + ".gif");
    EXPECT_EQ(std::vector<std::string>(folderNames, folderNames + folderCount), folders);
}

TEST_F(FolderScannerFs, FolderThatCannotBeOpenedLeavesOnlyTheParentDoor) {
    ASSERT_TRUE(makeFile(root + "/file.jpg"));
    for (const std::string &path : {root + "/missing", root + "/file.jpg"}) {
        EXPECT_EQ(scan(path), "No files or directory found!\nNo files or directory found!\n");
        EXPECT_EQ(pictureCount + folderCount, 0u);
        EXPECT_TRUE(hasParentDoor);
    }
}

// Linux lists the mount points with "/" first; Windows the drives "A:\" to "Z:\" in letter
// order, the drive of the temporary folder among them.
TEST_F(FolderScannerFs, DriveListHoldsTheRoot) {
    EXPECT_EQ(scan(driveListPath()), "");
    ASSERT_GE(folderCount, 1u);
#ifdef _WIN32
    const std::vector<std::string> drives(folderNames, folderNames + folderCount);
    for (const std::string &drive : drives)
        EXPECT_TRUE(drive.size() == 3 && drive[0] >= 'A' && drive[0] <= 'Z' && drive[1] == ':' &&
                    drive[2] == '\\')
            << drive;
    EXPECT_TRUE(std::is_sorted(drives.begin(), drives.end()));
    EXPECT_NE(std::find(drives.begin(), drives.end(), root.substr(0, 3)), drives.end()) << root;
#else
    EXPECT_STREQ(folderNames[0], "/");
#endif
    EXPECT_EQ(pictureCount, 0u);
    EXPECT_FALSE(hasParentDoor);
}
