// picture_view_screen_test.cpp -- the picture view drawn from real files: the picture from the
// file at the window's size and upright, its own pixels when zoomed to 100 %, the notice for
// one that cannot be shown, and the decoded pictures it holds.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/picture_view_screen.h"
#include "fakes/fake_window.h"
#include "gallery/display_settings.h"
#include "gallery/gallery_state.h"
#include "gallery/key_handling.h"
#include "gallery/picture_view.h"
#include "gallery/picture_view_input.h"
#include "gallery/room_landing.h"
#include "gl/gl_test_context.h"
#include "loading/view_pictures.h"
#include "pictures/picture_decoder.h"
#include "render/room_lists.h"
#include "render/text.h"
#include "render/texture_names.h"
#include "support/output_capture.h"
#include "support/temp_tree.h"
#include "support/test_pictures.h"

namespace {

constexpr int WIDTH = 1024;
constexpr int HEIGHT = 768;
// Rows at the bottom under the information line.
constexpr int INFO_ROWS = 24;

const unsigned char QUADRANTS[4][3] = {{220, 30, 30}, {30, 200, 30}, {30, 30, 220}, {230, 220, 40}};

class PictureViewScreen : public ::testing::Test {
  protected:
    std::string folder;
    std::vector<std::string> names;
    std::vector<char *> namePointers;
    ViewPictures *pictures = nullptr;

    void SetUp() override {
        ASSERT_TRUE(makeTestGLContextCurrent(WIDTH, HEIGHT));
        glViewport(0, 0, WIDTH, HEIGHT);
        screenWidth = WIDTH;
        screenHeight = HEIGHT;
        glGenTextures(TEXTURE_COUNT, textureNames);
        displayListBase = glGenLists(DISPLAY_LIST_COUNT);
        ASSERT_TRUE(buildFonts());
        glClearColor(0, 0, 0, 1);
        resetFakeWindow();
        resetGalleryState();
        pictureView = {};
        folder = makeTempFolder();
        ASSERT_FALSE(folder.empty());
        pictures = new ViewPictures;
        setViewPictures(pictures);
    }

    void TearDown() override {
        setViewPictures(nullptr);
        delete pictures;
        pictureView = {};
        pictureNames = nullptr;
        pictureCount = 0;
        resetGalleryState();
        freeFonts();
        glDeleteLists(displayListBase, DISPLAY_LIST_COUNT);
        glDeleteTextures(TEXTURE_COUNT, textureNames);
        removeTree(folder);
    }

    std::string pathOf(const std::string &name) { return folder + "/" + name; }

    // Lists the names as the current folder's pictures, in this order.
    void openFolder(const std::vector<std::string> &pictureFiles) {
        names = pictureFiles;
        namePointers.clear();
        for (std::string &name : names)
            namePointers.push_back(&name[0]);
        snprintf(currentPath, PATH_BUFFER_SIZE, "%s", folder.c_str());
        pictureNames = namePointers.data();
        pictureCount = (uint32_t)names.size();
    }

    // Stands before picture index and presses Enter: the view opens on it.
    void openView(uint32_t index) {
        standBeforePicture(index);
        ASSERT_TRUE(openPictureViewScreen());
    }

    // Draws a frame once the decoder has the picture at path, as the main loop would.
    void drawWhenReady(const std::string &path, ViewPictureSize size = SIZE_WINDOW) {
        ASSERT_TRUE(pictures->waitFor(path, size, std::chrono::seconds(20)));
        drawPictureViewScreen();
    }

    // The window as drawn, top row first, RGB.
    std::vector<unsigned char> frame() {
        std::vector<unsigned char> rgba((size_t)WIDTH * HEIGHT * 4), rgb;
        glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        for (int y = HEIGHT - 1; y >= 0; --y)
            for (int x = 0; x < WIDTH; ++x)
                for (int c = 0; c < 3; ++c)
                    rgb.push_back(rgba[((size_t)y * WIDTH + x) * 4 + c]);
        return rgb;
    }

    static const unsigned char *at(const std::vector<unsigned char> &rgb, int x, int y) {
        return &rgb[((size_t)y * WIDTH + x) * 3];
    }

