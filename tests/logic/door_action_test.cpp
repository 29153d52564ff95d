// door_action_test.cpp -- paging between the rooms of a folder through the end doors, and
// entering sub-folders, the parent folder and drives through the side doors: landing before
// the door left behind on the way up, and refusing a folder whose path is too long.
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "fakes/fake_events.h"
#include "fakes/fake_keyboard.h"
#include "gallery/door_action.h"
#include "gallery/facing_zone.h"
#include "gallery/gallery_state.h"
#include "gallery/key_handling.h"
#include "gallery/text_limits.h"
#include "render/facing_captions.h"
#include "staged_gallery.h"
#include "support/output_capture.h"

namespace {

class DoorAction : public ::testing::Test {
  protected:
    void SetUp() override {
        resetStagedGallery();
        resetFakeEvents();
        fakeShiftDown = false;
    }
    void TearDown() override { resetStagedGallery(); }

    static void press(uint32_t key, int times = 1) {
        for (int i = 0; i < times; i++)
            handleKey(key, true);
    }

    // Enter (or another door key) as the user presses it; returns what went to standard output.
    static std::string pressEnter(uint32_t key = VK_RETURN) {
        testing::internal::CaptureStdout();
        handleKey(key, true);
        return testing::internal::GetCapturedStdout();
    }

    // The door action from the given camera place and heading.
    static std::string openFrom(float x, float z, float heading) {
        viewX = x;
        viewZ = z;
        viewHeading = heading;
        testing::internal::CaptureStdout();
        openFacingDoor();
        return testing::internal::GetCapturedStdout();
    }

    // Facing the door wall with the eye at room z = eyeZ.
    static std::string openSideDoorAt(float eyeZ, float heading = 270.0f, float x = -1.4f) {
        return openFrom(x, -eyeZ, heading);
    }

    // The middle of door slot k's band along the room.
    static float slotEyeZ(int k) { return 11.125f - 2.5f * k; }

    static void expectFreshFirstRoom() {
        EXPECT_EQ(roomNumber, 1);
        EXPECT_EQ(firstPicture, 0u);
        EXPECT_EQ(firstFolder, 0u);
        EXPECT_EQ(viewZ, -zLimit());
        EXPECT_EQ(viewX, 0.0f);
        EXPECT_EQ(viewHeading, 0.0f);
        EXPECT_FALSE(roomLoaded);
    }
};

} // namespace

TEST_F(DoorAction, NearDoorOfTheFirstRoomDoesNothing) {
    openStagedFolder("/pics", 25, 0);
    roomLoaded = true;
    press(VK_LEFT, 90);
    ASSERT_EQ(viewHeading, 180.0f);
    EXPECT_EQ(pressEnter(), "");
    EXPECT_EQ(roomNumber, 1);
    EXPECT_EQ(firstPicture, 0u);
    EXPECT_EQ(viewZ, -zLimit());
    EXPECT_EQ(viewHeading, 180.0f);
    EXPECT_TRUE(roomLoaded);
}

TEST_F(DoorAction, WalkingToTheFarDoorPagesOnAndTheNearDoorLeadsBack) {
    openStagedFolder("/pics", 25, 3);
    int scans = fakeFolderOpenCount(nativePath("/pics"));
    roomLoaded = true;
    press(VK_UP, 60);
    EXPECT_EQ(pressEnter(), "Loading Room 2...\n");
    EXPECT_EQ(roomNumber, 2);
    EXPECT_EQ(firstPicture, 10u);
    EXPECT_EQ(firstFolder, 2u); // the three folders stop at their last entry
    EXPECT_EQ(viewZ, -zLimit());
    EXPECT_EQ(viewHeading, 0.0f);
    EXPECT_FALSE(roomLoaded);

    // Arriving at the near door, turning round and passing back.
    roomLoaded = true;
    viewPitch = 7.0f;
    press(VK_LEFT, 90);
    EXPECT_EQ(pressEnter(VK_SPACE), "Loading Room 1...\n");
    EXPECT_EQ(roomNumber, 1);
    EXPECT_EQ(firstPicture, 0u);
    EXPECT_EQ(firstFolder, 0u);
    EXPECT_EQ(viewZ, zLimit());
    EXPECT_EQ(viewX, 0.0f);
    EXPECT_EQ(viewY, -0.5f);
    EXPECT_EQ(viewHeading, 180.0f);
    EXPECT_EQ(viewPitch, 0.0f);
    EXPECT_FALSE(roomLoaded);

    // Paging never rescans the folder.
    EXPECT_EQ(fakeFolderOpenCount(nativePath("/pics")), scans);
    EXPECT_EQ(pictureCount, 25u);
}

