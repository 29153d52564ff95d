// room_lists_test.cpp -- the room shell: its faces, strips, normals, texture coordinates and
// textures.
#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>
#include <gtest/gtest.h>

#include "gl/gl_feedback.h"
#include "gl/gl_test_context.h"
#include "render/texture_names.h"
#include "render/room_lists.h"

namespace {

struct Face {
    const char *name;
    int trianglesPerStrip;
    int strips;
    int rowAxis; // the axis the strips advance along: 1 for y, 2 for z
    float rowStart;
    float rowStep;
    ProbedNormal normal;
    int sAxis, tAxis; // texture coordinates are these two room coordinates
};

// Picture wall, door wall, floor, ceiling, previous-room and next-room end walls, in order.
const Face faces[6] = {
    {"picture wall", 10, 50, 2, 12.5f, -0.5f, {-1, 0, 0}, 2, 1},
    {"door wall", 10, 50, 2, 12.5f, -0.5f, {1, 0, 0}, 2, 1},
    {"floor", 16, 50, 2, 12.5f, -0.5f, {0, 1, 0}, 0, 2},
    {"ceiling", 16, 50, 2, 12.5f, -0.5f, {0, -1, 0}, 0, 2},
    {"previous end wall", 16, 5, 1, 0.0f, 0.5f, {0, 0, -1}, 0, 1},
    {"next end wall", 16, 5, 1, 0.0f, 0.5f, {0, 0, 1}, 0, 1},
};

float coordinate(const FeedbackVertex &vertex, int axis) {
    return axis == 0 ? vertex.x : axis == 1 ? vertex.y : vertex.z;
}

bool near(float a, float b) {
    return std::fabs(a - b) < 1e-3f;
}

// The face whose plane holds all three corners of a triangle, or -1.
int faceOf(const FeedbackPrimitive &triangle) {
    const float planes[6][2] = {{0, -2}, {0, 2}, {1, 0}, {1, 2.5f}, {2, 12.5f}, {2, -12.5f}};
    for (int face = 0; face < 6; ++face) {
        bool inPlane = true;
        for (const FeedbackVertex &vertex : triangle.vertices)
            inPlane = inPlane && near(coordinate(vertex, planes[face][0]), planes[face][1]);
        if (inPlane)
            return face;
    }
    return -1;
}

GLuint compileShell() {
    GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    buildRoomShell(4.0f, 2.5f, 25.0f);
    glEndList();
    return list;
}

TEST(RoomShell, FacesComeInOrderAsRowStripsWithTheirNormalsAndTextureAxes) {
    ASSERT_TRUE(makeTestGLContextCurrent(64, 64));
    // Drawn immediately rather than replayed from a list: list compilers may join strips.
    GLfloat modelviewAfter[16] = {};
    glNormal3f(0, 0, 0);
    useNormalProbeLights();
    auto primitives = captureFeedback([&] {
        buildRoomShell(4.0f, 2.5f, 25.0f);
        glGetFloatv(GL_MODELVIEW_MATRIX, modelviewAfter);
    });
    dropNormalProbeLights();

    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(modelviewAfter[i], i % 5 == 0 ? 1.0f : 0.0f) << "model-view left changed";

    size_t at = 0;
    for (const Face &face : faces) {
        SCOPED_TRACE(face.name);
        const int count = face.strips * face.trianglesPerStrip;
        for (int i = 0; i < count; ++i, ++at) {
            ASSERT_LT(at, primitives.size());
            const FeedbackPrimitive &triangle = primitives[at];
            ASSERT_EQ(triangle.vertices.size(), 3u);
            ASSERT_EQ(faceOf(triangle), &face - faces) << "triangle " << i;
            // Every triangle of strip k lies within row k of the face.
            const int strip = i / face.trianglesPerStrip;
            const float rowA = face.rowStart + face.rowStep * strip;
            const float rowB = rowA + face.rowStep;
            for (const FeedbackVertex &vertex : triangle.vertices) {
                const float along = coordinate(vertex, face.rowAxis);
                ASSERT_TRUE(near(along, rowA) || near(along, rowB))
                    << "triangle " << i << " at " << along << ", expected row " << strip;
                const ProbedNormal normal = probedNormal(vertex);
                ASSERT_EQ(normal.x, face.normal.x);
                ASSERT_EQ(normal.y, face.normal.y);
                ASSERT_EQ(normal.z, face.normal.z);
                ASSERT_NEAR(vertex.s, coordinate(vertex, face.sAxis), 1e-3);
                ASSERT_NEAR(vertex.t, coordinate(vertex, face.tAxis), 1e-3);
            }
        }
    }
    EXPECT_EQ(at, primitives.size()) << "more drawing than the six faces";

    // The picture wall starts at its bottom corner by the previous-room end.
    bool startCorner = false;
    for (const FeedbackVertex &vertex : primitives.at(0).vertices)
        startCorner =
            startCorner || (near(vertex.x, -2) && near(vertex.y, 0) && near(vertex.z, 12.5f) &&
                            near(vertex.s, 12.5f) && near(vertex.t, 0));
    EXPECT_TRUE(startCorner);
}

void fillTexture(GLuint name, unsigned char r, unsigned char g, unsigned char b) {
    const unsigned char texels[4 * 4] = {r, g, b, 255, r, g, b, 255, r, g, b, 255, r, g, b, 255};
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
}

TEST(RoomShell, WallsFloorAndCeilingWearTheirOwnTextures) {
    ASSERT_TRUE(makeTestGLContextCurrent(200, 150));
    glGenTextures(TEXTURE_COUNT, textureNames);
    fillTexture(textureNames[TEX_WALL], 255, 0, 0);
    fillTexture(textureNames[TEX_FLOOR], 0, 255, 0);
    fillTexture(textureNames[TEX_CEILING], 0, 0, 255);
    const GLuint list = compileShell();

    glViewport(0, 0, 200, 150);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 200.0 / 150.0, 0.1, 30.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, -0.5f, -11.9f); // eye at the previous-room end, looking down the room
    glDisable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_TEXTURE_2D);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glCallList(list);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);

    auto pixel = [](int x, int y) {
        unsigned char rgba[4] = {};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return (rgba[0] > 200 ? 0x100 : 0) | (rgba[1] > 200 ? 0x010 : 0) |
               (rgba[2] > 200 ? 0x001 : 0);
    };
    EXPECT_EQ(pixel(2, 75), 0x100) << "picture wall";
    EXPECT_EQ(pixel(197, 75), 0x100) << "door wall";
    EXPECT_EQ(pixel(100, 75), 0x100) << "far end wall";
    EXPECT_EQ(pixel(100, 2), 0x010) << "floor";
    EXPECT_EQ(pixel(100, 147), 0x001) << "ceiling";

    // From the far end, looking back.
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    glTranslatef(0.0f, -0.5f, 11.9f);
    glCallList(list);
    glDisable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    EXPECT_EQ(pixel(100, 75), 0x100) << "near end wall";

    glDeleteLists(list, 1);
    glDeleteTextures(TEXTURE_COUNT, textureNames);
}

} // namespace
