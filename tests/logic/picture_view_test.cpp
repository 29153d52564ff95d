// picture_view_test.cpp -- the picture view's state: where it opens, stepping through the
// folder and landing back in the gallery, zoom limits and stops, panning, and its keys and
// wheel.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "gallery/display_settings.h"
#include "gallery/facing_zone.h"
#include "gallery/gallery_state.h"
#include "gallery/key_handling.h"
#include "gallery/picture_view.h"
#include "gallery/picture_view_input.h"
#include "gallery/room_landing.h"
#include "pictures/picture_fit.h"
#include "staged_gallery.h"
#include "support/output_capture.h"

namespace {

int fullscreenToggles = 0;
void countToggle() {
    ++fullscreenToggles;
}

class PictureView : public ::testing::Test {
  protected:
    void SetUp() override {
        resetStagedGallery();
        resetDisplaySettings();
        pictureView = {};
        endViewDrag();
        screenWidth = 800;
        screenHeight = 600;
    }
    void TearDown() override {
        pictureView = {};
        setFullscreenToggle(nullptr);
        resetStagedGallery();
        resetDisplaySettings();
    }

    // Puts the eye at (x, z) facing heading, then tries to open the view.
    static bool openAt(float x, float z, float heading) {
        viewX = x;
        viewZ = z;
        viewHeading = heading;
        return openPictureView();
    }

    // viewZ with the eye a fraction f along wall slot k from its near-end edge.
    static float slotZ(int k, float f) { return 2.5f * (k + f) - 12.5f; }

    // Opens the view on picture index of the current folder, its own size given.
    static void openOn(uint32_t index, uint32_t width, uint32_t height) {
        standBeforePicture(index);
        ASSERT_TRUE(openPictureView());
        ASSERT_EQ(pictureView.index, index);
        setViewPictureSize(width, height);
    }

    static void key(uint32_t code) {
        handleViewKey(code, true);
        handleViewKey(code, false);
    }
};

} // namespace

TEST_F(PictureView, OpensWhereAPictureCaptionShowsAndNowhereElse) {
    openStagedFolder("/pics", 13, 2);
    // Outside the caption's spot: not at the wall, facing away, between two slots, at the door
    // wall, and before a slot with no picture (room 2 holds three).
    EXPECT_FALSE(openAt(0.0f, slotZ(2, 0.5f), 90.0f));
    EXPECT_FALSE(openAt(1.2f, slotZ(2, 0.5f), 90.0f));
    EXPECT_FALSE(openAt(1.4f, slotZ(2, 0.5f), 60.0f));
    EXPECT_FALSE(openAt(1.4f, slotZ(2, 0.1f), 90.0f));
    EXPECT_FALSE(openAt(-1.4f, slotZ(2, 0.5f), 270.0f));
    EXPECT_FALSE(pictureView.open);

    // At the wall, facing the picture, anywhere the caption shows.
    EXPECT_TRUE(openAt(1.4f, slotZ(2, 0.25f), 75.0f));
    EXPECT_EQ(pictureView.index, 2u);
    pictureView = {};
    firstPicture = 10;
    EXPECT_TRUE(openAt(1.3f, slotZ(1, 0.75f), 105.0f));
    EXPECT_EQ(pictureView.index, 11u);
    pictureView = {};
    EXPECT_FALSE(openAt(1.4f, slotZ(3, 0.5f), 90.0f));
}

