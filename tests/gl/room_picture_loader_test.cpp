// room_picture_loader_test.cpp -- loading a room's pictures into the slot textures: which
// slots change, the loading screens and lines, row order, orientation, formats, and pictures
// that cannot or must not be shown.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <glib.h>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "gallery/display_settings.h"
#include "gallery/door_action.h"
#include "gallery/folder_scanner.h"
#include "fakes/fake_embedded_resources.h"
#include "fakes/fake_message_box.h"
#include "fakes/fake_window.h"
#include "gallery/gallery_state.h"
#include "gl/gl_test_context.h"
#include "gl/window_feedback.h"
#include "render/texture_names.h"
#include "pictures/embedded_artwork.h"
#include "loading/neighbour_rooms.h"
#include "loading/pixel_budget.h"
#include "pictures/picture_decoder.h"
#include "loading/prepared_pictures.h"
#include "render/room_picture_loader.h"
#include "loading/background_preparation.h"
#include "platform/file_stamp.h"
#include "render/overlays.h"
#include "render/room_lists.h"
#include "render/text.h"
#include "support/output_capture.h"
#include "support/temp_tree.h"
#include "support/test_pictures.h"
#include "platform/image_library.h"

namespace {

using Rgba = std::array<int, 4>;

// One loading screen as drawn: glyphs of its message and the fill's width in pixels.
struct LoadingScreen {
    size_t glyphs;
    int fillWidth;
};
std::vector<LoadingScreen> screens;

void recordScreen() {
    auto recorded = stopWindowFeedback();
    LoadingScreen screen = {0, 0};
    auto runs = bitmapRuns(recorded);
    for (const auto &run : runs)
        screen.glyphs += run.size();
    // The track ends at x = 790; any other quad is the fill from x = 10.
    for (const WindowPrimitive &polygon : polygonsOf(recorded))
        for (const WindowVertex &v : polygon.vertices)
            if (v.x < 789.5f && (int)(v.x + 0.5f) - 10 > screen.fillWidth)
                screen.fillWidth = (int)(v.x + 0.5f) - 10;
    screens.push_back(screen);
    startWindowFeedback();
}

// One glyph on screen per UTF-8 character.
size_t glyphCount(const std::string &text) {
    size_t count = 0;
    for (unsigned char c : text)
        count += (c & 0xC0) != 0x80;
    return count;
}

// A loading screen is drawn only for a picture still on its way when its turn comes. Each one
// drawn names its slot's file at that slot's percentage (10 % a slot of the 780-pixel track),
// in slot order.
void expectScreensNameTheirSlots(const std::vector<std::string> &slotNames) {
    size_t next = 0;
    for (const LoadingScreen &screen : screens) {
        size_t slot = (size_t)(screen.fillWidth + 39) / 78;
        ASSERT_GE(slot, next) << "screens out of slot order";
        ASSERT_LT(slot, slotNames.size());
        EXPECT_NEAR(screen.fillWidth, 78 * (int)slot, 1);
        EXPECT_EQ(screen.glyphs, glyphCount("Loading " + slotNames[slot] + "..."));
        next = slot + 1;
    }
}

const Rgba MARKER = {1, 2, 3, 4};

struct LoadResult {
    bool ok;
    std::string out;
    std::string err;
};

class RoomLoader : public ::testing::Test {
  protected:
    BackgroundPreparation background; // as the program has one while the gallery is open
    std::string folder;
    std::vector<std::string> names;
    std::vector<char *> namePointers;
    std::string savedCache; // XDG_CACHE_HOME to restore, when a test changed it

    void SetUp() override {
        // No test sees another's prepared pictures or background work.
        resetNeighbourRooms();
        ASSERT_TRUE(makeTestGLContextCurrent(800, 600));
        glViewport(0, 0, 800, 600);
        screenWidth = 800;
        screenHeight = 600;
        ilInit();
        iluInit();
        ilEnable(IL_FORMAT_SET);
        ilSetInteger(IL_FORMAT_MODE, IL_RGBA);
        ilEnable(IL_FILE_OVERWRITE);
        glGenTextures(TEXTURE_COUNT, textureNames);
        displayListBase = glGenLists(DISPLAY_LIST_COUNT);
        ASSERT_TRUE(buildFonts());
        // Every slot starts as a 1 x 1 marker, so untouched slots can be told apart.
        for (int i = 0; i < 10; ++i) {
            unsigned char marker[4] = {1, 2, 3, 4};
            glBindTexture(GL_TEXTURE_2D, textureNames[TEX_PICTURE0 + i]);
            glTexImage2D(GL_TEXTURE_2D, 0, 4, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, marker);
        }
        folder = makeTempFolder();
        ASSERT_FALSE(folder.empty());
        resetFakeWindow();
        resetFakeEmbeddedResources();
        resetFakeMessageBoxes();
        screens.clear();
    }

    void TearDown() override {
        resetNeighbourRooms();
        if (!savedCache.empty())
            setenv("XDG_CACHE_HOME", savedCache.c_str(), 1);
        if (pictureNames == namePointers.data())
            pictureNames = nullptr; // ours, not the scanner's
        resetGalleryState();
        resetDisplaySettings();
        resetFakeWindow();
        resetFakeEmbeddedResources();
        glDeleteTextures(TEXTURE_COUNT, textureNames);
        glDeleteLists(displayListBase, DISPLAY_LIST_COUNT);
        removeTree(folder);
    }