TEST_F(DoorAction, EndDoorsNeedTheExactStopACentredEyeAndAFacingHeading) {
    openStagedFolder("/pics", 25, 0);
    auto farDoorOpens = [](float x, float z, float heading) {
        firstPicture = 0;
        roomNumber = 1;
        std::string out = openFrom(x, z, heading);
        EXPECT_EQ(out.empty(), roomNumber == 1);
        return roomNumber == 2;
    };
    float limit = zLimit();
    EXPECT_TRUE(farDoorOpens(0.0f, limit, 0.0f));
    EXPECT_TRUE(farDoorOpens(0.5f, limit, 20.0f));
    EXPECT_TRUE(farDoorOpens(-0.5f, limit, 340.0f));
    EXPECT_TRUE(farDoorOpens(0.0f, limit, 360.0f));
    EXPECT_FALSE(farDoorOpens(0.0f, limit, 21.0f));
    EXPECT_FALSE(farDoorOpens(0.0f, limit, 339.0f));
    EXPECT_FALSE(farDoorOpens(0.6f, limit, 0.0f));
    EXPECT_FALSE(farDoorOpens(-0.6f, limit, 0.0f));
    EXPECT_FALSE(farDoorOpens(0.0f, std::nextafter(limit, 0.0f), 0.0f));

    auto nearDoorOpens = [](float x, float z, float heading) {
        firstPicture = 10;
        roomNumber = 2;
        std::string out = openFrom(x, z, heading);
        EXPECT_EQ(out.empty(), roomNumber == 2);
        return roomNumber == 1;
    };
    EXPECT_TRUE(nearDoorOpens(0.0f, -limit, 160.0f));
    EXPECT_TRUE(nearDoorOpens(0.5f, -limit, 200.0f));
    EXPECT_FALSE(nearDoorOpens(0.0f, -limit, 159.0f));
    EXPECT_FALSE(nearDoorOpens(0.0f, -limit, 201.0f));
    EXPECT_FALSE(nearDoorOpens(0.0f, std::nextafter(-limit, 0.0f), 180.0f));
}

TEST_F(DoorAction, ShorterListStopsAtItsLastEntryWhilePaging) {
    auto pageForward = [](std::vector<uint32_t> *pictures, std::vector<uint32_t> *folders) {
        for (int room = 0; room < 6; room++) {
            pictures->push_back(firstPicture);
            folders->push_back(firstFolder);
            if (openFrom(0.0f, zLimit(), 0.0f).empty())
                break;
        }
    };
    std::vector<uint32_t> pictures, folders;
    openStagedFolder("/mixed", 5, 30);
    pageForward(&pictures, &folders);
    EXPECT_EQ(pictures, (std::vector<uint32_t>{0, 4, 4, 4}));
    EXPECT_EQ(folders, (std::vector<uint32_t>{0, 9, 18, 27}));
    EXPECT_EQ(roomNumber, 4);

    // Going back subtracts the full step from the clamped picture index.
    EXPECT_EQ(openFrom(0.0f, -zLimit(), 180.0f), "Loading Room 3...\n");
    EXPECT_EQ(firstPicture, 0u);
    EXPECT_EQ(firstFolder, 18u);

    pictures.clear();
    folders.clear();
    openStagedFolder("/doors", 0, 30);
    pageForward(&pictures, &folders);
    EXPECT_EQ(pictures, (std::vector<uint32_t>{0, 0, 0, 0}));
    EXPECT_EQ(folders, (std::vector<uint32_t>{0, 9, 18, 27}));

    // Ten pictures fit in one room; the eleventh needs another.
    openStagedFolder("/ten", 10, 9);
    EXPECT_EQ(openFrom(0.0f, zLimit(), 0.0f), "");
    openStagedFolder("/eleven", 11, 0);
    EXPECT_EQ(openFrom(0.0f, zLimit(), 0.0f), "Loading Room 2...\n");
    EXPECT_EQ(firstPicture, 10u);
    // Ten pictures and ten folders: a step landing exactly on the count stops at the last one.
    openStagedFolder("/edge", 10, 10);
    EXPECT_EQ(openFrom(0.0f, zLimit(), 0.0f), "Loading Room 2...\n");
    EXPECT_EQ(firstPicture, 9u);
}