TEST_F(PictureView, ClosingAfterSteppingIntoAnotherRoomStandsBeforeThePictureShown) {
    openStagedFolder("/pics", 25, 0);
    openOn(9, 100, 100);
    const float z = viewZ;
    key(VK_RIGHT);
    EXPECT_EQ(pictureView.index, 10u);
    EXPECT_TRUE(pictureView.open); // stepping does not move the gallery
    EXPECT_EQ(viewZ, z);

    roomLoaded = true;
    startCapture(stdout);
    key(VK_ESCAPE);
    EXPECT_EQ(stopCapture(stdout), "Loading Room 2...\n");
    EXPECT_FALSE(pictureView.open);
    EXPECT_EQ(roomNumber, 2);
    EXPECT_EQ(firstPicture, 10u);
    EXPECT_FALSE(roomLoaded);
    uint32_t faced = 99;
    ASSERT_TRUE(facedPicture(&faced));
    EXPECT_EQ(faced, 10u);

    // Back and closed with Enter on the picture it opened on: nothing in the gallery moves.
    roomLoaded = true;
    ASSERT_TRUE(openPictureView());
    key(VK_LEFT);
    key(VK_RIGHT);
    startCapture(stdout);
    key(VK_RETURN);
    EXPECT_EQ(stopCapture(stdout), "");
    EXPECT_TRUE(roomLoaded);
    EXPECT_EQ(roomNumber, 2);
}

TEST_F(PictureView, SteppingStopsAtTheEndsOfTheFolder) {
    openStagedFolder("/pics", 3, 0);
    openOn(0, 100, 100);
    key(VK_LEFT);
    EXPECT_EQ(pictureView.index, 0u);
    EXPECT_GT(pictureView.zoom, 0.0); // nothing changed: the size is still known
    handleViewWheel(-1, false, 10, 10);
    handleViewWheel(-1, false, 10, 10);
    handleViewWheel(-1, false, 10, 10);
    EXPECT_EQ(pictureView.index, 2u);
    EXPECT_EQ(pictureView.zoom, 0.0); // a new picture: its size is not known yet
    handleViewWheel(1, false, 10, 10);
    EXPECT_EQ(pictureView.index, 1u);
}

TEST_F(PictureView, ZoomStopsAtActualSizeAndStaysBetweenFitAndFourTimes) {
    openStagedFolder("/pics", 1, 0);
    openOn(0, 4000, 3000);
    EXPECT_DOUBLE_EQ(viewFitZoom(), 0.2);
    EXPECT_DOUBLE_EQ(pictureView.zoom, 0.2);
    EXPECT_FALSE(viewZoomedIn());

    bool metActualSize = false;
    for (int i = 0; i < 30; ++i) {
        key(VK_OEM_PLUS);
        metActualSize = metActualSize || pictureView.zoom == 1.0;
    }
    EXPECT_TRUE(metActualSize);
    EXPECT_DOUBLE_EQ(pictureView.zoom, MAX_VIEW_ZOOM);
    EXPECT_TRUE(viewZoomedIn());
    for (int i = 0; i < 30; ++i)
        key(VK_SUBTRACT);
    EXPECT_DOUBLE_EQ(pictureView.zoom, 0.2);

    key('1');
    EXPECT_DOUBLE_EQ(pictureView.zoom, 1.0);
    key('0');
    EXPECT_DOUBLE_EQ(pictureView.zoom, 0.2);
    EXPECT_DOUBLE_EQ(pictureView.centreX, 2000.0);
    EXPECT_DOUBLE_EQ(pictureView.centreY, 1500.0);
}

TEST_F(PictureView, ASmallPictureIsShownAtItsOwnSizeInTheMiddle) {
    openStagedFolder("/pics", 1, 0);
    openOn(0, 320, 240);
    EXPECT_DOUBLE_EQ(pictureView.zoom, 1.0);
    double left, top;
    viewPictureOrigin(&left, &top);
    EXPECT_DOUBLE_EQ(left, 240.0);
    EXPECT_DOUBLE_EQ(top, 180.0);
    key(VK_ADD);
    EXPECT_TRUE(viewZoomedIn());
    EXPECT_DOUBLE_EQ(pictureView.zoom, 1.25);
}