    std::string pathOf(const std::string &name) { return folder + "/" + name; }

    // Runs the loader on a room of the given names from position first on, as runLoader does.
    LoadResult loadRoom(const std::vector<std::string> &roomNames, uint32_t first = 0,
                        bool settle = false) {
        names = roomNames;
        namePointers.clear();
        for (std::string &name : names)
            namePointers.push_back(&name[0]);
        pictureNames = namePointers.data();
        pictureCount = (uint32_t)names.size();
        firstPicture = first;
        snprintf(currentPath, PATH_BUFFER_SIZE, "%s", folder.c_str());
        return runLoader(settle);
    }

    // Runs the loader on the current room, recording every loading screen, both output streams
    // and whether the four work images were released. With settle, the background work the
    // load started is finished too, and its output recorded.
    LoadResult runLoader(bool settle = false) {
        ILuint probe = 0;
        ilGenImages(1, &probe);
        ilDeleteImages(1, &probe);
        fakeOnSwap = recordScreen;
        startCapture(stdout);
        startCapture(stderr);
        startWindowFeedback();
        LoadResult result;
        result.ok = loadRoomPictures(drawProgressScreen);
        stopWindowFeedback();
        if (settle)
            waitForRoomPreparation();
        result.err = stopCapture(stderr);
        result.out = stopCapture(stdout);
        fakeOnSwap = nullptr;
        for (ILuint name = probe; name < probe + 4; ++name)
            EXPECT_FALSE(ilIsImage(name)) << "work image " << name << " left behind";
        return result;
    }

    // Frames what the background prepares after the last load, as the frames drawn while the
    // person looks would, following the door they face.
    void prepareNeighbours() {
        roomLoaded = true;
        prepareRoomsAhead();
        waitForRoomPreparation();
        while (prepareRoomsAhead()) {
        }
    }

    // Where the desktop's cache keeps the x-large thumbnail of a file in the folder.
    std::string thumbnailPathOf(const std::string &name) {
        std::string uri = "file://" + pathOf(name);
        gchar *md5 = g_compute_checksum_for_string(G_CHECKSUM_MD5, uri.c_str(), -1);
        std::string path =
            std::string(getenv("XDG_CACHE_HOME")) + "/thumbnails/x-large/" + md5 + ".png";
        g_free(md5);
        return path;
    }

    struct stat statOf(const std::string &path) {
        struct stat info = {};
        EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
        return info;
    }

    void setModified(const std::string &name, const timespec &accessed, const timespec &modified) {
        const timespec times[2] = {accessed, modified};
        ASSERT_EQ(utimensat(AT_FDCWD, pathOf(name).c_str(), times, 0), 0);
    }

    GLint slotWidth(int slot) {
        GLint width = 0;
        glBindTexture(GL_TEXTURE_2D, textureNames[TEX_PICTURE0 + slot]);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        return width;
    }

