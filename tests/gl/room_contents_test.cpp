// room_contents_test.cpp -- the compiled room contents on a real context: where pictures, doors
// and plates hang, how their textures and labels face a viewer on each wall, and the wall seen
// through transparent texels.
#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "gallery/display_settings.h"
#include "gallery/gallery_state.h"
#include "gl/gl_feedback.h"
#include "gl/gl_test_context.h"
#include "render/texture_names.h"
#include "platform/fonts.h"
#include "render/gl_state.h"
#include "render/room_contents.h"
#include "render/room_lists.h"
#include "render/text.h"
#include "platform/image_library.h"

namespace {

constexpr int WIDTH = 800;
constexpr int HEIGHT = 600;

struct Point {
    float x, y, z;
};

struct Image {
    std::vector<unsigned char> rgba; // bottom row first, as read back
    int width = 0, height = 0;
    const unsigned char *at(int x, int y) const {
        return &rgba[(static_cast<size_t>(y) * width + x) * 4];
    }
};

struct Rect {
    int x0, y0, x1, y1; // window pixels, x1 and y1 exclusive
};

// A name list as the scanner leaves it: one pointer array and one pool, both from malloc, so
// that resetting the gallery state releases them.
void stageNames(const std::vector<std::string> &names, char ***list, char **pool, uint32_t *count) {
    size_t bytes = 0;
    for (const std::string &name : names)
        bytes += name.size() + 1;
    *pool = static_cast<char *>(malloc(bytes));
    *list = static_cast<char **>(malloc(names.size() * sizeof(char *)));
    char *cursor = *pool;
    for (size_t i = 0; i < names.size(); i++) {
        memcpy(cursor, names[i].c_str(), names[i].size() + 1);
        (*list)[i] = cursor;
        cursor += names[i].size() + 1;
    }
    *count = static_cast<uint32_t>(names.size());
}

std::vector<std::string> numbered(const char *format, int count) {
    std::vector<std::string> names;
    char name[32];
    for (int i = 0; i < count; i++) {
        snprintf(name, sizeof name, format, i);
        names.push_back(name);
    }
    return names;
}

const char *const longPictureName = "Kestrel over the salt marsh at first light.jpg";

// Room roomNo of a folder with the given lists and window.
void stageRoom(int pictures, uint32_t pictureFrom, int folders, uint32_t folderFrom,
               bool parentDoor, int roomNo) {
    resetGalleryState();
    std::vector<std::string> pictureList = numbered("pic%02d.jpg", pictures);
    if (pictures > 10)
        pictureList[10] = longPictureName;
    stageNames(pictureList, &pictureNames, &pictureNamePool, &pictureCount);
    stageNames(numbered("dir%02d", folders), &folderNames, &folderNamePool, &folderCount);
    firstPicture = pictureFrom;
    firstFolder = folderFrom;
    hasParentDoor = parentDoor;
    roomNumber = roomNo;
}

// Room 2 of a folder with 21 pictures and 20 sub-folders: every wall slot is filled and both
// end doors are shown.
void stageFullRoom() {
    stageRoom(21, 10, 20, 9, true, 2);
}

// The drive list with no drives: nothing hangs on any wall.
void stageBareRoom() {
    resetGalleryState();
    hasParentDoor = false;
}

void uploadTexture(int entry, int width, int height, const std::vector<unsigned char> &rgba) {
    glBindTexture(GL_TEXTURE_2D, textureNames[entry]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 rgba.data());
}

const unsigned char RED[4] = {255, 0, 0, 255}, GREEN[4] = {0, 255, 0, 255},
                    BLUE[4] = {0, 0, 255, 255}, YELLOW[4] = {255, 255, 0, 255},
                    CLEAR[4] = {255, 0, 255, 0};

// Texture rows from the first (t = 0) on, one colour per texel.
std::vector<unsigned char> texels(const std::vector<std::vector<const unsigned char *>> &rows) {
    std::vector<unsigned char> rgba;
    for (const auto &row : rows)
        for (const unsigned char *texel : row)
            rgba.insert(rgba.end(), texel, texel + 4);
    return rgba;
}

// A transparent margin around four coloured quarters, red and green in the first inner row.
void usePictureQuarters() {
    const auto picture = texels({{CLEAR, CLEAR, CLEAR, CLEAR},
                                 {CLEAR, RED, GREEN, CLEAR},
                                 {CLEAR, BLUE, YELLOW, CLEAR},
                                 {CLEAR, CLEAR, CLEAR, CLEAR}});
    for (int slot = 0; slot < 10; slot++)
        uploadTexture(TEX_PICTURE0 + slot, 4, 4, picture);
}

// Transparent side columns beside four coloured quarters, red and green in the first row.
void useDoorQuarters() {
    uploadTexture(TEX_DOOR, 8, 2,
                  texels({{CLEAR, CLEAR, RED, RED, GREEN, GREEN, CLEAR, CLEAR},
                          {CLEAR, CLEAR, BLUE, BLUE, YELLOW, YELLOW, CLEAR, CLEAR}}));
}

// Where texture coordinate (s, t) of a fixture's leaf lands in the room.
Point leafPoint(FixtureKind kind, uint32_t slot, float s, float t) {
    switch (kind) {
    case FIXTURE_PICTURE:
        return {-2.0f, 0.1f + 2.0f * t, slotCenterZ(slot) + 1.0f - 2.0f * s};
    case FIXTURE_DOOR:
        return {2.0f, 1.5f - 1.5f * t, slotCenterZ(slot) - 0.75f + 1.5f * s};
    case FIXTURE_NEAR_DOOR:
        return {0.75f - 1.5f * s, 1.5f - 1.5f * t, 12.5f};
    case FIXTURE_FAR_DOOR:
        break;
    }
    return {0.75f - 1.5f * s, 1.5f - 1.5f * t, -12.5f};
}

// Two opposite corners of the plate over a fixture.
void plateCorners(FixtureKind kind, uint32_t slot, Point *a, Point *b) {
    const float zc = slotCenterZ(slot);
    switch (kind) {
    case FIXTURE_PICTURE:
        *a = {-2.0f, 2.13f, zc + 1.0f}, *b = {-2.0f, 2.43f, zc - 1.0f};
        return;
    case FIXTURE_DOOR:
        *a = {2.0f, 1.58f, zc - 1.0f}, *b = {2.0f, 1.88f, zc + 1.0f};
        return;
    case FIXTURE_NEAR_DOOR:
        *a = {-1.0f, 1.58f, 12.5f}, *b = {1.0f, 1.88f, 12.5f};
        return;
    case FIXTURE_FAR_DOOR:
        *a = {-1.0f, 1.58f, -12.5f}, *b = {1.0f, 1.88f, -12.5f};
        return;
    }
}

class RoomContentsFrame : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(makeTestGLContextCurrent(WIDTH, HEIGHT));
        resetDisplaySettings();
        resetGalleryState();
        ASSERT_TRUE(initGLState());
    }
    void TearDown() override {
        freeFonts();
        glDeleteLists(displayListBase, DISPLAY_LIST_COUNT);
        glDeleteTextures(TEXTURE_COUNT, textureNames);
        displayListBase = 0;
        ilShutDown();
        resetGalleryState();
    }

    // Compiles the list as the scene frame does, with the offset it expects in force.
    static void buildContents() {
        glPolygonOffset(-1.0f, -1.0f);
        buildRoomContents();
    }

    // The eye at e, facing along heading; the frame as the scene draws it: camera, light,
    // material, room shell, then the contents with polygon offset on.
    static Image drawFrom(Point e, float heading, const char *dumpName) {
        glViewport(0, 0, WIDTH, HEIGHT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(60.0, static_cast<double>(WIDTH) / HEIGHT, static_cast<double>(0.1f), 30.0);
        glMatrixMode(GL_MODELVIEW);
        viewX = -e.x;
        viewY = -e.y;
        viewZ = -e.z;
        viewHeading = heading;
        viewPitch = 0.0f;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glRotatef(viewPitch, 1.0f, 0.0f, 0.0f);
        glRotatef(360.0f - viewHeading, 0.0f, 1.0f, 0.0f);
        glTranslatef(viewX, viewY, viewZ);
        const GLfloat lightPosition[4] = {1.0f, 1.0f, 0.0f, 0.0f};
        const GLfloat sceneMaterial[4] = {0.5f, 0.5f, 0.5f, 0.5f};
        glLightfv(GL_LIGHT1, GL_POSITION, lightPosition);
        glColor3f(1.0f, 1.0f, 1.0f);
        glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, sceneMaterial);
        glEnable(GL_TEXTURE_2D);
        glCallList(roomShellList());
        glEnable(GL_POLYGON_OFFSET_FILL);
        glCallList(roomContentsList());
        glDisable(GL_POLYGON_OFFSET_FILL);
        Image image = readImage();
        dump(image, dumpName);
        return image;
    }

    static Image readImage() {
        Image image;
        image.width = WIDTH;
        image.height = HEIGHT;
        image.rgba.resize(static_cast<size_t>(WIDTH) * HEIGHT * 4);
        glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
        return image;
    }

    // With QUILLMERE_FRAME_DUMP set to a folder, each checked frame is also written there as a
    // PPM picture, top row first, for looking at.
    static void dump(const Image &image, const char *name) {
        const char *folder = getenv("QUILLMERE_FRAME_DUMP");
        if (folder == nullptr || name == nullptr)
            return;
        const std::string path = std::string(folder) + "/" + name + ".ppm";
        FILE *file = fopen(path.c_str(), "wb");
        if (file == nullptr)
            return;
        fprintf(file, "P6\n%d %d\n255\n", image.width, image.height);
        for (int y = image.height - 1; y >= 0; y--)
            for (int x = 0; x < image.width; x++)
                fwrite(image.at(x, y), 1, 3, file);
        fclose(file);
    }

    // The text as drawOutlineText writes it flat toward the viewer, unlit white on black at 36
    // pixels to the glyph unit.
    static Image drawFlatText(float maxWidth, const char *text) {
        glViewport(0, 0, WIDTH, HEIGHT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0.0, WIDTH, 0.0, HEIGHT, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        glColor3f(1.0f, 1.0f, 1.0f);
        glTranslatef(20.0f, 280.0f, 0.0f);
        glScalef(36.0f, 36.0f, 1.0f);
        drawOutlineText(ALIGN_LEFT, maxWidth, "%s", text);
        glPopAttrib();
        return readImage();
    }

    // Window position of a room point under the camera of the last frame.
    static void project(Point p, double *x, double *y) {
        GLdouble modelview[16], projection[16], z;
        GLint viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        gluProject(p.x, p.y, p.z, modelview, projection, viewport, x, y, &z);
    }

    static Rect plateRect(FixtureKind kind, uint32_t slot) {
        Point a, b;
        plateCorners(kind, slot, &a, &b);
        return rectOf(a, b);
    }

    // The window rectangle spanned by two room points.
    static Rect rectOf(Point a, Point b) {
        double ax, ay, bx, by;
        project(a, &ax, &ay);
        project(b, &bx, &by);
        return {static_cast<int>(std::max(0.0, std::min(ax, bx))),
                static_cast<int>(std::max(0.0, std::min(ay, by))),
                static_cast<int>(std::min<double>(WIDTH, std::max(ax, bx))),
                static_cast<int>(std::min<double>(HEIGHT, std::max(ay, by)))};
    }
};

