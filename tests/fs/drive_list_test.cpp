// drive_list_test.cpp -- the drive list read from staged mount tables over real folders, files
// and devices.
#include <cstdio>
#include <dirent.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "platform/drive_list.h"
#include "support/temp_tree.h"

namespace {

// A block device of this machine, or empty when it has none.
std::string someBlockDevice() {
    DIR *dev = opendir("/dev");
    std::string found;
    while (dev != nullptr && found.empty()) {
        const struct dirent *entry = readdir(dev);
        if (entry == nullptr)
            break;
        const std::string path = std::string("/dev/") + entry->d_name;
        struct stat info;
        if (stat(path.c_str(), &info) == 0 && S_ISBLK(info.st_mode))
            found = path;
    }
    if (dev != nullptr)
        closedir(dev);
    return found;
}

class DriveMounts : public ::testing::Test {
  protected:
    std::string root, device;
    void SetUp() override {
        root = makeTempFolder();
        ASSERT_FALSE(root.empty());
        device = someBlockDevice();
        if (device.empty())
            GTEST_SKIP() << "no block device to mount from";
    }
    void TearDown() override { removeTree(root); }

    // Writes table into a mount table file and reads the drive list from it.
    std::vector<std::string> drivesFromTable(const std::string &table) {
        const std::string path = root + "/mounts";
        FILE *file = fopen(path.c_str(), "w");
        fputs(table.c_str(), file);
        fclose(file);
        DriveList list;
        EXPECT_TRUE(readDriveListFrom(path.c_str(), &list));
        std::vector<std::string> drives(list.mountPoints, list.mountPoints + list.count);
        freeDriveList(&list);
        return drives;
    }
    // One table line mounting source on the folder root/name, which is created.
    std::string mountLine(const std::string &source, const std::string &name) {
        makeFolder(root + "/" + name);
        return source + " " + root + "/" + name + " ext4 rw 0 0\n";
    }
};

} // namespace

// In name order, as the folders of a room: letter case aside, then by bytes; "/" first.
TEST_F(DriveMounts, BlockDeviceFoldersInNameOrderWithoutDuplicates) {
    const std::string table = "overlay / overlay rw,relatime 0 0\n"
                              "proc /proc proc rw,nosuid 0 0\n" +
                              mountLine(device, "b") + mountLine("tmpfs", "tmp") +
                              mountLine(device, "home") + mountLine(device, "a") +
                              mountLine(device, "home") + mountLine(device, "Zip") +
                              mountLine(device, "A") + mountLine(device, "disk10") +
                              mountLine(device, "disk9") + mountLine(device, "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(drivesFromTable(table),
              (std::vector<std::string>{"/", root + "/A", root + "/a", root + "/b",
                                        root + "/disk10", root + "/disk9", root + "/home",
                                        root + "/Zip", root + "/\xC3\xA9t\xC3\xA9"}));
}

// A file bind-mounted from a disk, a character device, a regular file as source and a missing
// mount point are no drives.
TEST_F(DriveMounts, OnlyFoldersWithABlockDeviceSourceAreDrives) {
    ASSERT_TRUE(makeFile(root + "/image"));
    const std::string table = device + " " + root + "/image ext4 rw 0 0\n" +
                              mountLine("/dev/null", "null") + mountLine(root + "/image", "loop") +
                              device + " " + root + "/gone ext4 rw 0 0\n" +
                              mountLine(device, "disk");
    EXPECT_EQ(drivesFromTable(table), (std::vector<std::string>{"/", root + "/disk"}));
}

TEST_F(DriveMounts, EscapedSpacesInMountPointsAreDecoded) {
    makeFolder(root + "/usb stick");
    makeFolder(root + "/tab\there");
    EXPECT_EQ(drivesFromTable(device + " " + root + "/usb\\040stick vfat rw 0 0\n" + device + " " +
                              root + "/tab\\011here vfat rw 0 0\n"),
              (std::vector<std::string>{"/", root + "/tab\there", root + "/usb stick"}));
}

TEST(DriveListTable, MissingTableFailsWithAnEmptyList) {
    DriveList list;
    EXPECT_FALSE(readDriveListFrom("/nonexistent/quillmere/mounts", &list));
    EXPECT_EQ(list.count, 0u);
    EXPECT_EQ(list.mountPoints, nullptr);
    freeDriveList(&list);
}