    // Every texel of a slot, bottom row first.
    std::vector<unsigned char> slotTexels(int slot) {
        GLint width = slotWidth(slot);
        GLint height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        std::vector<unsigned char> pixels((size_t)width * height * 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    // Texel (x, y) of a slot, y counted from the picture's top: texture row 0 is its bottom.
    Rgba texel(int slot, int x, int y) {
        std::vector<unsigned char> pixels = slotTexels(slot);
        GLint width = slotWidth(slot);
        size_t height = pixels.size() / 4 / (size_t)width;
        const unsigned char *p = &pixels[((height - 1 - y) * width + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }

    void expectUntouched(int from) {
        for (int slot = from; slot < 10; ++slot) {
            EXPECT_EQ(slotWidth(slot), 1) << "slot " << slot;
            EXPECT_EQ(texel(slot, 0, 0), MARKER) << "slot " << slot;
        }
    }

    // The empty frame: grey inside a 4:3 frame, transparent above and below it.
    void expectEmptyFrame(int slot) {
        EXPECT_EQ(slotWidth(slot), 512);
        EXPECT_EQ(texel(slot, 255, 255), (Rgba{128, 128, 128, 255}));
        EXPECT_EQ(texel(slot, 255, 59)[3], 0);
        EXPECT_EQ(texel(slot, 255, 60)[3], 255);
        EXPECT_EQ(texel(slot, 0, 255)[3], 255);
    }

    // A flat-coloured picture file written by DevIL, its format chosen by the extension.
    void writePicture(const std::string &name, ILuint width, ILuint height, Rgba colour,
                      ILubyte channels = 3) {
        ILuint image = 0;
        ilGenImages(1, &image);
        ilBindImage(image);
        ILenum format = channels == 1 ? IL_LUMINANCE : channels == 3 ? IL_RGB : IL_RGBA;
        ASSERT_TRUE(ilTexImage(width, height, 1, channels, format, IL_UNSIGNED_BYTE, nullptr));
        ILubyte *data = ilGetData();
        for (size_t i = 0; i < (size_t)width * height; ++i)
            for (int c = 0; c < channels; ++c)
                data[i * channels + c] = (ILubyte)colour[c];
        ASSERT_TRUE(ilSaveImage(pathOf(name).c_str())) << name;
        ilDeleteImages(1, &image);
    }

    void writeBytes(const std::string &name, const std::string &bytes) {
        FILE *file = fopen(pathOf(name).c_str(), "wb");
        ASSERT_NE(file, nullptr);
        fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
    }

    std::string readBytes(const std::string &name) {
        std::string bytes;
        FILE *file = fopen(pathOf(name).c_str(), "rb");
        if (file == nullptr)
            return bytes;
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.append(buffer, n);
        fclose(file);
        return bytes;
    }

    // A JPEG of four flat quadrants (top-left, top-right, bottom-left, bottom-right as
    // stored), with an EXIF orientation entry when orientation is not 0.
    void writeQuadrantJpeg(const std::string &name, int width, int height,
                           const std::array<Rgba, 4> &quadrants, int orientation = 0) {
        unsigned char colours[4][3];
        for (int q = 0; q < 4; ++q)
            for (int c = 0; c < 3; ++c)
                colours[q][c] = (unsigned char)quadrants[q][c];
        ASSERT_TRUE(::writeQuadrantJpeg(pathOf(name), width, height, colours, orientation));
    }

    // ImageMagick for what DevIL cannot write: GIF, CMYK and progressive JPEG, 32-bit BMP.
    // The format prefix (e.g. "BMP3:") picks the variant ImageMagick writes.
    // A format's own command-line encoder.
    void encode(const std::string &command) {
        ASSERT_EQ(std::system((command + " >/dev/null 2>&1").c_str()), 0)
            << "needs the encoder: " << command;
    }

    void convert(const std::string &arguments, const std::string &name,
                 const std::string &formatPrefix = "") {
        std::string command =
            "convert " + arguments + " '" + formatPrefix + pathOf(name) + "' 2>/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << "needs ImageMagick: " << command;
    }
};

void expectNear(const Rgba &actual, const Rgba &expected, int tolerance) {
    for (int c = 0; c < 4; ++c)
        EXPECT_NEAR(actual[c], expected[c], tolerance)
            << "channel " << c << " of (" << actual[0] << ", " << actual[1] << ", " << actual[2]
            << ", " << actual[3] << ")";
}

TEST_F(RoomLoader, LastRoomOfThreeFillsSlotsZeroToTwoAndLeavesTheRest) {
    antialiasLevel = ANTIALIAS_LOW;
    writePicture("k.jpg", 200, 150, {200, 40, 40, 255});
    writePicture("l.bmp", 100, 80, {40, 200, 40, 255});
    writePicture("m.jpg", 640, 480, {40, 40, 200, 255});
    std::vector<std::string> room;
    for (int i = 0; i < 10; ++i)
        room.push_back("missing" + std::to_string(i) + ".jpg"); // the previous room's
    room.insert(room.end(), {"k.jpg", "l.bmp", "m.jpg"});

    LoadResult result = loadRoom(room, 10);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, "Loading " + pathOf("k.jpg") + "\nLoading " + pathOf("l.bmp") +
                              "\nLoading " + pathOf("m.jpg") + "\n");
    // Screens count the room's slots from 0 %, each naming the bare file.
    expectScreensNameTheirSlots({"k.jpg", "l.bmp", "m.jpg"});

    for (int slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(slotWidth(slot), 512);
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
        EXPECT_EQ(value, GL_LINEAR);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
        EXPECT_EQ(value, GL_LINEAR);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
        EXPECT_EQ(value, GL_REPEAT);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
        EXPECT_EQ(value, GL_REPEAT);
    }
    expectNear(texel(0, 255, 255), {200, 40, 40, 255}, 6);
    expectNear(texel(1, 255, 255), {40, 200, 40, 255}, 0);
    expectNear(texel(2, 255, 255), {40, 40, 200, 255}, 6);
    EXPECT_EQ(texel(0, 255, 10)[3], 0); // above the 200 x 150 picture's frame
    expectUntouched(3);
}

TEST_F(RoomLoader, RoomWithoutPicturesShowsNothingAndChangesNothing) {
    LoadResult result = loadRoom({"a.jpg", "b.jpg"}, 2);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(fakeSwapCount, 0);
    expectUntouched(0);
}

TEST_F(RoomLoader, PicturesArriveUprightAndUnmirroredFromEveryDecoder) {
    // Red top-left, green top-right, blue bottom-left, white bottom-right, written by an
    // encoder independent of the decoder. JPEG, GIF and PNG decode top row first, BMP bottom
    // row first.
    const std::string quadrants = "-size 64x48 xc:white -fill red -draw 'rectangle 0,0 31,23' "
                                  "-fill lime -draw 'rectangle 32,0 63,23' "
                                  "-fill blue -draw 'rectangle 0,24 31,47'";
    convert(quadrants + " -quality 100", "q.jpg");
    convert(quadrants, "q.gif");
    convert(quadrants + " -type TrueColor", "q.bmp", "BMP3:");
    convert(quadrants, "q.png");
    LoadResult result = loadRoom({"q.jpg", "q.gif", "q.bmp", "q.png"});
    ASSERT_TRUE(result.ok) << result.err;
    // The 64 x 48 picture sits at (224, 232).
    for (int slot = 0; slot < 4; ++slot) {
        SCOPED_TRACE(names[slot]);
        expectNear(texel(slot, 224 + 16, 232 + 12), {255, 0, 0, 255}, 8);
        expectNear(texel(slot, 224 + 48, 232 + 12), {0, 255, 0, 255}, 8);
        expectNear(texel(slot, 224 + 16, 232 + 36), {0, 0, 255, 255}, 8);
        expectNear(texel(slot, 224 + 48, 232 + 36), {255, 255, 255, 255}, 8);
    }
}

TEST_F(RoomLoader, PicturesPhonesAndBrowsersWriteHangUprightToo) {
    // The quadrants again, through each format's own encoder: WebP, HEIC, AVIF, and TIFF. Two
    // are stored turned a quarter anticlockwise: the AVIF with a rotation property, the TIFF
    // with orientation 6.
    const std::string quadrants = "-size 64x48 xc:white -fill red -draw 'rectangle 0,0 31,23' "
                                  "-fill lime -draw 'rectangle 32,0 63,23' "
                                  "-fill blue -draw 'rectangle 0,24 31,47'";
    // Truecolour PNGs: the HEIF encoder misreads palette ones.
    convert(quadrants, "q.png", "PNG24:");
    convert(quadrants + " -rotate 270", "stored.png", "PNG24:");
    convert(quadrants + " -rotate 270 -orient right-top", "q6.tif");
    encode("cwebp -quiet -lossless '" + pathOf("q.png") + "' -o '" + pathOf("q.webp") + "'");
    encode("heif-enc -q 95 '" + pathOf("q.png") + "' -o '" + pathOf("q.heic") + "'");
    encode("avifenc --min 0 --max 4 '" + pathOf("q.png") + "' '" + pathOf("q.avif") + "'");
    encode("avifenc --min 0 --max 4 --irot 3 '" + pathOf("stored.png") + "' '" + pathOf("q6.avif") +
           "'");
    // A JPEG named like a PNG is still a JPEG; a HEIC that is not one is refused.
    writeQuadrantJpeg(
        "jpeg.png", 64, 48,
        {Rgba{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 255, 255}});
    writeBytes("garbage.heic", std::string("\0\0\0\x18"
                                           "ftypheic",
                                           12) +
                                   "not a picture");
    LoadResult result = loadRoom(
        {"q.png", "q.webp", "q.heic", "q.avif", "q6.avif", "q6.tif", "jpeg.png", "garbage.heic"});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.err, "ERROR: Unable to load " + pathOf("garbage.heic") + "\n");
    for (int slot = 0; slot < 7; ++slot) {
        SCOPED_TRACE(names[slot]);
        expectNear(texel(slot, 224 + 16, 232 + 12), {255, 0, 0, 255}, 8);
        expectNear(texel(slot, 224 + 48, 232 + 12), {0, 255, 0, 255}, 8);
        expectNear(texel(slot, 224 + 16, 232 + 36), {0, 0, 255, 255}, 8);
        expectNear(texel(slot, 224 + 48, 232 + 36), {255, 255, 255, 255}, 8);
    }
    expectEmptyFrame(7);
}

TEST_F(RoomLoader, UnreadablePictureGetsAnEmptyFrameAndLoadingGoesOn) {
    std::vector<std::string> room;
    for (int i = 0; i < 6; ++i) {
        room.push_back("p" + std::to_string(i) + ".jpg");
        writePicture(room.back(), 64, 64, {90, 90, 220, 255});
    }
    room[4] = "p4.bmp";
    writeBytes("p4.bmp", "not a picture at all\n");

    LoadResult result = loadRoom(room);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.err, "ERROR: Unable to load " + pathOf("p4.bmp") + "\n");
    expectScreensNameTheirSlots(room);
    for (int slot : {0, 1, 2, 3, 5})
        expectNear(texel(slot, 255, 255), {90, 90, 220, 255}, 6);
    expectEmptyFrame(4);
    expectUntouched(6);
}

TEST_F(RoomLoader, MissingFrameImageChangesNoSlot) {
    failFakeResource(FAKE_RESOURCE_FIND, IDR_TEX_FRAME);
    writePicture("a.jpg", 32, 32, {10, 10, 10, 255});
    LoadResult result = loadRoom({"a.jpg"});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.err, "ERROR: Unable to load image.jpg\n");
    EXPECT_EQ(result.out, "");
    ASSERT_EQ(shownMessageBoxes.size(), 1u);
    EXPECT_EQ(shownMessageBoxes[0].text, "Unable to load textures");
    EXPECT_EQ(shownMessageBoxes[0].title, "Initialization Failed");
    EXPECT_EQ(fakeSwapCount, 0);
    expectUntouched(0);
}

struct OddPicture {
    const char *name;
    bool loads;
    Rgba centre;   // texel (255, 255) of the thumbnail when the picture loads
    int tolerance; // per channel
};

TEST_F(RoomLoader, OddAndBrokenFilesEachGetTheirLineAndNeverStopTheRoom) {
    const Rgba teal = {30, 160, 150, 255};
    writeBytes("empty.jpg", "");
    writePicture("whole.jpg", 300, 200, teal);
    writeBytes("truncated.jpg", readBytes("whole.jpg").substr(0, 300));
    writeBytes("notes.bmp", "Shopping list: milk, bread\n");
    // 40 x 30 red with a 10 x 10 transparent centre: it shows the canvas white through.
    convert("-size 40x30 xc:red -fill blue -draw 'rectangle 15,10 24,19' -transparent blue",
            "transparent.gif");
    writePicture("dot.bmp", 1, 1, teal);
    writePicture("exact.bmp", 480, 480, teal);
    writePicture("narrow.jpg", 479, 300, teal);
    writePicture("strip.bmp", 10000, 5, teal);
    writePicture("Gemälde – ñ.jpg", 120, 90, teal);
    convert("-size 120x90 xc:'rgb(30,160,150)' -colorspace CMYK", "cmyk.jpg");
    writePicture("grey.jpg", 120, 90, {100, 0, 0, 0}, 1);
    convert("-size 120x90 xc:'rgb(30,160,150)' -interlace JPEG", "progressive.jpg");
    convert("-size 120x90 xc:'rgb(30,160,150)' -interlace GIF", "interlaced.gif");
    convert("-size 120x90 xc:'rgb(30,160,150)' -alpha set -define bmp3:alpha=true", "alpha32.bmp",
            "BMP3:");

    const OddPicture cases[] = {
        {"empty.jpg", false, {}, 0},
        {"truncated.jpg", false, {}, 0},
        {"notes.bmp", false, {}, 0},
        {"transparent.gif", true, {255, 255, 255, 255}, 0},
        {"dot.bmp", true, teal, 0},
        {"exact.bmp", true, teal, 0},
        {"narrow.jpg", true, teal, 6},
        {"strip.bmp", true, teal, 0},
        {"Gemälde – ñ.jpg", true, teal, 6},
        {"cmyk.jpg", true, teal, 8},
        {"grey.jpg", true, {100, 100, 100, 255}, 3},
        {"progressive.jpg", true, teal, 6},
        {"interlaced.gif", true, teal, 0},
        {"alpha32.bmp", true, teal, 0},
    };
    // Two rooms of seven, each with its own screens and lines.
    for (size_t first = 0; first < 14; first += 7) {
        std::vector<std::string> room;
        for (size_t i = first; i < first + 7; ++i)
            room.push_back(cases[i].name);
        screens.clear();
        LoadResult result = loadRoom(room);
        std::string expectedOut, expectedErr;
        bool allLoad = true;
        for (size_t i = first; i < first + 7; ++i) {
            expectedOut += "Loading " + pathOf(cases[i].name) + "\n";
            if (!cases[i].loads)
                expectedErr += "ERROR: Unable to load " + pathOf(cases[i].name) + "\n";
            allLoad = allLoad && cases[i].loads;
        }
        EXPECT_EQ(result.out, expectedOut);
        EXPECT_EQ(result.err, expectedErr);
        EXPECT_EQ(result.ok, allLoad);
        expectScreensNameTheirSlots(room);
        for (int slot = 0; slot < 7; ++slot) {
            const OddPicture &c = cases[first + slot];
            SCOPED_TRACE(c.name);
            if (c.loads)
                expectNear(texel(slot, 255, 255), c.centre, c.tolerance);
            else
                expectEmptyFrame(slot);
        }
        expectUntouched(7);
    }
}

TEST_F(RoomLoader, HugeJpegIsDecodedShrunkAndFramed) {
    // 12000 x 9000: 432 MB at full size in RGBA, so it must shrink while it decodes.
    writePicture("huge.jpg", 12000, 9000, {180, 120, 60, 255});
    LoadResult result = loadRoom({"huge.jpg"});
    EXPECT_TRUE(result.ok) << result.err;
    // Fitted by width to 480 x 360: the frame spans rows 60..451.
    expectNear(texel(0, 255, 255), {180, 120, 60, 255}, 6);
    EXPECT_EQ(texel(0, 255, 59)[3], 0);
    EXPECT_EQ(texel(0, 255, 60)[3], 255);
    EXPECT_EQ(texel(0, 255, 451)[3], 255);
    EXPECT_EQ(texel(0, 255, 452)[3], 0);
}

TEST_F(RoomLoader, PhotosHangUprightUnmirroredAndShrunk) {
    const Rgba red = {255, 0, 0, 255}, green = {0, 255, 0, 255}, blue = {0, 0, 255, 255},
               white = {255, 255, 255, 255};
    // Stored so that each, turned as its orientation says, shows red top-left, green
    // top-right, blue bottom-left, white bottom-right.
    writeQuadrantJpeg("large.jpg", 4000, 3000, {red, green, blue, white});
    writeQuadrantJpeg("turned6.jpg", 640, 480, {green, white, red, blue}, 6);
    writeQuadrantJpeg("transposed5.jpg", 640, 480, {red, blue, green, white}, 5);
    LoadResult result = loadRoom({"large.jpg", "turned6.jpg", "transposed5.jpg"});
    ASSERT_TRUE(result.ok) << result.err;

    // 4000 x 3000 shrinks to 480 x 360 at (16, 76); the portrait 480 x 640 to 360 x 480 at
    // (76, 16), its frame starting at column 60.
    SCOPED_TRACE("large.jpg");
    expectNear(texel(0, 136, 166), red, 10);
    expectNear(texel(0, 376, 166), green, 10);
    expectNear(texel(0, 136, 346), blue, 10);
    expectNear(texel(0, 376, 346), white, 10);
    EXPECT_EQ(texel(0, 255, 59)[3], 0);
    EXPECT_EQ(texel(0, 255, 60)[3], 255);
    for (int slot = 1; slot <= 2; ++slot) {
        SCOPED_TRACE(names[slot]);
        expectNear(texel(slot, 166, 136), red, 10);
        expectNear(texel(slot, 346, 136), green, 10);
        expectNear(texel(slot, 166, 376), blue, 10);
        expectNear(texel(slot, 346, 376), white, 10);
        EXPECT_EQ(texel(slot, 59, 255)[3], 0);
        EXPECT_EQ(texel(slot, 60, 255)[3], 255);
    }
}

TEST_F(RoomLoader, EditorBmpAndTinyGifAreShown) {
    convert("-size 64x48 xc:white -fill red -draw 'rectangle 0,0 31,23' "
            "-fill lime -draw 'rectangle 32,0 63,23' -fill blue -draw 'rectangle 0,24 31,47'",
            "v5.bmp");
    ASSERT_EQ(readBytes("v5.bmp")[14], 124) << "not a V5 header";
    convert("-size 1x1 xc:'rgb(30,160,150)'", "dot.gif");
    LoadResult result = loadRoom({"v5.bmp", "dot.gif"});
    ASSERT_TRUE(result.ok) << result.err;
    // The 64 x 48 picture sits at (224, 232); the 1 x 1 one at (255, 255).
    expectNear(texel(0, 224 + 16, 232 + 12), {255, 0, 0, 255}, 0);
    expectNear(texel(0, 224 + 48, 232 + 12), {0, 255, 0, 255}, 0);
    expectNear(texel(0, 224 + 16, 232 + 36), {0, 0, 255, 255}, 0);
    expectNear(texel(0, 224 + 48, 232 + 36), {255, 255, 255, 255}, 0);
    expectNear(texel(1, 255, 255), {30, 160, 150, 255}, 0);
}

TEST_F(RoomLoader, HugeDeclaredSizeIsRefusedFastWithoutMemory) {
    // A 54-byte BMP whose header claims 65535 x 65535 at 24 bits: 16 GB of pixels.
    std::string bmp("BM\x36\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\xFF\xFF\0\0\xFF\xFF\0\0"
                    "\x01\0\x18\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0",
                    54);
    writeBytes("claims.bmp", bmp);
    Picture picture;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(decodePicture(pathOf("claims.bmp").c_str(), 480, 480, &picture), PICTURE_TOO_LARGE);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));

    LoadResult result = loadRoom({"claims.bmp"});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.err, "ERROR: Unable to load " + pathOf("claims.bmp") + "\n");
    expectEmptyFrame(0);
}