// A door and the pose of a viewer 2.6 in front of it, eye at the middle of the leaf.
struct DoorView {
    const char *name;
    FixtureKind kind;
    uint32_t slot;
    Point eye;
    float heading;
    bool mirrored; // texture s runs right to left for this viewer
};

const DoorView doorViews[] = {
    {"parent_door", FIXTURE_DOOR, 0, {-0.6f, 0.75f, 11.2f}, 270.0f, false},
    {"folder_door_5", FIXTURE_DOOR, 5, {-0.6f, 0.75f, -1.3f}, 270.0f, false},
    {"near_door", FIXTURE_NEAR_DOOR, 0, {0.0f, 0.75f, 9.9f}, 180.0f, false},
    {"far_door", FIXTURE_FAR_DOOR, 0, {0.0f, 0.75f, -9.9f}, 0.0f, true},
};

struct Blob {
    int count = 0;
    double x = 0, y = 0; // centroid
};

bool isColour(const unsigned char *p, const unsigned char *colour) {
    for (int c = 0; c < 3; c++) {
        const bool wanted = colour[c] > 128;
        if (wanted ? p[c] < 100 : p[c] > 60)
            return false;
    }
    return true;
}

// The pixels of one flat test colour inside a window rectangle.
Blob blobOf(const Image &image, Rect r, const unsigned char *colour) {
    Blob blob;
    for (int y = r.y0; y < r.y1; y++)
        for (int x = r.x0; x < r.x1; x++)
            if (isColour(image.at(x, y), colour)) {
                blob.count++;
                blob.x += x;
                blob.y += y;
            }
    if (blob.count > 0) {
        blob.x /= blob.count;
        blob.y /= blob.count;
    }
    return blob;
}

