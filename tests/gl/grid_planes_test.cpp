// grid_planes_test.cpp -- the vertex streams, texture axes and normals of the three grids.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "gl/gl_feedback.h"
#include "gl/gl_test_context.h"
#include "render/grid_planes.h"

namespace {

using GridFunction = bool (*)(float, float, float, float, int, int, bool, bool, bool);

struct Strip {
    std::vector<FeedbackVertex> vertices;
};

bool samePoint(const FeedbackVertex &a, const FeedbackVertex &b) {
    return a.x == b.x && a.y == b.y && a.z == b.z && a.s == b.s && a.t == b.t;
}

// Rebuilds the line strips from feedback segments: a reset token, or a segment that does not
// continue from the end of the previous one, starts a new strip.
std::vector<Strip> lineStrips(const std::vector<FeedbackPrimitive> &primitives) {
    std::vector<Strip> strips;
    for (const FeedbackPrimitive &primitive : primitives) {
        if (primitive.token != GL_LINE_RESET_TOKEN && primitive.token != GL_LINE_TOKEN) {
            ADD_FAILURE() << "unexpected feedback token " << primitive.token;
            continue;
        }
        if (primitive.token == GL_LINE_RESET_TOKEN || strips.empty() ||
            !samePoint(strips.back().vertices.back(), primitive.vertices[0]))
            strips.push_back({primitive.vertices});
        else
            strips.back().vertices.push_back(primitive.vertices[1]);
    }
    return strips;
}

void expectVertex(const FeedbackVertex &vertex, float x, float y, float z, float s, float t) {
    EXPECT_NEAR(vertex.x, x, 1e-4);
    EXPECT_NEAR(vertex.y, y, 1e-4);
    EXPECT_NEAR(vertex.z, z, 1e-3);
    EXPECT_NEAR(vertex.s, s, 1e-5);
    EXPECT_NEAR(vertex.t, t, 1e-5);
}

void currentNormal(GLfloat normal[3]) {
    GLfloat value[4] = {};
    glGetFloatv(GL_CURRENT_NORMAL, value);
    for (int i = 0; i < 3; ++i)
        normal[i] = value[i];
}

class GridPlanes : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(makeTestGLContextCurrent(64, 64));
        glDisable(GL_LIGHTING);
        while (glGetError() != GL_NO_ERROR) {
        }
    }
};