TEST_F(RoomLoader, FifoNamedLikeAPictureIsRefusedWithoutWaiting) {
    ASSERT_EQ(mkfifo(pathOf("pipe.jpg").c_str(), 0600), 0);
    writePicture("after.bmp", 8, 8, {40, 200, 40, 255});
    // Should opening wait for a writer, this watchdog becomes one after ten seconds, so the
    // test ends either way. Its open succeeds only while a reader holds the FIFO.
    std::mutex lock;
    std::condition_variable finished;
    bool done = false;
    bool readerWaited = false;
    std::thread watchdog([&] {
        std::unique_lock<std::mutex> guard(lock);
        if (!finished.wait_for(guard, std::chrono::seconds(10), [&] { return done; })) {
            int fd = open(pathOf("pipe.jpg").c_str(), O_WRONLY | O_NONBLOCK);
            readerWaited = fd >= 0;
            if (fd >= 0)
                close(fd);
        }
    });
    LoadResult result = loadRoom({"pipe.jpg", "after.bmp"});
    {
        std::lock_guard<std::mutex> guard(lock);
        done = true;
    }
    finished.notify_all();
    watchdog.join();
    EXPECT_FALSE(readerWaited);
    EXPECT_EQ(result.err, "ERROR: Unable to load " + pathOf("pipe.jpg") + "\n");
    expectEmptyFrame(0);
    expectNear(texel(1, 255, 255), {40, 200, 40, 255}, 0);
}