// Pixels that differ between two frames inside a rectangle.
int differingPixels(const Image &a, const Image &b, Rect r) {
    int count = 0;
    for (int y = r.y0; y < r.y1; y++)
        for (int x = r.x0; x < r.x1; x++)
            if (memcmp(a.at(x, y), b.at(x, y), 3) != 0)
                count++;
    return count;
}

double meanBrightness(const Image &image, Rect r) {
    double sum = 0;
    for (int y = r.y0; y < r.y1; y++)
        for (int x = r.x0; x < r.x1; x++)
            sum += image.at(x, y)[0] + image.at(x, y)[1] + image.at(x, y)[2];
    return sum / std::max(1, (r.x1 - r.x0) * (r.y1 - r.y0));
}

// Label letters are lit past white by their emission; nothing else in the room gets there.
bool isInk(const unsigned char *p) {
    return p[0] >= 250 && p[1] >= 250 && p[2] >= 250;
}

// The ink inside a rectangle, cut to its bounding box and resampled to a coarse grid of
// coverage, optionally mirrored left-right and upside-down.
constexpr int GRID_X = 40, GRID_Y = 10;
struct InkGrid {
    int inkPixels = 0;
    std::vector<float> cells;
};

InkGrid inkGrid(const Image &image, Rect r, bool mirrorX, bool mirrorY) {
    InkGrid grid;
    int x0 = r.x1, y0 = r.y1, x1 = r.x0 - 1, y1 = r.y0 - 1;
    for (int y = r.y0; y < r.y1; y++)
        for (int x = r.x0; x < r.x1; x++)
            if (isInk(image.at(x, y))) {
                grid.inkPixels++;
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    grid.cells.assign(GRID_X * GRID_Y, 0.0f);
    if (grid.inkPixels == 0)
        return grid;
    std::vector<int> totals(GRID_X * GRID_Y, 0);
    for (int y = y0; y <= y1; y++)
        for (int x = x0; x <= x1; x++) {
            int cx = (x - x0) * GRID_X / (x1 - x0 + 1), cy = (y - y0) * GRID_Y / (y1 - y0 + 1);
            if (mirrorX)
                cx = GRID_X - 1 - cx;
            if (mirrorY)
                cy = GRID_Y - 1 - cy;
            totals[cy * GRID_X + cx]++;
            if (isInk(image.at(x, y)))
                grid.cells[cy * GRID_X + cx] += 1.0f;
        }
    for (size_t i = 0; i < totals.size(); i++)
        grid.cells[i] /= std::max(1, totals[i]);
    return grid;
}

float gridDistance(const InkGrid &a, const InkGrid &b) {
    float sum = 0.0f;
    for (size_t i = 0; i < a.cells.size(); i++)
        sum += std::fabs(a.cells[i] - b.cells[i]);
    return sum;
}

float coordinate(const FeedbackVertex &v, int axis) {
    return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

// The vertices reach from lo to hi along the axis, and no further.
void expectSpan(const std::vector<FeedbackVertex> &vertices, int axis, float lo, float hi) {
    float low = 1e9f, high = -1e9f;
    for (const FeedbackVertex &v : vertices) {
        low = std::min(low, coordinate(v, axis));
        high = std::max(high, coordinate(v, axis));
    }
    EXPECT_NEAR(low, lo, 1e-3f) << "axis " << axis;
    EXPECT_NEAR(high, hi, 1e-3f) << "axis " << axis;
}

// Each fixture's leaf and plate among the captured primitives, by its wall plane and its
// span across the wall.
void expectFixturesInPlace(const RoomFixture *fixtures, uint32_t count,
                           const std::vector<FeedbackPrimitive> &primitives) {
    for (uint32_t i = 0; i < count; i++) {
        const RoomFixture &f = fixtures[i];
        SCOPED_TRACE(f.label);
        // The wall plane and the axis along it; the fixture's centre along that axis.
        const bool side = f.kind == FIXTURE_PICTURE || f.kind == FIXTURE_DOOR;
        const int normalAxis = side ? 0 : 2, acrossAxis = side ? 2 : 0;
        const float plane = side ? (f.kind == FIXTURE_PICTURE ? -2.0f : 2.0f)
                                 : (f.kind == FIXTURE_NEAR_DOOR ? 12.5f : -12.5f);
        const float centre = side ? slotCenterZ(f.slot) : 0.0f;
        const float plateBottom = f.kind == FIXTURE_PICTURE ? 2.13f : 1.58f;

        std::vector<FeedbackVertex> leaf, plate;
        for (const FeedbackPrimitive &p : primitives) {
            bool mine = p.token == GL_POLYGON_TOKEN;
            for (const FeedbackVertex &v : p.vertices)
                mine = mine && std::fabs(coordinate(v, normalAxis) - plane) < 1e-3f &&
                       std::fabs(coordinate(v, acrossAxis) - centre) < 1.001f;
            if (!mine)
                continue;
            for (const FeedbackVertex &v : p.vertices)
                (v.y < plateBottom - 0.005f ? leaf : plate).push_back(v);
        }
        ASSERT_FALSE(leaf.empty());
        ASSERT_FALSE(plate.empty());

        // The plate is 2.0 wide and 0.3 high, centred over the fixture; the leaf a 2.0 square
        // from 0.1 up for pictures, a 1.5 square on the floor for doors.
        const float half = f.kind == FIXTURE_PICTURE ? 1.0f : 0.75f;
        const float bottom = f.kind == FIXTURE_PICTURE ? 0.1f : 0.0f;
        expectSpan(plate, acrossAxis, centre - 1.0f, centre + 1.0f);
        expectSpan(plate, 1, plateBottom, plateBottom + 0.3f);
        expectSpan(leaf, acrossAxis, centre - half, centre + half);
        expectSpan(leaf, 1, bottom, bottom + 2.0f * half);

        for (float s : {0.0f, 1.0f})
            for (float t : {0.0f, 1.0f}) {
                const Point corner = leafPoint(f.kind, f.slot, s, t);
                bool found = false;
                for (const FeedbackVertex &v : leaf) {
                    const float distance = std::fabs(v.x - corner.x) + std::fabs(v.y - corner.y) +
                                           std::fabs(v.z - corner.z);
                    if (distance > 2e-3f)
                        continue;
                    found = true;
                    EXPECT_NEAR(v.s, s, 1e-4f);
                    EXPECT_NEAR(v.t, t, 1e-4f);
                }
                EXPECT_TRUE(found) << "no leaf corner for texture (" << s << ", " << t << ")";
            }
    }
}

} // namespace

// Each leaf and the plate over it span what the room layout gives, in the wall plane, and the
// leaf's texture corners lie where its kind of fixture puts them.
TEST_F(RoomContentsFrame, FixturesHangWhereTheLayoutPutsThem) {
    // Three rooms that together hold every kind of fixture and every slot, each small enough
    // for one feedback capture: two pictures, four doors and the near door; ten pictures, the
    // parent door and the far door; ten drives and the far door.
    struct Staging {
        int pictures;
        uint32_t pictureFrom;
        int folders;
        uint32_t folderFrom;
        bool parentDoor;
        uint32_t fixtures;
    };
    const Staging stagings[] = {
        {12, 10, 12, 9, true, 7}, {11, 0, 0, 0, true, 12}, {0, 0, 10, 0, false, 11}};
    for (const Staging &staging : stagings) {
        stageRoom(staging.pictures, staging.pictureFrom, staging.folders, staging.folderFrom,
                  staging.parentDoor, 2);
        buildContents();
        ASSERT_TRUE(glIsList(roomContentsList()));
        static RoomFixture fixtures[MAX_ROOM_FIXTURES];
        const uint32_t count = collectRoomFixtures(fixtures);
        ASSERT_EQ(count, staging.fixtures);
        expectFixturesInPlace(fixtures, count,
                              captureFeedback([] { glCallList(roomContentsList()); }));
    }
}

// From the start pose the pictures line the left wall and the doors with their plates the
// right one.
TEST_F(RoomContentsFrame, StartPoseShowsPicturesLeftAndDoorsRight) {
    usePictureQuarters();
    const Point start = {0.0f, 0.5f, 11.9f};
    stageBareRoom();
    buildContents();
    const Image bare = drawFrom(start, 0.0f, nullptr);
    stageFullRoom();
    buildContents();
    const Image frame = drawFrom(start, 0.0f, "start_pose");

    const Rect left = {0, 0, WIDTH / 2 - 20, HEIGHT}, right = {WIDTH / 2 + 20, 0, WIDTH, HEIGHT};
    for (const unsigned char *colour : {RED, GREEN, BLUE, YELLOW}) {
        EXPECT_GT(blobOf(frame, left, colour).count, 1000);
        EXPECT_EQ(blobOf(frame, right, colour).count, 0);
    }
    EXPECT_GT(differingPixels(frame, bare, right), (right.x1 - right.x0) * HEIGHT / 10);

    // What follows the list in a frame, and the next frame's replay, find no alpha test, no
    // label glow and the offset every fixture starts from.
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    GLfloat emission[4] = {1, 1, 1, 1}, factor = 0, units = 0;
    glGetMaterialfv(GL_FRONT, GL_EMISSION, emission);
    for (GLfloat channel : emission)
        EXPECT_EQ(channel, 0.0f);
    glGetFloatv(GL_POLYGON_OFFSET_FACTOR, &factor);
    glGetFloatv(GL_POLYGON_OFFSET_UNITS, &units);
    EXPECT_EQ(factor, -1.0f);
    EXPECT_EQ(units, -1.0f);
}

// Seen from the room a picture's first texture row is at its bottom and s runs left to right;
// its transparent margin shows the wall untouched, and its plate hangs above it.
TEST_F(RoomContentsFrame, PicturesShowUprightWithTheWallAroundThem) {
    usePictureQuarters();
    const uint32_t slots[] = {0, 9};
    std::vector<Image> bare;
    stageBareRoom();
    buildContents();
    for (uint32_t slot : slots)
        bare.push_back(drawFrom({-0.6f, 1.1f, slotCenterZ(slot)}, 90.0f, nullptr));
    stageFullRoom();
    buildContents();
    for (size_t i = 0; i < 2; i++) {
        const uint32_t slot = slots[i];
        SCOPED_TRACE(testing::Message() << "picture slot " << slot);
        const Image frame = drawFrom({-0.6f, 1.1f, slotCenterZ(slot)}, 90.0f,
                                     ("picture_slot_" + std::to_string(slot)).c_str());
        const Rect leaf =
            rectOf(leafPoint(FIXTURE_PICTURE, slot, 0, 0), leafPoint(FIXTURE_PICTURE, slot, 1, 1));
        const Blob red = blobOf(frame, leaf, RED), green = blobOf(frame, leaf, GREEN);
        const Blob blue = blobOf(frame, leaf, BLUE), yellow = blobOf(frame, leaf, YELLOW);
        for (const Blob &blob : {red, green, blue, yellow})
            ASSERT_GT(blob.count, 1000);
        EXPECT_LT(red.x, green.x);
        EXPECT_LT(red.y, blue.y);
        EXPECT_GT(yellow.x, blue.x);
        EXPECT_GT(yellow.y, green.y);

        const Rect all = {0, 0, WIDTH, HEIGHT};
        EXPECT_EQ(blobOf(frame, all, CLEAR).count, 0);
        for (float s : {0.06f, 0.81f})
            EXPECT_EQ(differingPixels(frame, bare[i],
                                      rectOf(leafPoint(FIXTURE_PICTURE, slot, s, 0.3f),
                                             leafPoint(FIXTURE_PICTURE, slot, s + 0.13f, 0.7f))),
                      0);
        const Rect plate = plateRect(FIXTURE_PICTURE, slot);
        EXPECT_GT(differingPixels(frame, bare[i], plate),
                  (plate.x1 - plate.x0) * (plate.y1 - plate.y0) * 9 / 10);
    }
}

// Door leaves, with the door artwork, show their arch at the top and the wall through their
// transparent side columns; with coloured quarters, the first texture row is at the top and s
// runs left to right, except on the far end wall, which shows it mirrored.
TEST_F(RoomContentsFrame, DoorLeavesStandUprightWithTheWallBesideThem) {
    std::vector<Image> bare;
    stageBareRoom();
    buildContents();
    for (const DoorView &view : doorViews)
        bare.push_back(drawFrom(view.eye, view.heading, nullptr));
    stageFullRoom();
    buildContents();
    for (size_t i = 0; i < std::size(doorViews); i++) {
        const DoorView &view = doorViews[i];
        SCOPED_TRACE(view.name);
        auto at = [&](float s, float t) { return leafPoint(view.kind, view.slot, s, t); };
        const Image frame = drawFrom(view.eye, view.heading, view.name);
        const double top = meanBrightness(frame, rectOf(at(0.4f, 0.03f), at(0.6f, 0.12f)));
        const double bottom = meanBrightness(frame, rectOf(at(0.4f, 0.85f), at(0.6f, 0.95f)));
        EXPECT_GT(top, 1.4 * bottom);
        for (float s : {0.02f, 0.86f})
            EXPECT_EQ(differingPixels(frame, bare[i], rectOf(at(s, 0.2f), at(s + 0.12f, 0.8f))), 0);
        const Rect middle = rectOf(at(0.3f, 0.2f), at(0.7f, 0.8f));
        EXPECT_GT(differingPixels(frame, bare[i], middle),
                  (middle.x1 - middle.x0) * (middle.y1 - middle.y0) * 9 / 10);
    }

    useDoorQuarters();
    for (const DoorView &view : doorViews) {
        SCOPED_TRACE(view.name);
        const Image frame =
            drawFrom(view.eye, view.heading, (std::string("quarters_") + view.name).c_str());
        const Rect leaf =
            rectOf(leafPoint(view.kind, view.slot, 0, 0), leafPoint(view.kind, view.slot, 1, 1));
        const Blob red = blobOf(frame, leaf, RED), green = blobOf(frame, leaf, GREEN);
        const Blob blue = blobOf(frame, leaf, BLUE);
        for (const Blob &blob : {red, green, blue})
            ASSERT_GT(blob.count, 1000);
        EXPECT_GT(red.y, blue.y);
        EXPECT_EQ(red.x > green.x, view.mirrored);
        EXPECT_EQ(blobOf(frame, {0, 0, WIDTH, HEIGHT}, CLEAR).count, 0);
    }
}

// A viewer facing any wall reads its labels as the same text drawn flat toward them: neither
// mirrored nor upside down. The picture's long name is cut to its plate with "...".
TEST_F(RoomContentsFrame, LabelsReadLeftToRightOnEveryWall) {
    struct LabelView {
        const char *name;
        FixtureKind kind;
        Point eye;
        float heading;
        float maxWidth;
        const char *text;
    };
    const float zc = slotCenterZ(0);
    const LabelView views[] = {
        {"picture_label", FIXTURE_PICTURE, {-0.4f, 2.28f, zc}, 90.0f, 20.0f, longPictureName},
        {"door_label", FIXTURE_DOOR, {1.0f, 1.73f, zc}, 270.0f, 10.0f, "Parent Folder(..)"},
        {"near_label", FIXTURE_NEAR_DOOR, {0.0f, 1.73f, 11.5f}, 180.0f, 10.0f, "Room - 1"},
        {"far_label", FIXTURE_FAR_DOOR, {0.0f, 1.73f, -11.5f}, 0.0f, 10.0f, "Room - 3"},
    };
    stageFullRoom();
    buildContents();
    for (const LabelView &view : views) {
        SCOPED_TRACE(view.name);
        const Image frame = drawFrom(view.eye, view.heading, view.name);
        const Rect plate = plateRect(view.kind, 0);
        const Image flat = drawFlatText(view.maxWidth, view.text);
        const InkGrid expected = inkGrid(flat, {0, 0, WIDTH, HEIGHT}, false, false);
        ASSERT_GT(expected.inkPixels, 0);
        const InkGrid seen = inkGrid(frame, plate, false, false);
        ASSERT_GT(seen.inkPixels, 100);
        const float straight = gridDistance(seen, expected);
        const float mirrored = gridDistance(inkGrid(frame, plate, true, false), expected);
        const float flipped = gridDistance(inkGrid(frame, plate, false, true), expected);
        const float turned = gridDistance(inkGrid(frame, plate, true, true), expected);
        EXPECT_LT(straight, 0.5f * std::min({mirrored, flipped, turned}));
    }
}

namespace {

// The window position and depth of a room point under the camera of the last frame.
void projectWithDepth(Point p, double *x, double *y, double *depth) {
    GLdouble modelview[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(p.x, p.y, p.z, modelview, projection, viewport, x, y, depth);
}

// How far in front of a wall point, seen head-on, the nearest surface inside a window rectangle
// (by default the point's own pixel) lies, in steps of a 16-bit depth buffer.
double depthStepsInFront(Point p, Rect r = {-1, -1, -1, -1}) {
    double x, y, planeDepth;
    projectWithDepth(p, &x, &y, &planeDepth);
    if (r.x0 < 0)
        r = {static_cast<int>(x), static_cast<int>(y), static_cast<int>(x) + 1,
             static_cast<int>(y) + 1};
    std::vector<GLfloat> depths(static_cast<size_t>((r.x1 - r.x0) * (r.y1 - r.y0)));
    glReadPixels(r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0, GL_DEPTH_COMPONENT, GL_FLOAT, depths.data());
    return (planeDepth - *std::min_element(depths.begin(), depths.end())) * 65535.0;
}

} // namespace

// Seen head-on, plates and door leaves stand one offset step in front of their wall, labels and
// pictures two: in front of the plates they lie on.
TEST_F(RoomContentsFrame, FixturesStandOutFromTheirWallByTheirOffsets) {
    usePictureQuarters();
    stageFullRoom();
    buildContents();
    const float zc = slotCenterZ(0);

    drawFrom({-0.6f, 1.2f, zc}, 270.0f, nullptr);
    const double wall = depthStepsInFront({2.0f, 1.2f, zc - 1.5f});  // between two doors
    const double step = depthStepsInFront({2.0f, 0.75f, zc}) - wall; // door leaf
    EXPECT_GT(step, 0.5);
    EXPECT_NEAR(depthStepsInFront({2.0f, 1.85f, zc + 0.95f}) - wall, step, 0.3); // plate
    EXPECT_NEAR(depthStepsInFront({2.0f, 1.7f, zc}, plateRect(FIXTURE_DOOR, 0)) - wall, 2 * step,
                0.3); // its label

    drawFrom({0.6f, 1.2f, zc}, 90.0f, nullptr);
    EXPECT_NEAR(depthStepsInFront({-2.0f, 1.1f, zc}) - wall, 2 * step, 0.3); // picture
    EXPECT_NEAR(depthStepsInFront({-2.0f, 2.4f, zc - 0.95f}) - wall, step, 0.3);
    EXPECT_NEAR(depthStepsInFront({-2.0f, 2.25f, zc}, plateRect(FIXTURE_PICTURE, 0)) - wall,
                2 * step, 0.3);
}

// Labels stand on their baselines, centred over their fixture, as wide as their text at a tenth
// of a room unit per glyph unit.
TEST_F(RoomContentsFrame, LabelsStandOnTheirBaselinesAtATenthOfTheGlyphSize) {
    resetGalleryState();
    const std::string longName = std::string(30, 'W') + ".BMP";
    stageNames({"HELLO.BMP", longName}, &pictureNames, &pictureNamePool, &pictureCount);
    stageNames({"HALL"}, &folderNames, &folderNamePool, &folderCount);
    hasParentDoor = true;
    buildContents();
    // With no light and no ambient, only a label's emission gives its vertices a colour.
    glPushAttrib(GL_LIGHTING_BIT);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHT1);
    const GLfloat none[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
    const auto primitives = captureFeedback([] { glCallList(roomContentsList()); });
    glPopAttrib();

    auto inkOf = [&primitives](float wallX, float centreZ) {
        std::vector<FeedbackVertex> ink;
        for (const FeedbackPrimitive &p : primitives)
            for (const FeedbackVertex &v : p.vertices)
                if (v.r > 0.25f && std::fabs(v.x - wallX) < 1e-3f &&
                    std::fabs(v.z - centreZ) < 1.2f)
                    ink.push_back(v);
        return ink;
    };
    struct Label {
        const char *text;
        float wallX, centreZ, baseline;
    };
    for (const Label label : {Label{"HELLO.BMP", -2.0f, slotCenterZ(0), 2.25f},
                              Label{"HALL", 2.0f, slotCenterZ(1), 1.7f}}) {
        SCOPED_TRACE(label.text);
        const std::vector<FeedbackVertex> ink = inkOf(label.wallX, label.centreZ);
        ASSERT_FALSE(ink.empty());
        float advance = 0.0f;
        for (const char *c = label.text; *c != '\0'; c++)
            advance += glyphMetrics[static_cast<unsigned char>(*c)].cellIncX;
        float low = 1e9f, near = -1e9f, far = 1e9f;
        for (const FeedbackVertex &v : ink)
            low = std::min(low, v.y), near = std::max(near, v.z), far = std::min(far, v.z);
        EXPECT_NEAR(low, label.baseline, 0.004f);
        EXPECT_NEAR((near + far) / 2.0f, label.centreZ, 0.015f);
        EXPECT_GT(near - far, 0.9f * 0.1f * advance);
        EXPECT_LT(near - far, 0.1f * advance);
    }

    // A name too long for the plate keeps the letters that fit in 20 glyph units, the last three
    // turned to dots, and is centred on the width of the letters kept: it starts half of that
    // before the centre (the near end for a viewer facing the picture wall).
    const float advanceW = glyphMetrics[static_cast<unsigned char>('W')].cellIncX;
    ASSERT_GT(advanceW, glyphMetrics[static_cast<unsigned char>('.')].cellIncX);
    const float kept = std::floor(20.0f / advanceW) * advanceW;
    float start = -1e9f;
    for (const FeedbackVertex &v : inkOf(-2.0f, slotCenterZ(1)))
        start = std::max(start, v.z);
    EXPECT_NEAR(start, slotCenterZ(1) + 0.1f * kept / 2.0f, 0.01f);
}

// The outline advance the font service gives a character, apart from the text module.
float serviceOutlineAdvance(uint32_t code) {
    static GlyphOutline outline;
    Font *font = createFont("Arial", -12, 700);
    EXPECT_NE(font, nullptr);
    EXPECT_TRUE(getGlyphOutline(font, static_cast<int>(code), &outline));
    releaseFont(font);
    return outline.advance;
}

// A Japanese picture name and a Russian folder name hang as glyphs of their own, one for each
// character, each in its own advance, the label centred on their sum.
TEST_F(RoomContentsFrame, LabelsInAnyScriptShowEveryCharacterInItsAdvance) {
    resetGalleryState();
    const char *const photo = "\xE5\x86\x99\xE7\x9C\x9F.jpg";                      // 写真.jpg
    const char *const moscow = "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0"; // Москва
    stageNames({photo}, &pictureNames, &pictureNamePool, &pictureCount);
    stageNames({moscow}, &folderNames, &folderNamePool, &folderCount);
    hasParentDoor = true;
    buildContents();
    glPushAttrib(GL_LIGHTING_BIT);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHT1);
    const GLfloat none[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
    const auto primitives = captureFeedback([] { glCallList(roomContentsList()); });
    glPopAttrib();

    struct Label {
        const char *text;
        std::vector<uint32_t> codes;
        float wallX, centreZ;
        float direction; // the way the text runs along z
    };
    for (const Label &label :
         {Label{photo, {0x5199, 0x771F, '.', 'j', 'p', 'g'}, -2.0f, slotCenterZ(0), -1.0f},
          Label{moscow, {0x41C, 0x43E, 0x441, 0x43A, 0x432, 0x430}, 2.0f, slotCenterZ(1), 1.0f}}) {
        SCOPED_TRACE(label.text);
        const std::vector<uint32_t> &codes = label.codes;
        const int count = static_cast<int>(codes.size());
        std::vector<float> pens = {0.0f};
        for (int i = 0; i < count; i++)
            pens.push_back(pens.back() + (codes[i] < 256 ? glyphMetrics[codes[i]].cellIncX
                                                         : serviceOutlineAdvance(codes[i])));
        const float start = label.centreZ - label.direction * 0.1f * pens.back() / 2.0f;
        std::vector<int> perCharacter(count, 0);
        float firstInk = 1e9f, lastInk = -1e9f; // in glyph units from the label's start
        for (const FeedbackPrimitive &p : primitives) {
            float x = 0.0f, z = 0.0f, red = 0.0f;
            for (const FeedbackVertex &v : p.vertices)
                x += v.x, z += v.z, red += v.r;
            const float n = static_cast<float>(p.vertices.size());
            if (n == 0.0f || red / n < 0.25f || std::fabs(x / n - label.wallX) > 1e-3f ||
                std::fabs(z / n - label.centreZ) > 1.2f)
                continue;
            for (const FeedbackVertex &v : p.vertices) {
                firstInk = std::min(firstInk, (v.z - start) * label.direction / 0.1f);
                lastInk = std::max(lastInk, (v.z - start) * label.direction / 0.1f);
            }
            const float pen = (z / n - start) * label.direction / 0.1f;
            ASSERT_GE(pen, 0.0f);
            ASSERT_LE(pen, pens.back());
            for (int i = 0; i < count; i++)
                if (pen >= pens[i] && pen < pens[i + 1])
                    perCharacter[i]++;
        }
        for (int i = 0; i < count; i++)
            EXPECT_GT(perCharacter[i], 0) << "character " << i;
        // The ink fills the advances, but for the first and last side bearings.
        EXPECT_GE(firstInk, -0.01f);
        EXPECT_LT(firstInk, 0.15f);
        EXPECT_LE(lastInk, pens.back() + 0.01f);
        EXPECT_GT(lastInk, pens.back() - 0.15f);
    }
}