TEST_F(GridPlanes, ZeroOrNegativeRowsIssueNoCallAtAll) {
    for (GridFunction grid : {drawGridXZ, drawGridYZ, drawGridXY}) {
        glNormal3f(0.25f, 0.5f, 0.75f);
        bool results[3] = {};
        auto primitives = captureFeedback([&] {
            results[0] = grid(0, 0, 1, 1, 0, 4, true, true, false);
            results[1] = grid(0, 0, 1, 1, 4, 0, true, true, false);
            results[2] = grid(0, 0, 1, 1, 4, -3, true, true, false);
        });
        EXPECT_FALSE(results[0]);
        EXPECT_FALSE(results[1]);
        EXPECT_TRUE(results[2]);
        EXPECT_TRUE(primitives.empty());
        GLfloat normal[3];
        currentNormal(normal);
        EXPECT_FLOAT_EQ(normal[0], 0.25f) << "a normal was sent";
        EXPECT_FLOAT_EQ(normal[1], 0.5f);
        EXPECT_FLOAT_EQ(normal[2], 0.75f);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

TEST_F(GridPlanes, NegativeColumnsGiveEmptyStripsThatStillSetTheNormal) {
    glNormal3f(0.25f, 0.5f, 0.75f);
    bool result = false;
    auto primitives =
        captureFeedback([&] { result = drawGridXY(0, 0, 1, 1, -2, 3, false, true, false); });
    EXPECT_TRUE(result);
    EXPECT_TRUE(primitives.empty());
    GLfloat normal[3];
    currentNormal(normal);
    EXPECT_FLOAT_EQ(normal[0], 0.0f);
    EXPECT_FLOAT_EQ(normal[1], 0.0f);
    EXPECT_FLOAT_EQ(normal[2], -1.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "unbalanced glBegin/glEnd";
}

TEST_F(GridPlanes, FloorGridZigZagsRowByRowFromTheStartCorner) {
    auto strips = lineStrips(
        captureFeedback([] { drawGridXZ(-2, 12.5f, 2, -12.5f, 8, 50, true, true, true); }));
    ASSERT_EQ(strips.size(), 50u);
    expectVertex(strips[0].vertices[0], -2, 0, 12.5f, -2, 12.5f);
    expectVertex(strips[0].vertices[1], -2, 0, 12, -2, 12);
    for (size_t row = 0; row < strips.size(); ++row) {
        const auto &vertices = strips[row].vertices;
        ASSERT_EQ(vertices.size(), 18u) << "row " << row;
        for (size_t i = 0; i < vertices.size(); ++i) {
            const float x = -2.0f + 0.5f * static_cast<float>(i / 2);
            const float z = 12.5f - 0.5f * static_cast<float>(row + i % 2);
            SCOPED_TRACE(testing::Message() << "row " << row << " vertex " << i);
            expectVertex(vertices[i], x, 0, z, x, z);
        }
    }
}

TEST_F(GridPlanes, TriangleStripsUnlessLinesAreAsked) {
    auto primitives =
        captureFeedback([] { drawGridXZ(-2, 12.5f, 2, -12.5f, 8, 50, true, true, false); });
    ASSERT_EQ(primitives.size(), 50u * 16u);
    for (const FeedbackPrimitive &primitive : primitives) {
        EXPECT_EQ(primitive.token, static_cast<GLenum>(GL_POLYGON_TOKEN));
        EXPECT_EQ(primitive.vertices.size(), 3u);
    }
}

struct PlaneCase {
    const char *name;
    GridFunction grid;
    float uStart, vStart, uEnd, vEnd;
    int columns, rows;
    bool normalFlag;
    ProbedNormal normal;
    float first[5];  // x y z s t of the first vertex
    float second[5]; // and of the second (the far edge of the first row)
};

TEST_F(GridPlanes, EachPlaneHasItsAxesTextureOrderAndNormalSense) {
    const PlaneCase cases[] = {
        {"XZ set",
         drawGridXZ,
         -2,
         12.5f,
         2,
         -12.5f,
         8,
         50,
         true,
         {0, 1, 0},
         {-2, 0, 12.5f, -2, 12.5f},
         {-2, 0, 12, -2, 12}},
        {"XZ clear",
         drawGridXZ,
         -2,
         12.5f,
         2,
         -12.5f,
         8,
         50,
         false,
         {0, -1, 0},
         {-2, 0, 12.5f, -2, 12.5f},
         {-2, 0, 12, -2, 12}},
        // The YZ plane swaps the texture axes and inverts the flag's sense.
        {"YZ set",
         drawGridYZ,
         0,
         12.5f,
         2.5f,
         -12.5f,
         5,
         50,
         true,
         {-1, 0, 0},
         {0, 0, 12.5f, 12.5f, 0},
         {0, 0, 12, 12, 0}},
        {"YZ clear",
         drawGridYZ,
         0,
         12.5f,
         2.5f,
         -12.5f,
         5,
         50,
         false,
         {1, 0, 0},
         {0, 0, 12.5f, 12.5f, 0},
         {0, 0, 12, 12, 0}},
        {"XY set",
         drawGridXY,
         -2,
         0,
         2,
         2.5f,
         8,
         5,
         true,
         {0, 0, 1},
         {-2, 0, 0, -2, 0},
         {-2, 0.5f, 0, -2, 0.5f}},
        {"XY clear",
         drawGridXY,
         -2,
         0,
         2,
         2.5f,
         8,
         5,
         false,
         {0, 0, -1},
         {-2, 0, 0, -2, 0},
         {-2, 0.5f, 0, -2, 0.5f}},
    };
    for (const PlaneCase &c : cases) {
        SCOPED_TRACE(c.name);
        glNormal3f(0, 0, 0); // a normal sent too late would leave the first vertices unlit
        useNormalProbeLights();
        auto strips = lineStrips(captureFeedback([&] {
            c.grid(c.uStart, c.vStart, c.uEnd, c.vEnd, c.columns, c.rows, c.normalFlag, true, true);
        }));
        dropNormalProbeLights();
        ASSERT_EQ(strips.size(), static_cast<size_t>(c.rows));
        ASSERT_EQ(strips[0].vertices.size(), static_cast<size_t>(2 * (c.columns + 1)));
        expectVertex(strips[0].vertices[0], c.first[0], c.first[1], c.first[2], c.first[3],
                     c.first[4]);
        expectVertex(strips[0].vertices[1], c.second[0], c.second[1], c.second[2], c.second[3],
                     c.second[4]);
        for (const Strip &strip : strips) {
            for (const FeedbackVertex &vertex : strip.vertices) {
                ProbedNormal normal = probedNormal(vertex);
                ASSERT_EQ(normal.x, c.normal.x);
                ASSERT_EQ(normal.y, c.normal.y);
                ASSERT_EQ(normal.z, c.normal.z);
            }
        }
    }
}

TEST_F(GridPlanes, UntexturedGridSendsNoTextureCoordinates) {
    glTexCoord2f(7, 9);
    auto strips =
        lineStrips(captureFeedback([] { drawGridXY(0, 0, 1, 1, 1, 1, true, false, true); }));
    ASSERT_EQ(strips.size(), 1u);
    ASSERT_EQ(strips[0].vertices.size(), 4u);
    expectVertex(strips[0].vertices[3], 1, 1, 0, 7, 9);
}

} // namespace