// Hands back the whole budget for decoded pixels if it is still held; from any thread.
static std::atomic<bool> budgetHeld{false};
static void giveBudgetBack() {
    if (budgetHeld.exchange(false))
        decodedPixelBudget().release(decodedPixelBudget().capacity());
}

TEST_F(RoomLoader, PictureStillOnItsWayGetsItsScreen) {
    // The whole budget for decoded pixels is held, so the picture's decode waits for room and
    // is still on its way when its turn comes, however fast the machine; the first answer of
    // the window gives the room back, and a watchdog does after ten seconds should none come.
    writePicture("late.bmp", 64, 48, {180, 120, 60, 255});
    ASSERT_TRUE(decodedPixelBudget().acquire(decodedPixelBudget().capacity(), nullptr));
    budgetHeld = true;
    std::mutex lock;
    std::condition_variable finished;
    bool done = false;
    std::thread watchdog([&] {
        std::unique_lock<std::mutex> guard(lock);
        finished.wait_for(guard, std::chrono::seconds(10), [&] { return done; });
        giveBudgetBack();
    });
    static int answers;
    answers = 0;
    setWindowAnswering([] {
        answers++;
        giveBudgetBack();
    });
    loadRoom({"late.bmp"});
    setWindowAnswering(nullptr);
    {
        std::lock_guard<std::mutex> guard(lock);
        done = true;
    }
    finished.notify_all();
    watchdog.join();
    // While it is waited for, the window is answered in short steps, each followed by the same
    // screen drawn again.
    EXPECT_GE(answers, 1);
    EXPECT_EQ(screens.size(), (size_t)answers + 1);
    for (const auto &screen : screens) {
        EXPECT_EQ(screen.fillWidth, 0);
        EXPECT_EQ(screen.glyphs, strlen("Loading late.bmp..."));
    }
    expectNear(texel(0, 255, 255), {180, 120, 60, 255}, 0);
}

