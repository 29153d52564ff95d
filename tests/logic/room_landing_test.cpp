// room_landing_test.cpp -- standing before a picture in the room that shows it, and telling
// which picture the viewer faces where its caption shows.
#include <gtest/gtest.h>

#include "gallery/facing_zone.h"
#include "gallery/gallery_state.h"
#include "gallery/room_landing.h"
#include "gallery/text_limits.h"
#include "render/facing_captions.h"
#include "staged_gallery.h"

namespace {

class RoomLanding : public ::testing::Test {
  protected:
    void SetUp() override { resetStagedGallery(); }
    void TearDown() override { resetStagedGallery(); }

    // viewZ with the eye a fraction f along wall slot k from its near-end edge.
    static float slotZ(int k, float f) { return 2.5f * (k + f) - 12.5f; }

    // The picture faced from the given place, or -1.
    static int facedFrom(float x, float z, float heading) {
        viewX = x;
        viewZ = z;
        viewHeading = heading;
        uint32_t index = 0;
        return facedPicture(&index) ? static_cast<int>(index) : -1;
    }

    // Stands before the picture and checks the pose, the picture faced and its caption.
    static void expectStandingBefore(uint32_t index) {
        standBeforePicture(index);
        EXPECT_EQ(viewX, lateralLimit);
        EXPECT_EQ(viewY, -0.5f);
        EXPECT_EQ(viewHeading, 90.0f);
        EXPECT_EQ(viewPitch, 0.0f);
        EXPECT_NEAR(facingZone().frac, 0.5, 1e-6);
        uint32_t faced = 999;
        EXPECT_TRUE(facedPicture(&faced));
        EXPECT_EQ(faced, index);
        char caption[CAPTION_BUFFER_SIZE];
        float alpha = 0.0f;
        ASSERT_TRUE(chooseFacingCaption(caption, sizeof caption, &alpha));
        EXPECT_STREQ(caption, pictureNames[index]);
        EXPECT_NEAR(alpha, 1.0f, 1e-6f);
    }
};

} // namespace

TEST_F(RoomLanding, StandsBeforeEachPictureInTheRoomPagingReaches) {
    openStagedFolder("/pics", 23, 3);
    struct Case {
        uint32_t index;
        int32_t room;
        uint32_t firstPicture, firstFolder;
    };
    // The three folders stop paging at their last entry.
    for (const Case &c : {Case{0, 1, 0, 0}, Case{9, 1, 0, 0}, Case{10, 2, 10, 2},
                          Case{22, 3, 20, 2}, Case{15, 2, 10, 2}}) {
        SCOPED_TRACE(c.index);
        expectStandingBefore(c.index);
        EXPECT_EQ(roomNumber, c.room);
        EXPECT_EQ(firstPicture, c.firstPicture);
        EXPECT_EQ(firstFolder, c.firstFolder);
    }
}

TEST_F(RoomLanding, SaysWhetherTheRoomChanged) {
    openStagedFolder("/pics", 23, 0);
    roomLoaded = true;
    EXPECT_FALSE(standBeforePicture(3));
    EXPECT_TRUE(roomLoaded);
    EXPECT_TRUE(standBeforePicture(22));
    EXPECT_FALSE(roomLoaded);
    roomLoaded = true;
    EXPECT_FALSE(standBeforePicture(21));
    EXPECT_TRUE(roomLoaded);
    EXPECT_EQ(roomNumber, 3);

    // Past the list nothing moves.
    viewHeading = 12.0f;
    EXPECT_FALSE(standBeforePicture(23));
    EXPECT_EQ(viewHeading, 12.0f);
    EXPECT_EQ(roomNumber, 3);
}

// With more doors than pictures the picture window stops at the last picture while the doors
// page on; a picture is then found in the first room, not in a later one that repeats it.
TEST_F(RoomLanding, PicturesOfAFolderOfManyDoorsAreFoundInTheFirstRoom) {
    openStagedFolder("/doors", 5, 30);
    firstPicture = 4;
    firstFolder = 27;
    roomNumber = 4;
    roomLoaded = true;
    EXPECT_TRUE(standBeforePicture(4));
    EXPECT_FALSE(roomLoaded);
    EXPECT_EQ(roomNumber, 1);
    EXPECT_EQ(firstFolder, 0u);
    expectStandingBefore(4);
    EXPECT_EQ(facingZone().slot, 4);
}

TEST_F(RoomLanding, NoPictureFacedOutsideTheCaptionSpot) {
    openStagedFolder("/pics", 12, 3);
    EXPECT_EQ(facedFrom(1.4f, slotZ(3, 0.5f), 90.0f), 3);
    EXPECT_EQ(facedFrom(1.3f, slotZ(3, 0.21f), 70.0f), 3);
    EXPECT_EQ(facedFrom(1.3f, slotZ(3, 0.79f), 110.0f), 3);
    EXPECT_EQ(facedFrom(1.4f, slotZ(3, 0.19f), 90.0f), -1);  // in the gap between two pictures
    EXPECT_EQ(facedFrom(1.4f, slotZ(3, 0.5f), 111.0f), -1);  // turned too far
    EXPECT_EQ(facedFrom(1.29f, slotZ(3, 0.5f), 90.0f), -1);  // too far from the wall
    EXPECT_EQ(facedFrom(-1.4f, slotZ(3, 0.5f), 270.0f), -1); // at the door wall
    EXPECT_EQ(facedFrom(0.0f, zLimit(), 0.0f), -1);          // at the far door

    firstPicture = 10;
    EXPECT_EQ(facedFrom(1.4f, slotZ(1, 0.5f), 90.0f), 11);
    EXPECT_EQ(facedFrom(1.4f, slotZ(2, 0.5f), 90.0f), -1); // beyond the last picture
}