    // Pixels of the frame's region (left, top, width x height) that differ from the picture's
    // pixels starting at (fromX, fromY).
    static long differingPixels(const std::vector<unsigned char> &rgb, const Picture &picture,
                                int left, int top, int width, int height, int fromX, int fromY) {
        long differing = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const unsigned char *shown = at(rgb, left + x, top + y);
                const unsigned char *own =
                    &picture.pixels[((size_t)(fromY + y) * picture.width + fromX + x) * 4];
                differing += shown[0] != own[0] || shown[1] != own[1] || shown[2] != own[2];
            }
        return differing;
    }

    static void expectColour(const unsigned char *pixel, const unsigned char *colour,
                             const char *where) {
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(pixel[c], colour[c], 16) << where << ", channel " << c;
    }
};

} // namespace

TEST_F(PictureViewScreen, ShowsTheFileUprightAtTheWindowsSizeNotTheWallTexture) {
    // Stored 1600 x 1200 and to be turned a quarter clockwise: upright 1200 x 1600.
    ASSERT_TRUE(
        writeQuadrantJpeg(pathOf("turned.jpg"), 1600, 1200, QUADRANTS, 6, "2021:07:04 18:30:05"));
    openFolder({"turned.jpg"});
    openView(0);
    drawWhenReady(pathOf("turned.jpg"));
    EXPECT_EQ(fakeSwapCount, 1);
    EXPECT_EQ(pictureView.pictureWidth, 1200u);
    EXPECT_EQ(pictureView.pictureHeight, 1600u);
    EXPECT_EQ(std::string(pictures->find(pathOf("turned.jpg"), SIZE_WINDOW)->dateTaken),
              "2021:07:04 18:30:05");

    // The file decoded for the window: 576 x 768, larger than any wall texture, drawn pixel
    // for pixel in the middle.
    Picture expected;
    char date[20];
    ASSERT_EQ(decodePictureForWindow(pathOf("turned.jpg").c_str(), WIDTH, HEIGHT, &expected, date),
              PICTURE_DECODED);
    ASSERT_EQ(expected.width, 576u);
    ASSERT_EQ(expected.height, 768u);
    std::vector<unsigned char> shown = frame();
    const int left = (WIDTH - 576) / 2;
    EXPECT_EQ(differingPixels(shown, expected, left, 0, 576, HEIGHT - INFO_ROWS, 0, 0), 0);
    // Upright: what was stored bottom-left is now top-left, top-left top-right, and so on.
    expectColour(at(shown, left + 144, 192), QUADRANTS[2], "top left");
    expectColour(at(shown, left + 432, 192), QUADRANTS[0], "top right");
    expectColour(at(shown, left + 144, 576), QUADRANTS[3], "bottom left");
    expectColour(at(shown, left + 432, 576), QUADRANTS[1], "bottom right");
    const unsigned char black[3] = {0, 0, 0};
    expectColour(at(shown, 100, 300), black, "letterbox");
}

TEST_F(PictureViewScreen, AtActualSizeTheWindowShowsThePicturesOwnPixels) {
    ASSERT_TRUE(writeQuadrantJpeg(pathOf("wide.jpg"), 3000, 2000, QUADRANTS, 1));
    openFolder({"wide.jpg"});
    openView(0);
    drawWhenReady(pathOf("wide.jpg"));
    handleViewKey('1', true);
    afterPictureViewInput();
    drawWhenReady(pathOf("wide.jpg"), SIZE_FULL);

    Picture own;
    char date[20];
    ASSERT_EQ(decodePictureForWindow(pathOf("wide.jpg").c_str(), 1u << 30, 1u << 30, &own, date),
              PICTURE_DECODED);
    ASSERT_EQ(own.width, 3000u);
    // The window's centre on the picture's: its column 1500 - 512 at the left edge.
    std::vector<unsigned char> shown = frame();
    EXPECT_EQ(differingPixels(shown, own, 0, 0, WIDTH, HEIGHT - INFO_ROWS, 1500 - 512, 1000 - 384),
              0);
}

