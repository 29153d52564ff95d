// facing_captions_test.cpp -- which caption shows where the viewer stands and faces, and how
// opaque it is: end doors, folder and drive doors, pictures, and the places with none.
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "gallery/door_action.h"
#include "gallery/gallery_state.h"
#include "gallery/text_limits.h"
#include "render/facing_captions.h"
#include "staged_gallery.h"

namespace {

struct Caption {
    std::string text; // empty when none is shown
    float alpha;
};

class FacingCaptions : public ::testing::Test {
  protected:
    void SetUp() override { resetStagedGallery(); }
    void TearDown() override { resetStagedGallery(); }

    static Caption captionAt(float x, float z, float heading) {
        viewX = x;
        viewZ = z;
        viewHeading = heading;
        char text[CAPTION_BUFFER_SIZE];
        Caption caption = {"", -1.0f};
        if (chooseFacingCaption(text, sizeof text, &caption.alpha))
            caption.text = text;
        return caption;
    }

    // viewZ with the eye a fraction f along wall slot k from its near-end edge.
    static float slotZ(int k, float f) { return 2.5f * (k + f) - 12.5f; }
};

} // namespace

TEST_F(FacingCaptions, EndDoorsNameTheRoomBehindThem) {
    openStagedFolder("/pics", 25, 0);
    float limit = zLimit();
    EXPECT_EQ(captionAt(0.0f, -limit, 180.0f).text, ""); // room 1 has no way back

    Caption far = captionAt(0.0f, limit, 0.0f);
    EXPECT_EQ(far.text, "Room - 2");
    EXPECT_NEAR(far.alpha, 1.0f, 1e-6f);
    far = captionAt(0.2f, limit, 350.0f);
    EXPECT_EQ(far.text, "Room - 2");
    EXPECT_NEAR(far.alpha, 0.3f + 0.25f, 1e-6f);
    EXPECT_EQ(captionAt(0.0f, std::nextafter(limit, 0.0f), 0.0f).text, "");
    EXPECT_EQ(captionAt(0.6f, limit, 0.0f).text, "");

    firstPicture = 10;
    roomNumber = 2;
    Caption back = captionAt(0.0f, -limit, 180.0f);
    EXPECT_EQ(back.text, "Room - 1");
    EXPECT_NEAR(back.alpha, 1.0f, 1e-6f);
    back = captionAt(-0.2f, -limit, 160.0f); // at the edge of the window only the place counts
    EXPECT_EQ(back.text, "Room - 1");
    EXPECT_NEAR(back.alpha, 0.3f, 1e-6f);
    EXPECT_EQ(captionAt(0.0f, -limit, 159.0f).text, "");

    firstPicture = 20; // the last room: no far door
    roomNumber = 3;
    EXPECT_EQ(captionAt(0.0f, limit, 0.0f).text, "");
}

TEST_F(FacingCaptions, DoorWallShowsTheParentFolderAndFolderNames) {
    openStagedFolder("/pics", 0, 3);
    Caption parent = captionAt(-1.4f, slotZ(0, 0.5f), 270.0f);
    EXPECT_EQ(parent.text, "Parent Folder(..)");
    EXPECT_NEAR(parent.alpha, 1.0f, 1e-6f);

    // Toward the far edge of the spot and turned aside, both terms fall.
    Caption folder = captionAt(-1.3f, slotZ(2, 0.55f), 260.0f);
    EXPECT_EQ(folder.text, "dir01");
    EXPECT_NEAR(folder.alpha, 0.25f + 0.25f, 1e-5f);
    EXPECT_EQ(captionAt(-1.4f, slotZ(2, 0.62f), 270.0f).text, "dir01");
    EXPECT_NEAR(captionAt(-1.4f, slotZ(2, 0.62f), 270.0f).alpha, 0.5f, 1e-5f);

    EXPECT_EQ(captionAt(-1.4f, slotZ(2, 0.7f), 270.0f).text, "");  // past the door
    EXPECT_EQ(captionAt(-1.4f, slotZ(2, 0.4f), 270.0f).text, "");  // before it
    EXPECT_EQ(captionAt(-1.4f, slotZ(4, 0.5f), 270.0f).text, "");  // an empty slot
    EXPECT_EQ(captionAt(-1.4f, slotZ(2, 0.5f), 249.0f).text, "");  // turned too far
    EXPECT_EQ(captionAt(-1.29f, slotZ(2, 0.5f), 270.0f).text, ""); // too far from the wall

    const std::vector<std::string> mountPoints = {"/", "/boot", "/home"};
    openStagedDriveList(mountPoints);
    EXPECT_EQ(captionAt(-1.4f, slotZ(0, 0.5f), 270.0f).text, nativeDrives(mountPoints)[0]);
    EXPECT_EQ(captionAt(-1.4f, slotZ(2, 0.5f), 290.0f).text, nativeDrives(mountPoints)[2]);
}