TEST_F(RoomLoader, PreparedRoomMatchesAColdLoadAndDecodesNothing) {
    const Rgba red = {255, 0, 0, 255}, green = {0, 255, 0, 255}, blue = {0, 0, 255, 255},
               white = {255, 255, 255, 255};
    std::vector<std::string> gallery;
    for (int i = 0; i < 20; ++i) {
        gallery.push_back("p" + std::to_string(i / 10) + std::to_string(i % 10) + ".jpg");
        // Sizes that fit as they are and sizes that shrink, the quadrants turned a step each.
        std::array<Rgba, 4> quadrants = {red, green, blue, white};
        std::rotate(quadrants.begin(), quadrants.begin() + i % 4, quadrants.end());
        writeQuadrantJpeg(gallery.back(), 160 + 37 * i, 120 + 23 * i, quadrants);
    }
    loadRoom(gallery);
    prepareNeighbours();
    // Entered with everything prepared: no screen, since nothing is waited for. (Garbage of
    // the same size and time put in a file can no longer stand in for a decode: its change
    // time gives it away, and it is decoded anew.)
    screens.clear();
    LoadResult prepared = loadRoom(gallery, 10);
    EXPECT_TRUE(prepared.ok) << prepared.err;
    EXPECT_TRUE(screens.empty());
    std::vector<std::vector<unsigned char>> shown;
    for (int slot = 0; slot < 10; ++slot)
        shown.push_back(slotTexels(slot));

    // Cold: nothing held, no thumbnails, the file as it was.
    resetNeighbourRooms();
    removeTree(std::string(getenv("XDG_CACHE_HOME")) + "/thumbnails");
    ASSERT_TRUE(loadRoom(gallery, 10).ok);
    for (int slot = 0; slot < 10; ++slot)
        EXPECT_TRUE(slotTexels(slot) == shown[slot]) << "slot " << slot;
}