TEST_F(DoorAction, SideDoorsOpenOnlyInTheMiddleOfTheirSlotFacingTheWall) {
    auto opens = [](std::string out) {
        bool entered = currentPath == nativePath("/pics/dir01");
        EXPECT_EQ(out, entered ? "Folder Index: 2\n" : "");
        openStagedFolder("/pics", 0, 9);
        return entered;
    };
    openStagedFolder("/pics", 0, 9);
    // Slot 2 spans eye z 5.875 to 6.375.
    EXPECT_TRUE(opens(openSideDoorAt(slotEyeZ(2))));
    EXPECT_TRUE(opens(openSideDoorAt(6.365f)));
    EXPECT_FALSE(opens(openSideDoorAt(6.385f)));
    EXPECT_TRUE(opens(openSideDoorAt(5.885f)));
    EXPECT_FALSE(opens(openSideDoorAt(5.865f)));
    EXPECT_TRUE(opens(openSideDoorAt(slotEyeZ(2), 250.0f)));
    EXPECT_TRUE(opens(openSideDoorAt(slotEyeZ(2), 290.0f)));
    EXPECT_FALSE(opens(openSideDoorAt(slotEyeZ(2), 249.0f)));
    EXPECT_FALSE(opens(openSideDoorAt(slotEyeZ(2), 291.0f)));
    EXPECT_TRUE(opens(openSideDoorAt(slotEyeZ(2), 270.0f, -1.3f)));
    EXPECT_FALSE(opens(openSideDoorAt(slotEyeZ(2), 270.0f, -1.29f)));
}

TEST_F(DoorAction, SideDoorFolderNamesAFolderDoorsFolderAndChangesNothing) {
    openStagedFolder("/pics", 0, 2);
    char path[PATH_BUFFER_SIZE];
    EXPECT_FALSE(sideDoorFolder(0, path, sizeof path)); // the parent door
    EXPECT_FALSE(sideDoorFolder(3, path, sizeof path)); // empty
    ASSERT_TRUE(sideDoorFolder(2, path, sizeof path));
    EXPECT_EQ(path, nativePath("/pics/dir01"));
    EXPECT_EQ(currentPath, nativePath("/pics"));
}

TEST_F(DoorAction, FolderDoorsFollowTheRoomWindow) {
    openStagedFolder("/pics", 0, 30);
    roomLoaded = true;
    viewPitch = 3.0f;
    EXPECT_EQ(openSideDoorAt(slotEyeZ(1)), "Folder Index: 1\n");
    EXPECT_EQ(currentPath, nativePath("/pics/dir00"));
    EXPECT_TRUE(hasParentDoor);
    EXPECT_EQ(viewPitch, 0.0f);
    expectFreshFirstRoom();

    openStagedFolder("/pics", 0, 30);
    openFrom(0.0f, zLimit(), 0.0f);
    ASSERT_EQ(firstFolder, 9u);
    roomLoaded = true;
    EXPECT_EQ(openSideDoorAt(slotEyeZ(3)), "Folder Index: 3\n");
    EXPECT_EQ(currentPath, nativePath("/pics/dir11"));
    expectFreshFirstRoom();
}

TEST_F(DoorAction, EmptySlotPrintsItsIndexAndReloadsTheSameFolder) {
    openStagedFolder("/pics", 12, 2);
    openFrom(0.0f, zLimit(), 0.0f);
    ASSERT_EQ(roomNumber, 2);
    int scans = fakeFolderOpenCount(nativePath("/pics"));
    roomLoaded = true;
    // Room 2 starts at the second folder: slot 2 is the first empty one.
    EXPECT_EQ(openSideDoorAt(slotEyeZ(2)), "Folder Index: 2\n");
    EXPECT_EQ(currentPath, nativePath("/pics"));
    EXPECT_GT(fakeFolderOpenCount(nativePath("/pics")), scans);
    EXPECT_EQ(pictureCount, 12u);
    expectFreshFirstRoom();
}

