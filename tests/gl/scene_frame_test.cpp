// scene_frame_test.cpp -- a frame drawn from the gallery camera: the lit room where the camera
// puts it, the room made ready once per room, the help overlay last, one swap per frame.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "gallery/display_settings.h"
#include "fakes/fake_cursor.h"
#include "fakes/fake_message_box.h"
#include "fakes/fake_window.h"
#include "gallery/folder_scanner.h"
#include "gallery/gallery_state.h"
#include "gl/gl_test_context.h"
#include "render/texture_names.h"
#include "loading/neighbour_rooms.h"
#include "render/gl_state.h"
#include "render/room_lists.h"
#include "render/scene_frame.h"
#include "support/output_capture.h"
#include "support/temp_tree.h"
#include "platform/image_library.h"

namespace {

constexpr int WIDTH = 800;
constexpr int HEIGHT = 600;

struct Region {
    double mean; // mean of r + g + b over the region
    int spread;  // largest minus smallest r + g + b
};

Region readRegion(int x, int y, int w, int h) {
    std::vector<unsigned char> pixels(static_cast<size_t>(w * h * 4));
    glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    double sum = 0;
    int low = 3 * 255, high = 0;
    for (size_t i = 0; i < pixels.size(); i += 4) {
        const int value = pixels[i] + pixels[i + 1] + pixels[i + 2];
        sum += value;
        low = std::min(low, value);
        high = std::max(high, value);
    }
    return {sum / (w * h), high - low};
}

float centreDepth() {
    float depth = 0;
    glReadPixels(WIDTH / 2, HEIGHT / 2, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
}

class SceneFrame : public ::testing::Test {
  protected:
    void SetUp() override {
        // No test sees another's prepared pictures or background work.
        resetNeighbourRooms();
        ASSERT_TRUE(makeTestGLContextCurrent(WIDTH, HEIGHT));
        resetDisplaySettings();
        resetGalleryState();
        resetFakeMessageBoxes();
        resetFakeWindow();
        resetFakeCursor();
        ASSERT_TRUE(initGLState());
        // The projection the window sets for an 800 x 600 client area.
        glViewport(0, 0, WIDTH, HEIGHT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(60.0, static_cast<double>(WIDTH) / HEIGHT, static_cast<double>(0.1f), 30.0);
        glMatrixMode(GL_MODELVIEW);
        roomLoaded = true;
    }
    void TearDown() override {
        resetNeighbourRooms();
        glDeleteLists(displayListBase, DISPLAY_LIST_COUNT);
        glDeleteTextures(TEXTURE_COUNT, textureNames);
        displayListBase = 0;
        ilShutDown();
        resetGalleryState();
        resetFakeWindow();
    }
};

TEST_F(SceneFrame, StartPoseShowsTheLitRoomAndPresentsIt) {
    EXPECT_TRUE(drawScene());
    EXPECT_EQ(fakeSwapCount, 1);

    const Region pictureWall = readRegion(0, 250, 40, 100);
    const Region doorWall = readRegion(WIDTH - 40, 250, 40, 100);
    const Region floor = readRegion(300, 0, 200, 30);
    const Region ceiling = readRegion(300, HEIGHT - 30, 200, 30);
    const Region farWall = readRegion(390, 290, 20, 20);
    for (const Region &region : {pictureWall, doorWall, floor, ceiling, farWall})
        EXPECT_GT(region.mean, 30.0);
    // Textured, not flat-shaded.
    EXPECT_GT(pictureWall.spread, 20);
    EXPECT_GT(doorWall.spread, 20);
    // The light comes from above the door wall; the picture wall faces away from it.
    EXPECT_LT(pictureWall.mean, 0.8 * doorWall.mean);
    // Every lit surface takes the grey, half-transparent material: no tint.
    GLfloat ambient[4], diffuse[4];
    glGetMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(ambient[i], 0.5f);
        EXPECT_EQ(diffuse[i], 0.5f);
    }
}

TEST_F(SceneFrame, CameraFollowsHeadingPitchAndPosition) {
    // Facing the far end wall, then the near one just behind the eye.
    drawScene();
    const float farDepth = centreDepth();
    viewHeading = 180.0f;
    drawScene();
    EXPECT_LT(centreDepth(), farDepth);

    // Heading 90 faces the picture wall (in shade), 270 the door wall (lit).
    viewHeading = 90.0f;
    drawScene();
    const Region left = readRegion(350, 250, 100, 100);
    viewHeading = 270.0f;
    drawScene();
    const Region right = readRegion(350, 250, 100, 100);
    EXPECT_LT(left.mean, 0.8 * right.mean);

    // Positive pitch looks down at the near floor, negative up at the higher ceiling.
    viewHeading = 0.0f;
    viewPitch = 30.0f;
    drawScene();
    const float down = centreDepth();
    viewPitch = -30.0f;
    drawScene();
    const float up = centreDepth();
    EXPECT_LT(down, up);
    EXPECT_LT(up, farDepth);

    // Side-stepping: the eye at x = -1.4 is near the picture wall, which fills more of the view.
    viewPitch = 0.0f;
    viewHeading = 90.0f;
    viewX = 1.4f;
    drawScene();
    const float nearWall = centreDepth();
    viewX = -1.4f;
    drawScene();
    EXPECT_LT(nearWall, centreDepth());
}

TEST_F(SceneFrame, ContentsListAloneIsDrawnWithPolygonOffset) {
    // A stand-in contents list: a red square a tenth behind the far wall, which only its
    // compiled negative offset can bring in front of the wall.
    glNewList(roomContentsList(), GL_COMPILE);
    glPolygonOffset(0.0f, -100.0f);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glColor3f(1.0f, 0.0f, 0.0f);
    glBegin(GL_QUADS);
    glVertex3f(-0.5f, 0.0f, -12.6f);
    glVertex3f(0.5f, 0.0f, -12.6f);
    glVertex3f(0.5f, 1.0f, -12.6f);
    glVertex3f(-0.5f, 1.0f, -12.6f);
    glEnd();
    glPopAttrib();
    glEndList();

    drawScene();
    unsigned char centre[4] = {0, 0, 0, 0};
    glReadPixels(WIDTH / 2, HEIGHT / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, centre);
    EXPECT_EQ(centre[0], 255);
    EXPECT_EQ(centre[1], 0);
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
}

// Pixels of a region whose colour is exactly white.
int whitePixels(int x, int y, int w, int h) {
    std::vector<unsigned char> pixels(static_cast<size_t>(w * h * 4));
    glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int count = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
        count += pixels[i] == 255 && pixels[i + 1] == 255 && pixels[i + 2] == 255;
    return count;
}

// What each swap presented: the cursor and room state at that moment and the floor's brightness
// (black on a loading screen, lit in the room).
struct Presented {
    FakeCursorShape cursor;
    bool roomReady;
    double floor;
};
std::vector<Presented> presented;

void recordPresented() {
    presented.push_back({fakeCursorShape, roomLoaded, readRegion(300, 0, 200, 30).mean});
}

// A gallery folder on disk, scanned, with its room not yet made ready.
class SceneFrameRoom : public SceneFrame {
  protected:
    std::string folder;

    void SetUp() override {
        SceneFrame::SetUp();
        folder = makeTempFolder();
        ASSERT_FALSE(folder.empty());
        presented.clear();
    }
    void TearDown() override {
        SceneFrame::TearDown();
        removeTree(folder);
    }

    void writePicture(const std::string &name, unsigned char grey) {
        ILuint image = 0;
        ilGenImages(1, &image);
        ilBindImage(image);
        ASSERT_TRUE(ilTexImage(64, 48, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, nullptr));
        std::fill(ilGetData(), ilGetData() + 64 * 48 * 3, grey);
        ASSERT_TRUE(ilSaveImage((folder + "/" + name).c_str()));
        ilDeleteImages(1, &image);
    }

    void openFolder() {
        snprintf(currentPath, PATH_BUFFER_SIZE, "%s", folder.c_str());
        startCapture(stderr);
        scanFolder();
        stopCapture(stderr);
        roomLoaded = false;
    }

    // One frame with its standard output returned.
    std::string frameOutput() {
        startCapture(stdout);
        drawScene();
        return stopCapture(stdout);
    }
};

TEST_F(SceneFrameRoom, RoomIsMadeReadyOnceAndPresentedAfterItsLoadingScreens) {
    writePicture("a.bmp", 200);
    writePicture("b.bmp", 120);
    writePicture("c.bmp", 40);
    ASSERT_TRUE(makeFolder(folder + "/Sub"));
    openFolder();

    // The first frame loads without any key pressed: a loading screen under the busy cursor
    // for each of the three pictures still on its way when its turn comes, then the finished
    // room under the arrow.
    fakeOnSwap = recordPresented;
    std::string out = frameOutput();
    EXPECT_NE(out.find("Loading " + folder), std::string::npos) << out;
    EXPECT_TRUE(roomLoaded);
    EXPECT_EQ(fakeBusyCursorCalls, 1);
    EXPECT_EQ(fakeArrowCursorCalls, 1);
    ASSERT_GE(presented.size(), 1u);
    ASSERT_LE(presented.size(), 4u);
    const size_t room = presented.size() - 1;
    for (size_t i = 0; i < room; ++i) {
        EXPECT_EQ(presented[i].cursor, FAKE_CURSOR_BUSY) << "screen " << i;
        EXPECT_FALSE(presented[i].roomReady) << "screen " << i;
        EXPECT_LT(presented[i].floor, 5.0) << "screen " << i;
    }
    EXPECT_EQ(presented[room].cursor, FAKE_CURSOR_ARROW);
    EXPECT_TRUE(presented[room].roomReady);
    EXPECT_GT(presented[room].floor, 30.0);
    ASSERT_TRUE(glIsList(roomContentsList()));

    // Swap in a stand-in contents list that leaves a mark when replayed: it survives frames that
    // only stand, turn, tilt and walk, and each of those presents one image and loads nothing.
    glNewList(roomContentsList(), GL_COMPILE);
    glPointSize(7.0f);
    glEndList();
    const std::vector<void (*)()> moves = {[] {}, [] { viewHeading = 90.0f; },
                                           [] { viewPitch = -20.0f; }, [] { viewZ += 0.5f; }};
    for (size_t m = 0; m < moves.size(); ++m) {
        moves[m]();
        glPointSize(1.0f);
        presented.clear();
        EXPECT_EQ(frameOutput(), "") << "move " << m;
        GLfloat pointSize = 0;
        glGetFloatv(GL_POINT_SIZE, &pointSize);
        EXPECT_EQ(pointSize, 7.0f) << "contents recompiled on move " << m;
        EXPECT_EQ(presented.size(), 1u) << "move " << m;
        EXPECT_EQ(fakeBusyCursorCalls, 1) << "move " << m;
    }

    // A cleared flag compiles the room afresh.
    roomLoaded = false;
    glPointSize(1.0f);
    frameOutput();
    GLfloat pointSize = 0;
    glGetFloatv(GL_POINT_SIZE, &pointSize);
    EXPECT_EQ(pointSize, 1.0f);
    EXPECT_EQ(fakeBusyCursorCalls, 2);
}

// On a fresh context the first plate of a new room already stands in front of its wall.
TEST_F(SceneFrameRoom, FirstFixtureOfANewRoomHasItsOffset) {
    openFolder();
    // Facing the parent door's plate head-on, the eye level with its upper edge.
    viewX = 0.6f;
    viewY = -1.84f;
    viewZ = -11.2f;
    viewHeading = 270.0f;
    glPolygonOffset(0.0f, 0.0f);
    frameOutput();
    float wall = 0;
    glReadPixels(WIDTH / 2, 372, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &wall);
    EXPECT_LT(centreDepth(), wall);
}

TEST_F(SceneFrameRoom, HelpOverlayIsDrawnUnblendedAfterTheFadedCaption) {
    writePicture("sunrise.bmp", 90);
    openFolder();
    frameOutput();
    // Close to the picture wall before slot 0, ten degrees off: the caption shows, part faded.
    viewX = 1.4f;
    viewZ = -11.25f;
    viewHeading = 100.0f;

    drawScene();
    const Region withCaption = readRegion(340, 295, 120, 25);
    EXPECT_EQ(whitePixels(0, 420, 400, 180), 0);
    // The same room with no picture to name (the contents list is not rebuilt): the frame
    // differs by the caption alone.
    pictureCount = 0;
    drawScene();
    pictureCount = 1;
    EXPECT_GT(withCaption.mean, readRegion(340, 295, 120, 25).mean + 5.0);

    helpVisible = true;
    drawScene();
    // The caption left its faded colour current; the help text is still pure white, so blending
    // was off when it was written.
    EXPECT_GT(whitePixels(0, 420, 400, 180), 200);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(SceneFrameRoom, PictureThatCannotBeLoadedStillHangsInItsSlot) {
    // Facing slot 0 of the picture wall from the middle of the room.
    viewZ = -11.25f;
    viewHeading = 90.0f;
    openFolder();
    frameOutput();
    const Region bareWall = readRegion(300, 200, 200, 200);

    FILE *file = fopen((folder + "/broken.jpg").c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fputs("not a picture", file);
    fclose(file);
    openFolder();
    startCapture(stderr);
    frameOutput();
    std::string err = stopCapture(stderr);
    EXPECT_NE(err.find("ERROR: Unable to load"), std::string::npos) << err;
    const Region withSlot = readRegion(300, 200, 200, 200);
    EXPECT_GT(std::abs(withSlot.mean - bareWall.mean), 20.0);
    EXPECT_GT(withSlot.spread, bareWall.spread);
}

} // namespace