TEST_F(RoomLoader, FileChangedBetweenVisitsIsShownAnewAndItsStaleThumbnailReplaced) {
    // The same size on disk both times: only the modification time tells the versions apart.
    writePicture("c.bmp", 64, 48, {220, 30, 30, 255});
    loadRoom({"c.bmp"}, 0, true);
    const std::string thumbnail = thumbnailPathOf("c.bmp");
    ASSERT_EQ(access(thumbnail.c_str(), F_OK), 0) << "no thumbnail of the first version";
    const struct stat first = statOf(pathOf("c.bmp"));
    writePicture("c.bmp", 64, 48, {30, 30, 220, 255});
    timespec modified = first.st_mtim;
    modified.tv_sec += 2;
    setModified("c.bmp", first.st_atim, modified);

    EXPECT_TRUE(loadRoom({"c.bmp"}, 0, true).ok);
    expectNear(texel(0, 255, 255), {30, 30, 220, 255}, 0);
    GdkPixbuf *cached = gdk_pixbuf_new_from_file(thumbnail.c_str(), nullptr);
    ASSERT_NE(cached, nullptr);
    const gchar *mtime = gdk_pixbuf_get_option(cached, "tEXt::Thumb::MTime");
    EXPECT_STREQ(mtime, std::to_string(modified.tv_sec).c_str());
    g_object_unref(cached);
}

TEST_F(RoomLoader, ThumbnailWeWriteIsReadByAnotherReader) {
    writePicture("wide.jpg", 1024, 640, {60, 140, 200, 255});
    ASSERT_TRUE(loadRoom({"wide.jpg"}, 0, true).ok);
    const struct stat file = statOf(pathOf("wide.jpg"));
    const std::string thumbnail = thumbnailPathOf("wide.jpg");
    GdkPixbuf *pixbuf = gdk_pixbuf_new_from_file(thumbnail.c_str(), nullptr);
    ASSERT_NE(pixbuf, nullptr) << thumbnail;
    EXPECT_EQ(gdk_pixbuf_get_width(pixbuf), 512);
    EXPECT_EQ(gdk_pixbuf_get_height(pixbuf), 320);
    const std::pair<const char *, std::string> keys[] = {
        {"tEXt::Thumb::URI", "file://" + pathOf("wide.jpg")},
        {"tEXt::Thumb::MTime", std::to_string(file.st_mtime)},
        {"tEXt::Thumb::Size", std::to_string(file.st_size)},
        {"tEXt::Thumb::Image::Width", "1024"},
        {"tEXt::Thumb::Image::Height", "640"},
    };
    for (const auto &key : keys) {
        const gchar *value = gdk_pixbuf_get_option(pixbuf, key.first);
        EXPECT_EQ(value != nullptr ? value : "(missing)", key.second) << key.first;
    }
    g_object_unref(pixbuf);
    const std::string folder = thumbnail.substr(0, thumbnail.rfind('/'));
    EXPECT_EQ(statOf(thumbnail).st_mode & 07777, 0600u);
    EXPECT_EQ(statOf(folder).st_mode & 07777, 0700u);
    EXPECT_EQ(statOf(folder.substr(0, folder.rfind('/'))).st_mode & 07777, 0700u);
}