TEST_F(DoorAction, ParentDoorStepsUpToTheDriveListAndDriveDoorsEnterMountPoints) {
    const std::vector<std::string> mountPoints = {"/",      "/boot",  "/home",  "/media/usb",
                                                  "/mnt/a", "/mnt/b", "/mnt/c", "/mnt/d",
                                                  "/mnt/e", "/mnt/f", "/mnt/g"};
    const std::vector<std::string> drives = nativeDrives(mountPoints);
    setFakeDrives(drives);
    openStagedFolder("/home/user", 3, 0);
    EXPECT_EQ(openSideDoorAt(slotEyeZ(0)), "Folder Index: 0\n");
    EXPECT_EQ(currentPath, nativePath("/home"));
    EXPECT_TRUE(hasParentDoor);
    openSideDoorAt(slotEyeZ(0));
    EXPECT_EQ(currentPath, nativePath("/"));
    openSideDoorAt(slotEyeZ(0));
    EXPECT_EQ(currentPath, driveListPath());
    EXPECT_FALSE(hasParentDoor);
    EXPECT_EQ(folderCount, 11u);

    // At the drive list slot 0 is a drive, not a parent door.
    EXPECT_EQ(openSideDoorAt(slotEyeZ(3)), "Folder Index: 3\n");
    EXPECT_EQ(currentPath, driveFolder(drives[3]));
    expectFreshFirstRoom();

    openStagedDriveList(mountPoints);
    EXPECT_EQ(openSideDoorAt(slotEyeZ(0)), "Folder Index: 0\n");
    EXPECT_EQ(currentPath, driveFolder(drives[0]));

    // The second room of drives starts nine on, so slot 0 repeats the tenth drive.
    openStagedDriveList(mountPoints);
    openFrom(0.0f, zLimit(), 0.0f);
    ASSERT_EQ(firstFolder, 9u);
    openSideDoorAt(slotEyeZ(0));
    EXPECT_EQ(currentPath, driveFolder(drives[9]));
}

// A folder whose path would not fit the buffer is not opened: one error line, and the viewer
// stays in the room as it was. A path that just fits opens.
TEST_F(DoorAction, FolderWhosePathDoesNotFitIsRefusedAndTheViewerStays) {
    // A native folder path of the given length; entering "dir00" adds six characters.
    auto folderOfLength = [](size_t length) {
        std::string path = nativePath("/a");
        return path + std::string(length - path.size(), 'a');
    };
    const std::string fits = folderOfLength(PATH_BUFFER_SIZE - 7);
    setFakeFolder(fits, numberedEntries(0, 1));
    strcpy(currentPath, fits.c_str());
    scanFolder();
    char path[PATH_BUFFER_SIZE];
    EXPECT_TRUE(sideDoorFolder(1, path, sizeof path));
    EXPECT_EQ(openSideDoorAt(slotEyeZ(1)), "Folder Index: 1\n");
    EXPECT_EQ(strlen(currentPath), static_cast<size_t>(PATH_BUFFER_SIZE - 1));
    EXPECT_EQ(std::string(currentPath),
              fits + nativePath("/a/dir00").substr(nativePath("/a").size()));

    const std::string tooLong = folderOfLength(PATH_BUFFER_SIZE - 6);
    openStagedFolder(tooLong, 12, 1);
    openFrom(0.0f, zLimit(), 0.0f); // room 2
    roomLoaded = true;
    int scans = fakeFolderOpenCount(tooLong);
    EXPECT_FALSE(sideDoorFolder(1, path, sizeof path));
    startCapture(stderr);
    EXPECT_EQ(openSideDoorAt(slotEyeZ(1), 280.0f), "Folder Index: 1\n");
    EXPECT_EQ(stopCapture(stderr), "ERROR: Unable to open folder dir00: its path is too long\n");
    EXPECT_EQ(std::string(currentPath), tooLong);
    EXPECT_EQ(fakeFolderOpenCount(tooLong), scans);
    EXPECT_EQ(roomNumber, 2);
    EXPECT_EQ(firstPicture, 10u);
    EXPECT_EQ(viewZ, -slotEyeZ(1));
    EXPECT_EQ(viewHeading, 280.0f);
    EXPECT_TRUE(roomLoaded);
}

