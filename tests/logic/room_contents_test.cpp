// room_contents_test.cpp -- which pictures, doors and end doors a room window yields, with their
// slots, textures and labels, and where the wall slots lie.
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "gallery/gallery_state.h"
#include "render/texture_names.h"
#include "render/room_contents.h"
#include "staged_gallery.h"

namespace {

// "picture 3 pic03.jpg", "door 0 Parent Folder(..)", "near Room - 1", "far Room - 3".
std::vector<std::string> roomFixtures() {
    static RoomFixture fixtures[MAX_ROOM_FIXTURES];
    const uint32_t count = collectRoomFixtures(fixtures);
    std::vector<std::string> listed;
    for (uint32_t i = 0; i < count; i++) {
        const RoomFixture &f = fixtures[i];
        const int texture =
            f.kind == FIXTURE_PICTURE ? TEX_PICTURE0 + static_cast<int>(f.slot) : TEX_DOOR;
        EXPECT_EQ(f.texture, texture) << f.label;
        switch (f.kind) {
        case FIXTURE_PICTURE:
            listed.push_back("picture " + std::to_string(f.slot) + " " + f.label);
            break;
        case FIXTURE_DOOR:
            listed.push_back("door " + std::to_string(f.slot) + " " + f.label);
            break;
        case FIXTURE_NEAR_DOOR:
            listed.push_back(std::string("near ") + f.label);
            break;
        case FIXTURE_FAR_DOOR:
            listed.push_back(std::string("far ") + f.label);
            break;
        }
    }
    return listed;
}

std::vector<std::string> pictures(int firstSlot, int lastSlot, int firstIndex) {
    std::vector<std::string> listed;
    char text[64];
    for (int slot = firstSlot; slot <= lastSlot; slot++) {
        snprintf(text, sizeof text, "picture %d pic%02d.jpg", slot, firstIndex + slot - firstSlot);
        listed.push_back(text);
    }
    return listed;
}

std::vector<std::string> doors(int firstSlot, int lastSlot, int firstIndex) {
    std::vector<std::string> listed;
    char text[64];
    for (int slot = firstSlot; slot <= lastSlot; slot++) {
        snprintf(text, sizeof text, "door %d dir%02d", slot, firstIndex + slot - firstSlot);
        listed.push_back(text);
    }
    return listed;
}

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string> &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::string parentDoor = "door 0 Parent Folder(..)";

class RoomContents : public ::testing::Test {
  protected:
    void SetUp() override { resetStagedGallery(); }
    void TearDown() override { resetStagedGallery(); }
};

TEST_F(RoomContents, SlotCentresStepDownTheRoomFromTheNearEnd) {
    const float centres[10] = {11.2f, 8.7f, 6.2f, 3.7f, 1.2f, -1.3f, -3.8f, -6.3f, -8.8f, -11.3f};
    for (uint32_t slot = 0; slot < WALL_SLOTS; slot++)
        EXPECT_FLOAT_EQ(slotCenterZ(slot), centres[slot]) << "slot " << slot;
    // The slots follow the room length.
    roomLength = 30.0f;
    EXPECT_FLOAT_EQ(slotCenterZ(0), 13.7f);
}

TEST_F(RoomContents, FewPicturesFillTheSlotsNearestTheEntrance) {
    openStagedFolder("/art", 5, 0);
    EXPECT_EQ(roomFixtures(), joined(pictures(0, 4, 0), {parentDoor}));
}

TEST_F(RoomContents, EmptyFolderShowsOnlyTheParentDoor) {
    openStagedFolder("/art/empty", 0, 0);
    EXPECT_EQ(roomFixtures(), std::vector<std::string>{parentDoor});
}

TEST_F(RoomContents, ParentDoorLeavesNineSlotsForFolders) {
    openStagedFolder("/art", 0, 9);
    EXPECT_EQ(roomFixtures(), joined({parentDoor}, doors(1, 9, 0)));

    // A tenth folder does not fit and brings the door to the next room.
    openStagedFolder("/art", 0, 10);
    EXPECT_EQ(roomFixtures(), joined(joined({parentDoor}, doors(1, 9, 0)), {"far Room - 2"}));
}

TEST_F(RoomContents, DriveListFillsAllTenSlotsWithoutParentDoor) {
    const std::vector<std::string> three = {"/", "/boot", "/home"};
    const std::vector<std::string> drives = nativeDrives(three);
    openStagedDriveList(three);
    EXPECT_EQ(roomFixtures(),
              (std::vector<std::string>{"door 0 " + drives[0], "door 1 " + drives[1],
                                        "door 2 " + drives[2]}));

    // Exactly ten drives fill the wall, and the far door is drawn as well.
    const std::vector<std::string> ten = {"/",      "/boot",  "/home",  "/media/usb", "/mnt/a",
                                          "/mnt/b", "/mnt/c", "/mnt/d", "/mnt/e",     "/mnt/f"};
    openStagedDriveList(ten);
    const std::vector<std::string> listed = roomFixtures();
    ASSERT_EQ(listed.size(), 11u);
    EXPECT_EQ(listed.front(), "door 0 " + nativeDrives(ten).front());
    EXPECT_EQ(listed[9], "door 9 " + nativeDrives(ten).back());
    EXPECT_EQ(listed.back(), "far Room - 2");
}

TEST_F(RoomContents, EleventhPictureBringsTheFarDoor) {
    openStagedFolder("/art", 10, 9);
    EXPECT_EQ(roomFixtures(), joined(joined(pictures(0, 9, 0), {parentDoor}), doors(1, 9, 0)));

    openStagedFolder("/art", 11, 0);
    EXPECT_EQ(roomFixtures(), joined(joined(pictures(0, 9, 0), {parentDoor}), {"far Room - 2"}));
}

TEST_F(RoomContents, LaterRoomsShowTheirWindowAndBothEndDoors) {
    // Room 1 has no door back.
    openStagedFolder("/art", 25, 12);
    std::vector<std::string> listed = roomFixtures();
    EXPECT_EQ(listed.back(), "far Room - 2");
    EXPECT_EQ(std::count(listed.begin(), listed.end(), "near Room - 0"), 0);

    // Room 3 of the pictures, past the folders: slots show pictures 20 to 24 and only the
    // parent door; the near door leads back to room 2.
    firstPicture = 20;
    firstFolder = 18;
    roomNumber = 3;
    EXPECT_EQ(roomFixtures(), joined(joined(pictures(0, 4, 20), {parentDoor}), {"near Room - 2"}));

    // Room 2: the second window of both lists, with doors both ways.
    firstPicture = 10;
    firstFolder = 9;
    roomNumber = 2;
    EXPECT_EQ(roomFixtures(),
              joined(joined(joined(pictures(0, 9, 10), {parentDoor}), doors(1, 3, 9)),
                     {"near Room - 1", "far Room - 3"}));
}

} // namespace
