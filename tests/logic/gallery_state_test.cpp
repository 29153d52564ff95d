// gallery_state_test.cpp -- the end stop's exact value, the room predicates, the slot mapping
// and the two camera poses.
#include <gtest/gtest.h>

#include "gallery/gallery_state.h"

namespace {

class GalleryState : public ::testing::Test {
  protected:
    void SetUp() override { resetGalleryState(); }
    void TearDown() override { resetGalleryState(); }
};

} // namespace

TEST_F(GalleryState, EndStopIsTheSinglePrecisionValueAndTheLoadPoseUsesIt) {
    EXPECT_EQ(static_cast<double>(zLimit()), 11.899999618530273);
    EXPECT_EQ(viewZ, -zLimit());
    EXPECT_EQ(viewY, -0.5f);
    EXPECT_EQ(viewX, 0.0f);
    EXPECT_EQ(viewHeading, 0.0f);
    EXPECT_EQ(roomNumber, 1);
    EXPECT_TRUE(hasParentDoor);
    EXPECT_STREQ(currentPath, ".");
}

TEST_F(GalleryState, PosesStandAtTheEndStops) {
    viewX = 1.2f;
    viewY = 3.0f;
    viewPitch = 30.0f;
    takeRoomEndPose();
    EXPECT_EQ(static_cast<double>(viewZ), 11.899999618530273);
    EXPECT_EQ(viewHeading, 180.0f);
    EXPECT_EQ(viewX, 0.0f);
    EXPECT_EQ(viewY, -0.5f);
    EXPECT_EQ(viewPitch, 0.0f);
    viewHeading = 90.0f;
    takeRoomStartPose();
    EXPECT_EQ(static_cast<double>(viewZ), -11.899999618530273);
    EXPECT_EQ(viewHeading, 0.0f);
}

TEST_F(GalleryState, RoomPredicatesUseUnsignedArithmetic) {
    EXPECT_FALSE(hasPreviousRoom());
    firstFolder = 9;
    EXPECT_TRUE(hasPreviousRoom());
    firstFolder = 0;

    pictureCount = 10;
    EXPECT_FALSE(hasNextRoom());
    pictureCount = 11;
    EXPECT_TRUE(hasNextRoom());
    pictureCount = 0;
    folderCount = 9;
    EXPECT_FALSE(hasNextRoom());
    folderCount = 10;
    EXPECT_TRUE(hasNextRoom());

    // firstPicture + 11 wraps around to 5.
    folderCount = 0;
    firstPicture = 0xFFFFFFFAu;
    pictureCount = 5;
    EXPECT_TRUE(hasNextRoom());
}

TEST_F(GalleryState, SlotsMapOntoTheListsAroundTheParentDoor) {
    pictureCount = 13;
    firstPicture = 10;
    uint32_t index = 99;
    EXPECT_TRUE(pictureInSlot(2, &index));
    EXPECT_EQ(index, 12u);
    EXPECT_FALSE(pictureInSlot(3, &index));

    folderCount = 12;
    firstFolder = 9;
    EXPECT_EQ(doorInSlot(0, &index), DOOR_SLOT_PARENT);
    EXPECT_EQ(doorInSlot(1, &index), DOOR_SLOT_FOLDER);
    EXPECT_EQ(index, 9u);
    EXPECT_EQ(doorInSlot(3, &index), DOOR_SLOT_FOLDER);
    EXPECT_EQ(index, 11u);
    EXPECT_EQ(doorInSlot(4, &index), DOOR_SLOT_EMPTY);

    // At the drive list every slot, 0 included, shows an entry.
    hasParentDoor = false;
    EXPECT_EQ(doorInSlot(0, &index), DOOR_SLOT_FOLDER);
    EXPECT_EQ(index, 9u);
    EXPECT_EQ(doorInSlot(2, &index), DOOR_SLOT_FOLDER);
    EXPECT_EQ(index, 11u);
    EXPECT_EQ(doorInSlot(3, &index), DOOR_SLOT_EMPTY);
}