// Up through the parent door the viewer lands before the door they came out of: here the 14th
// sub-folder, the fifth door of the parent's second room.
TEST_F(DoorAction, ParentDoorLandsBeforeTheDoorOfTheFolderLeft) {
    openStagedFolder("/pics", 12, 20);
    openStagedFolder("/pics/dir13", 2, 0);
    roomLoaded = true;
    viewPitch = 5.0f;
    EXPECT_EQ(openSideDoorAt(slotEyeZ(0)), "Folder Index: 0\n");
    EXPECT_EQ(currentPath, nativePath("/pics"));
    // The window paging on from room 1 reaches.
    EXPECT_EQ(roomNumber, 2);
    EXPECT_EQ(firstPicture, 10u);
    EXPECT_EQ(firstFolder, 9u);
    EXPECT_FALSE(roomLoaded);
    EXPECT_EQ(viewX, -lateralLimit);
    EXPECT_EQ(viewY, -0.5f);
    EXPECT_EQ(viewHeading, 270.0f);
    EXPECT_EQ(viewPitch, 0.0f);
    EXPECT_NEAR(-viewZ, slotEyeZ(5), 1e-5f);
    const FacingZone zone = facingZone();
    EXPECT_TRUE(facesSideDoor(zone));
    EXPECT_EQ(zone.slot, 5);
    char caption[CAPTION_BUFFER_SIZE];
    float alpha = 0.0f;
    ASSERT_TRUE(chooseFacingCaption(caption, sizeof caption, &alpha));
    EXPECT_STREQ(caption, "dir13");

    // Enter there opens that door again; walking back a room goes as if walked there.
    EXPECT_EQ(pressEnter(), "Folder Index: 5\n");
    EXPECT_EQ(currentPath, nativePath("/pics/dir13"));
    expectFreshFirstRoom();
    openSideDoorAt(slotEyeZ(0));
    EXPECT_EQ(openFrom(0.0f, -zLimit(), 180.0f), "Loading Room 1...\n");
    EXPECT_EQ(firstPicture, 0u);
    EXPECT_EQ(firstFolder, 0u);

    // With fewer pictures than rooms of doors, the picture window stops at the last picture.
    openStagedFolder("/few", 3, 20);
    openStagedFolder("/few/dir19", 0, 0);
    openSideDoorAt(slotEyeZ(0));
    EXPECT_EQ(roomNumber, 3);
    EXPECT_EQ(firstPicture, 2u);
    EXPECT_EQ(firstFolder, 18u);
    EXPECT_EQ(facingZone().slot, 2);
}

// From a drive's top folder up to the drive list the viewer lands before that drive's door,
// in the first room that shows it (drive rooms share one drive). On Linux the way up from "/"
// alone leads there, so "/" is staged as the drive left.
TEST_F(DoorAction, DriveListLandsBeforeTheDriveLeft) {
    // Eleven drives, the one left at the given position; returns its native name.
    auto leaveDrive = [](size_t position) {
        std::vector<std::string> mountPoints;
        for (char c = 'a'; c <= 'j'; c++)
            mountPoints.push_back(std::string("/mnt/") + c);
        mountPoints.insert(mountPoints.begin() + static_cast<long>(position), "/");
        const std::string drive = nativeDrives(mountPoints)[position];
        setFakeDrives(nativeDrives(mountPoints));
        setFakeFolder(driveFolder(drive), numberedEntries(1, 1));
        strcpy(currentPath, driveFolder(drive).c_str());
        scanFolder();
        EXPECT_EQ(openSideDoorAt(slotEyeZ(0)), "Folder Index: 0\n");
        EXPECT_EQ(currentPath, driveListPath());
        return drive;
    };
    const std::string eleventh = leaveDrive(10);
    EXPECT_EQ(roomNumber, 2);
    EXPECT_EQ(firstFolder, 9u);
    EXPECT_EQ(viewX, -lateralLimit);
    EXPECT_EQ(viewHeading, 270.0f);
    EXPECT_TRUE(facesSideDoor(facingZone()));
    EXPECT_EQ(facingZone().slot, 1);
    EXPECT_EQ(pressEnter(), "Folder Index: 1\n");
    EXPECT_EQ(currentPath, driveFolder(eleventh));

    // The tenth drive still shows in the first room.
    leaveDrive(9);
    EXPECT_EQ(roomNumber, 1);
    EXPECT_EQ(firstFolder, 0u);
    EXPECT_EQ(facingZone().slot, 9);
}

// When no door of the parent leads back (the folder is gone, or the step only dropped a
// trailing separator and reloads the same folder), the viewer starts in the first room.
TEST_F(DoorAction, ParentDoorWithoutTheFolderLeftStartsInTheFirstRoom) {
    openStagedFolder("/pics", 12, 20);
    setFakeFolder(nativePath("/pics"), numberedEntries(12, 10)); // dir13 vanished
    openStagedFolder("/pics/dir13", 0, 0);
    EXPECT_EQ(openSideDoorAt(slotEyeZ(0)), "Folder Index: 0\n");
    EXPECT_EQ(currentPath, nativePath("/pics"));
    expectFreshFirstRoom();

    openStagedFolder("/pics", 0, 20);
    strcpy(currentPath, nativePath("/pics/").c_str());
    EXPECT_EQ(openSideDoorAt(slotEyeZ(0)), "Folder Index: 0\n");
    EXPECT_EQ(currentPath, nativePath("/pics"));
    expectFreshFirstRoom();
}
