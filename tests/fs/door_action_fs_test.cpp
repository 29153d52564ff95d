// door_action_fs_test.cpp -- side doors on real folders at the edge of the longest path: a door
// into a folder whose path no longer fits is refused with one error line, and one that fits
// opens.
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "gallery/door_action.h"
#include "gallery/folder_scanner.h"
#include "gallery/gallery_state.h"
#include "gallery/room_landing.h"
#include "gallery/text_limits.h"
#include "support/output_capture.h"
#include "support/temp_tree.h"

namespace {

class DoorActionFs : public ::testing::Test {
  protected:
    std::string root;
    int deepest = -1;
    const std::string longName = std::string(255, 'z');

    void SetUp() override {
        resetGalleryState();
        root = makeTempFolder();
        ASSERT_FALSE(root.empty());
    }
    void TearDown() override {
        // The tree walk cannot reach past the longest path: that folder goes first, by handle.
        if (deepest >= 0) {
            unlinkat(deepest, longName.c_str(), AT_REMOVEDIR);
            close(deepest);
        }
        removeTree(root);
        resetGalleryState();
    }

    // The door action; returns what it wrote to standard error.
    static std::string openDoor() {
        testing::internal::CaptureStdout();
        startCapture(stderr);
        openFacingDoor();
        std::string errors = stopCapture(stderr);
        testing::internal::GetCapturedStdout();
        return errors;
    }

    static uint32_t folderIndex(const std::string &name) {
        for (uint32_t i = 0; i < folderCount; i++)
            if (name == folderNames[i])
                return i;
        ADD_FAILURE() << "no door " << name;
        return 0;
    }
};

} // namespace

TEST_F(DoorActionFs, FolderPastTheLongestPathIsRefusedAndOneThatFitsOpens) {
    // A chain of folders deep enough that a 255-byte name no longer fits below it, while a
    // one-letter name does.
    std::string deep = root;
    const std::string level(250, 'l');
    while (deep.size() + 1 + level.size() <= PATH_BUFFER_SIZE - 3) {
        deep += "/" + level;
        ASSERT_TRUE(makeFolder(deep)) << deep.size();
    }
    deepest = open(deep.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(deepest, 0);
    ASSERT_EQ(mkdirat(deepest, longName.c_str(), 0755), 0);
    ASSERT_EQ(mkdirat(deepest, "b", 0755), 0);
    ASSERT_GT(deep.size() + 1 + longName.size(), static_cast<size_t>(PATH_BUFFER_SIZE - 1));

    strcpy(currentPath, deep.c_str());
    scanFolder();
    ASSERT_EQ(folderCount, 2u);

    standBeforeFolderDoor(folderIndex(longName));
    roomLoaded = true;
    const float z = viewZ;
    EXPECT_EQ(openDoor(), "ERROR: Unable to open folder " + longName + ": its path is too long\n");
    EXPECT_EQ(std::string(currentPath), deep);
    EXPECT_EQ(folderCount, 2u);
    EXPECT_EQ(viewZ, z);
    EXPECT_TRUE(roomLoaded);

    standBeforeFolderDoor(folderIndex("b"));
    EXPECT_EQ(openDoor(), "");
    EXPECT_EQ(std::string(currentPath), deep + "/b");
    EXPECT_EQ(folderCount, 0u);
}
