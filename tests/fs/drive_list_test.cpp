// drive_list_test.cpp -- the drive list read from staged mount tables and the system's own.
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/drive_list.h"
#include "support/temp_tree.h"

namespace {

// Writes table into a temporary mount table file and reads the drive list from it.
std::vector<std::string> drivesFromTable(const std::string &table) {
    std::string folder = makeTempFolder();
    std::string path = folder + "/mounts";
    FILE *file = fopen(path.c_str(), "w");
    fputs(table.c_str(), file);
    fclose(file);
    DriveList list;
    EXPECT_TRUE(readDriveListFrom(path.c_str(), &list));
    std::vector<std::string> drives(list.mountPoints, list.mountPoints + list.count);
    freeDriveList(&list);
    removeTree(folder);
    return drives;
}

} // namespace

TEST(DriveList, BlockDeviceMountsSortedWithoutDuplicates) {
    std::string table = "overlay / overlay rw,relatime 0 0\n"
                        "proc /proc proc rw,nosuid 0 0\n"
                        "/dev/sdc1 /mnt/b ext4 rw 0 0\n"
                        "tmpfs /tmp tmpfs rw 0 0\n"
                        "/dev/sda2 /home ext4 rw 0 0\n"
                        "/dev/sdc2 /mnt/a ext4 rw 0 0\n"
                        "/dev/sda2 /home ext4 rw 0 0\n"
                        "sysfs /sys sysfs ro 0 0\n"
                        "/dev/sdd1 /Zip vfat rw 0 0\n"
                        "/dev/sda1 / ext4 rw 0 0\n"
                        "devtmpfs /dev devtmpfs rw 0 0\n";
    EXPECT_EQ(drivesFromTable(table),
              (std::vector<std::string>{"/", "/Zip", "/home", "/mnt/a", "/mnt/b"}));
}

TEST(DriveList, EscapedSpacesInMountPointsAreDecoded) {
    EXPECT_EQ(drivesFromTable("/dev/sdb1 /media/usb\\040stick vfat rw 0 0\n"
                              "/dev/sdb2 /media/tab\\011here vfat rw 0 0\n"),
              (std::vector<std::string>{"/", "/media/tab\there", "/media/usb stick"}));
}

TEST(DriveList, RootIsListedEvenWithoutBlockDevices) {
    EXPECT_EQ(drivesFromTable("tmpfs /tmp tmpfs rw 0 0\n"), std::vector<std::string>{"/"});
}

TEST(DriveList, MissingTableFailsWithAnEmptyList) {
    DriveList list;
    EXPECT_FALSE(readDriveListFrom("/nonexistent/quillmere/mounts", &list));
    EXPECT_EQ(list.count, 0u);
    EXPECT_EQ(list.mountPoints, nullptr);
    freeDriveList(&list);
}

TEST(DriveList, SystemTableStartsWithRoot) {
    DriveList list;
    ASSERT_TRUE(readDriveList(&list));
    ASSERT_GE(list.count, 1u);
    EXPECT_STREQ(list.mountPoints[0], "/");
    freeDriveList(&list);
}