TEST_F(PictureViewScreen, APictureThatCannotBeDecodedShowsTheNoticeAndNotItsNeighbour) {
    ASSERT_TRUE(writeQuadrantJpeg(pathOf("a.jpg"), 800, 600, QUADRANTS, 1));
    FILE *broken = fopen(pathOf("b.jpg").c_str(), "wb");
    ASSERT_NE(broken, nullptr);
    fputs("\xFF\xD8 this is not a picture", broken);
    fclose(broken);
    openFolder({"a.jpg", "b.jpg"});
    openView(0);
    drawWhenReady(pathOf("a.jpg"));
    expectColour(at(frame(), 300, 200), QUADRANTS[0], "first picture");

    startCapture(stderr);
    handleViewKey(VK_RIGHT, true);
    afterPictureViewInput();
    drawWhenReady(pathOf("b.jpg"));
    drawPictureViewScreen();
    EXPECT_EQ(stopCapture(stderr), "ERROR: Unable to load " + pathOf("b.jpg") + "\n");
    std::vector<unsigned char> shown = frame();
    long coloured = 0, white = 0;
    for (int y = 0; y < HEIGHT - INFO_ROWS; ++y)
        for (int x = 0; x < WIDTH; ++x) {
            const unsigned char *p = at(shown, x, y);
            coloured += p[0] != p[1] || p[1] != p[2];
            white += p[0] > 200 && p[1] > 200 && p[2] > 200;
        }
    EXPECT_EQ(coloured, 0) << "something of the neighbour is still shown";
    EXPECT_GT(white, 50) << "no notice in the middle";
}

TEST_F(PictureViewScreen, HoldsTheShownPictureAndItsTwoNeighboursOnly) {
    std::vector<std::string> files;
    for (int n = 0; n < 5; ++n) {
        files.push_back("p" + std::to_string(n) + ".jpg");
        ASSERT_TRUE(writeQuadrantJpeg(pathOf(files.back()), 2000, 1600, QUADRANTS, 1));
    }
    openFolder(files);
    openView(2);
    drawWhenReady(pathOf("p2.jpg"));
    ASSERT_TRUE(pictures->waitFor(pathOf("p3.jpg"), SIZE_WINDOW, std::chrono::seconds(20)));
    ASSERT_TRUE(pictures->waitFor(pathOf("p1.jpg"), SIZE_WINDOW, std::chrono::seconds(20)));
    // Less wide than the window, each fits by its height: 960 x 768.
    const Picture &fitted = pictures->find(pathOf("p2.jpg"), SIZE_WINDOW)->picture;
    EXPECT_EQ(fitted.width, 960u);
    EXPECT_EQ(fitted.height, 768u);
    const size_t screenPicture = (size_t)960 * HEIGHT * 4;
    EXPECT_EQ(pictures->heldBytes(), 3 * screenPicture);
    handleViewKey(VK_RIGHT, true);
    afterPictureViewInput();
    drawWhenReady(pathOf("p3.jpg"));
    ASSERT_TRUE(pictures->waitFor(pathOf("p4.jpg"), SIZE_WINDOW, std::chrono::seconds(20)));
    EXPECT_EQ(pictures->heldBytes(), 3 * screenPicture);
    EXPECT_EQ(pictures->find(pathOf("p1.jpg"), SIZE_WINDOW), nullptr);

    // Closed, it lets every picture go.
    handleViewKey(VK_ESCAPE, true);
    afterPictureViewInput();
    EXPECT_EQ(pictures->heldBytes(), 0u);
}

TEST(PictureViewInfoLine, NamesThePictureItsPlaceSizeDateAndZoom) {
    char line[200];
    formatViewInfoLine(line, sizeof line, "Sunset.jpg", 3, 12, 4000, 3000, "2021:07:04 18:30:05",
                       0.256);
    EXPECT_STREQ(line, "Sunset.jpg    3 of 12    4000 x 3000    2021-07-04 18:30    26 %");
    // Before the size is known, and without a date.
    formatViewInfoLine(line, sizeof line, "b.png", 1, 1, 0, 0, "", 0.0);
    EXPECT_STREQ(line, "b.png    1 of 1");
    // Cut to the buffer, never past it.
    char small[12];
    formatViewInfoLine(small, sizeof small, "A long name.jpg", 1, 2, 10, 10, "", 1.0);
    EXPECT_STREQ(small, "A long name");
}