TEST_F(PictureView, ArrowsStepAtFitAndMoveTheZoomedPictureWithinItsEdges) {
    openStagedFolder("/pics", 3, 0);
    openOn(1, 4000, 3000);
    key(VK_RIGHT);
    EXPECT_EQ(pictureView.index, 2u);
    setViewPictureSize(4000, 3000);

    key('1');
    key(VK_LEFT);
    EXPECT_EQ(pictureView.index, 2u);
    EXPECT_DOUBLE_EQ(pictureView.centreX, 2000.0 - 80.0); // a tenth of the window
    key(VK_DOWN);
    EXPECT_DOUBLE_EQ(pictureView.centreY, 1500.0 + 60.0);
    // Far to the right the window's right edge stays on the picture's.
    for (int i = 0; i < 100; ++i)
        key(VK_RIGHT);
    EXPECT_DOUBLE_EQ(pictureView.centreX, 4000.0 - 400.0);
    EXPECT_EQ(pictureView.index, 2u);

    // Dragging moves the picture with the pointer.
    beginViewDrag(300, 300);
    dragView(350, 280);
    endViewDrag();
    dragView(500, 500); // the button is up: nothing moves
    EXPECT_DOUBLE_EQ(pictureView.centreX, 3600.0 - 50.0);
    EXPECT_DOUBLE_EQ(pictureView.centreY, 1560.0 + 20.0);
}

TEST_F(PictureView, CtrlWheelZoomsAboutThePointerKeepingThePointUnderIt) {
    openStagedFolder("/pics", 2, 0);
    openOn(0, 4000, 3000);
    key('1');
    // The picture point under (100, 500) before and after a notch in.
    const double beforeX = pictureView.centreX + (100 - 400) / pictureView.zoom;
    const double beforeY = pictureView.centreY + (500 - 300) / pictureView.zoom;
    handleViewWheel(1, true, 100, 500);
    EXPECT_DOUBLE_EQ(pictureView.zoom, 1.25);
    EXPECT_NEAR(pictureView.centreX + (100 - 400) / pictureView.zoom, beforeX, 1e-9);
    EXPECT_NEAR(pictureView.centreY + (500 - 300) / pictureView.zoom, beforeY, 1e-9);
    EXPECT_EQ(pictureView.index, 0u);
}

TEST_F(PictureView, HelpAndFullscreenKeysAndTheKeysThatClose) {
    openStagedFolder("/pics", 2, 0);
    setFullscreenToggle(countToggle);
    fullscreenToggles = 0;
    openOn(0, 100, 100);
    key(VK_F1);
    EXPECT_TRUE(pictureView.helpVisible);
    EXPECT_FALSE(helpVisible); // the gallery's own help is another
    key(VK_F2);
    EXPECT_EQ(fullscreenToggles, 1);
    EXPECT_TRUE(pictureView.open);
    key(VK_ESCAPE);
    EXPECT_FALSE(pictureView.open);
    ASSERT_TRUE(openPictureView());
    EXPECT_FALSE(pictureView.helpVisible); // each opening starts without it
    closePictureView();
    EXPECT_FALSE(pictureView.open);
}

TEST(WindowFit, APictureFitsTheWindowWholeKeepingItsProportionsAndIsNeverEnlarged) {
    uint32_t width, height;
    EXPECT_TRUE(fitPictureToWindow(1500, 1200, 1024, 768, &width, &height));
    EXPECT_EQ(width, 960u); // by its height: a frame's fit by the longer side would overflow
    EXPECT_EQ(height, 768u);
    EXPECT_TRUE(fitPictureToWindow(4000, 3000, 800, 600, &width, &height));
    EXPECT_EQ(width, 800u);
    EXPECT_EQ(height, 600u);
    EXPECT_TRUE(fitPictureToWindow(30000, 10, 800, 600, &width, &height));
    EXPECT_EQ(width, 800u);
    EXPECT_EQ(height, 1u);
    EXPECT_FALSE(fitPictureToWindow(320, 240, 800, 600, &width, &height));
    EXPECT_EQ(width, 320u);
    EXPECT_EQ(height, 240u);
}