TEST_F(FacingCaptions, PictureWallShowsPictureNamesButNotInTheGaps) {
    openStagedFolder("/pics", 12, 0);
    Caption picture = captionAt(1.4f, slotZ(3, 0.5f), 90.0f);
    EXPECT_EQ(picture.text, "pic03.jpg");
    EXPECT_NEAR(picture.alpha, 1.0f, 1e-6f);

    picture = captionAt(1.3f, slotZ(3, 0.35f), 100.0f);
    EXPECT_EQ(picture.text, "pic03.jpg");
    EXPECT_NEAR(picture.alpha, 0.25f + 0.25f, 1e-5f);

    EXPECT_EQ(captionAt(1.4f, slotZ(3, 0.1f), 90.0f).text, "");
    EXPECT_EQ(captionAt(1.4f, slotZ(3, 0.9f), 90.0f).text, "");
    EXPECT_EQ(captionAt(1.4f, slotZ(3, 0.5f), 111.0f).text, "");
    EXPECT_EQ(captionAt(1.29f, slotZ(3, 0.5f), 90.0f).text, "");

    firstPicture = 10;
    EXPECT_EQ(captionAt(1.4f, slotZ(1, 0.5f), 90.0f).text, "pic11.jpg");
    EXPECT_EQ(captionAt(1.4f, slotZ(2, 0.5f), 90.0f).text, ""); // beyond the last picture
}

// A door name longer than the caption is cut between characters: the ideograph the buffer's
// end would break is left out rather than shown as '?'. On Linux a deep mount point runs that
// long; on Windows, where drives are letters, a folder name of up to 255 UTF-16 units does.
TEST_F(FacingCaptions, ALongDoorNameIsCutBetweenCharacters) {
#ifdef _WIN32
    std::string deep = "x"; // 257 bytes in 129 units
    for (int i = 0; i < 128; i++)
        deep += "\xC3\xA9";
    setFakeFolder(nativePath("/pics"),
                  {{deep + "\xE6\x97\xA5\xE6\x9C\xAC", true}, {deep + "\xC3\xA9\xC3\xA9", true}});
    strcpy(currentPath, nativePath("/pics").c_str());
    scanFolder();
    const int first = 1; // after the parent door
#else
    const std::string deep = "/" + std::string(256, 'x');
    openStagedDriveList({deep + "\xE6\x97\xA5\xE6\x9C\xAC", deep + "\xC3\xA9\xC3\xA9"});
    const int first = 0;
#endif
    EXPECT_EQ(captionAt(-1.4f, slotZ(first, 0.5f), 270.0f).text, deep);
    EXPECT_EQ(captionAt(-1.4f, slotZ(first + 1, 0.5f), 270.0f).text, deep + "\xC3\xA9");
}

TEST_F(FacingCaptions, NothingShowsAwayFromTheWallsAndEnds) {
    openStagedFolder("/pics", 25, 20);
    firstPicture = 10;
    roomNumber = 2;
    for (float x : {-1.2f, 0.0f, 1.2f})
        for (float heading : {0.0f, 90.0f, 180.0f, 270.0f})
            EXPECT_EQ(captionAt(x, slotZ(4, 0.5f), heading).text, "")
                << "x " << x << " heading " << heading;
}

// The caption names a door exactly where Enter opens it, also at the last float steps on
// either side of each door band's edges (viewZ -8.375 and 8.625 among them).
TEST_F(FacingCaptions, CaptionShowsExactlyWhereEnterOpensTheDoor) {
    int opened = 0;
    for (int k = 0; k < 10; k++)
        for (float edge : {0.45f, 0.65f}) {
            float z = (k + edge) / 0.4f - 12.5f;
            for (int step = 0; step < 64; step++)
                z = std::nextafter(z, -20.0f);
            for (int step = 0; step < 128; step++, z = std::nextafter(z, 20.0f)) {
                openStagedFolder("/pics", 0, 9);
                const bool captioned = !captionAt(-1.4f, z, 270.0f).text.empty();
                testing::internal::CaptureStdout();
                openFacingDoor();
                const bool entered = !testing::internal::GetCapturedStdout().empty();
                ASSERT_EQ(captioned, entered) << "viewZ " << z;
                opened += entered;
            }
        }
    EXPECT_GT(opened, 0);
}