TEST_F(RoomLoader, AnotherProgramsThumbnailIsShownInTheOriginalsProportions) {
    writePicture("red.bmp", 300, 200, {220, 30, 30, 255});
    // Square and green, unlike anything decoding the file gives; its record says 300 x 200.
    GdkPixbuf *pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 256, 256);
    gdk_pixbuf_fill(pixbuf, 0x20c020ff);
    const std::string thumbnail = thumbnailPathOf("red.bmp");
    ASSERT_EQ(g_mkdir_with_parents(thumbnail.substr(0, thumbnail.rfind('/')).c_str(), 0700), 0);
    const std::string uri = "file://" + pathOf("red.bmp");
    const std::string mtime = std::to_string(statOf(pathOf("red.bmp")).st_mtime);
    ASSERT_TRUE(gdk_pixbuf_save(pixbuf, thumbnail.c_str(), "png", nullptr, "tEXt::Thumb::URI",
                                uri.c_str(), "tEXt::Thumb::MTime", mtime.c_str(),
                                "tEXt::Thumb::Image::Width", "300", "tEXt::Thumb::Image::Height",
                                "200", nullptr));
    g_object_unref(pixbuf);

    ASSERT_TRUE(loadRoom({"red.bmp"}).ok);
    // 300 x 200 at (106, 156), framed from row 140; a square picture would reach further.
    expectNear(texel(0, 255, 255), {32, 192, 32, 255}, 0);
    expectNear(texel(0, 110, 255), {32, 192, 32, 255}, 0);
    EXPECT_EQ(texel(0, 255, 139)[3], 0);
    EXPECT_EQ(texel(0, 255, 140)[3], 255);
}

TEST_F(RoomLoader, UnwritableCacheGivesOneLineAndTheRoomStillLoads) {
    writePicture("a.bmp", 16, 16, {220, 30, 30, 255});
    writePicture("b.bmp", 16, 16, {30, 30, 220, 255});
    // Below a regular file no folder can be made, not even by root.
    ASSERT_TRUE(makeFile(pathOf("plain")));
    resetNeighbourRooms(); // no background reads the variable while it changes
    savedCache = getenv("XDG_CACHE_HOME");
    setenv("XDG_CACHE_HOME", pathOf("plain/cache").c_str(), 1);

    LoadResult result = loadRoom({"a.bmp", "b.bmp"}, 0, true);
    EXPECT_TRUE(result.ok);
    expectNear(texel(0, 255, 255), {220, 30, 30, 255}, 0);
    expectNear(texel(1, 255, 255), {30, 30, 220, 255}, 0);
    const std::string warning = "WARNING: Thumbnail cache unavailable: ";
    EXPECT_EQ(result.err.compare(0, warning.size(), warning), 0) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
}

TEST_F(RoomLoader, RoomBehindTheFacedSideDoorIsPreparedAndEnteredWithoutWaiting) {
    writePicture("here.bmp", 16, 16, {128, 128, 128, 255});
    ASSERT_TRUE(makeFolder(pathOf("Sub")));
    const std::vector<std::string> inside = {"Sub/s0.jpg", "Sub/s1.bmp", "Sub/s2.jpg"};
    const Rgba colours[] = {{200, 40, 40, 255}, {40, 200, 40, 255}, {40, 40, 200, 255}};
    for (size_t i = 0; i < inside.size(); ++i)
        writePicture(inside[i], 640, 480, colours[i]);
    snprintf(currentPath, PATH_BUFFER_SIZE, "%s", folder.c_str());
    scanFolder();
    ASSERT_EQ(folderCount, 1u);
    ASSERT_TRUE(runLoader().ok);

    // At the door wall, facing the first folder door (slot 1, after the parent door).
    viewX = -1.4f;
    viewZ = -(11.125f - 2.5f);
    viewHeading = 270.0f;
    prepareNeighbours();
    for (const std::string &name : inside) {
        FileStamp stamp;
        ASSERT_TRUE(readFileStamp(pathOf(name).c_str(), &stamp));
        EXPECT_TRUE(holdsPicture(&framedPictures, pathOf(name).c_str(), stamp)) << name;
    }

    startCapture(stdout);
    openFacingDoor();
    stopCapture(stdout);
    ASSERT_EQ(std::string(currentPath), pathOf("Sub"));
    screens.clear();
    EXPECT_TRUE(runLoader().ok);
    EXPECT_TRUE(screens.empty());
    ASSERT_EQ(pictureCount, 3u);
    for (int slot = 0; slot < 3; ++slot) {
        // In the order the folder lists them.
        size_t i = (size_t)(std::find(inside.begin(), inside.end(),
                                      "Sub/" + std::string(pictureNames[slot])) -
                            inside.begin());
        ASSERT_LT(i, inside.size());
        expectNear(texel(slot, 255, 255), colours[i], 6);
    }
}

} // namespace
