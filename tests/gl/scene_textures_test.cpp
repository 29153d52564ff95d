// scene_textures_test.cpp -- the seven scene textures: filters, wrapping, sizes, the door's
// alpha and row order, and what a failed load leaves behind.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "gallery/display_settings.h"
#include "fakes/fake_embedded_resources.h"
#include "fakes/fake_message_box.h"
#include "gl/gl_test_context.h"
#include "render/texture_names.h"
#include "pictures/embedded_artwork.h"
#include "render/scene_textures.h"
#include "support/output_capture.h"
#include "platform/image_library.h"

namespace {
const int sceneEntries[] = {TEX_WALL,          TEX_CEILING,        TEX_FLOOR, TEX_DOOR,
                            TEX_PROGRESS_FILL, TEX_PROGRESS_TRACK, TEX_PLATE};

class SceneTextures : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(makeTestGLContextCurrent(64, 64));
        ilInit();
        ilEnable(IL_FORMAT_SET);
        ilSetInteger(IL_FORMAT_MODE, IL_RGBA);
        glGenTextures(TEXTURE_COUNT, textureNames);
        resetDisplaySettings();
        resetFakeMessageBoxes();
        resetFakeEmbeddedResources();
    }
    void TearDown() override {
        glDeleteTextures(TEXTURE_COUNT, textureNames);
        resetDisplaySettings();
        resetFakeMessageBoxes();
        resetFakeEmbeddedResources();
    }
};

GLint textureParameter(int entry, GLenum name) {
    glBindTexture(GL_TEXTURE_2D, textureNames[entry]);
    GLint value = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

GLint levelParameter(int entry, GLenum name) {
    glBindTexture(GL_TEXTURE_2D, textureNames[entry]);
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, name, &value);
    return value;
}

// How many DevIL images exist among the first names.
int liveImages() {
    int live = 0;
    for (ILuint name = 1; name < 64; ++name)
        live += ilIsImage(name) ? 1 : 0;
    return live;
}
} // namespace

TEST_F(SceneTextures, FiltersFollowTheAntialiasLevelAndAllWrap) {
    const struct {
        int level;
        GLint filter;
    } cases[] = {
        {ANTIALIAS_LOW, GL_NEAREST}, {ANTIALIAS_MEDIUM, GL_LINEAR}, {ANTIALIAS_HIGH, GL_LINEAR}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.level);
        glDeleteTextures(TEXTURE_COUNT, textureNames);
        glGenTextures(TEXTURE_COUNT, textureNames);
        antialiasLevel = c.level;
        ASSERT_TRUE(loadSceneTextures());
        for (int entry : sceneEntries) {
            SCOPED_TRACE(entry);
            EXPECT_EQ(textureParameter(entry, GL_TEXTURE_MAG_FILTER), c.filter);
            EXPECT_EQ(textureParameter(entry, GL_TEXTURE_MIN_FILTER), c.filter);
            EXPECT_EQ(textureParameter(entry, GL_TEXTURE_WRAP_S), GL_REPEAT);
            EXPECT_EQ(textureParameter(entry, GL_TEXTURE_WRAP_T), GL_REPEAT);
        }
    }
}

TEST_F(SceneTextures, EachTextureHasItsImageSizeAndFourComponentsAndSpareEntriesStayUnused) {
    startCapture(stderr);
    bool loaded = loadSceneTextures();
    EXPECT_EQ(stopCapture(stderr), "");
    ASSERT_TRUE(loaded);
    const struct {
        int entry, size;
    } sizes[] = {{TEX_WALL, 256}, {TEX_CEILING, 256},      {TEX_FLOOR, 256},
                 {TEX_DOOR, 512}, {TEX_PROGRESS_FILL, 32}, {TEX_PROGRESS_TRACK, 32},
                 {TEX_PLATE, 256}};
    for (const auto &s : sizes) {
        SCOPED_TRACE(s.entry);
        EXPECT_EQ(levelParameter(s.entry, GL_TEXTURE_WIDTH), s.size);
        EXPECT_EQ(levelParameter(s.entry, GL_TEXTURE_HEIGHT), s.size);
        EXPECT_EQ(levelParameter(s.entry, GL_TEXTURE_INTERNAL_FORMAT), 4); // four components
    }
    // Never bound, so never made into texture objects.
    EXPECT_FALSE(glIsTexture(textureNames[4]));
    EXPECT_FALSE(glIsTexture(textureNames[18]));
    EXPECT_TRUE(shownMessageBoxes.empty());
}

// DevIL hands over a decoded PNG with its top row first, so texture row t = 0 is the top of
// the picture: the stone above the arch, while the last row crosses the iron door leaf.
TEST_F(SceneTextures, DoorKeepsItsAlphaAndArrivesTopRowFirst) {
    ASSERT_TRUE(loadSceneTextures());
    glBindTexture(GL_TEXTURE_2D, textureNames[TEX_DOOR]);
    std::vector<unsigned char> texels(512 * 512 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    auto texel = [&](int x, int y) { return &texels[(y * 512 + x) * 4]; };
    int wrong = 0;
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x)
            wrong += texel(x, y)[3] != ((x <= 80 || x >= 423) ? 0 : 255);
    EXPECT_EQ(wrong, 0);
    auto brightness = [&](int x, int y) {
        return texel(x, y)[0] + texel(x, y)[1] + texel(x, y)[2];
    };
    EXPECT_GT(brightness(200, 0), 3 * 140);   // pale stone
    EXPECT_LT(brightness(200, 511), 3 * 110); // dark iron
}

TEST_F(SceneTextures, MissingDoorLeavesEarlierTexturesAndNamesDoorPng) {
    failFakeResource(FAKE_RESOURCE_FIND, IDR_TEX_DOOR);
    int before = liveImages();
    startCapture(stderr);
    bool loaded = loadSceneTextures();
    EXPECT_EQ(stopCapture(stderr), "ERROR: Unable to load door.png\n");
    EXPECT_FALSE(loaded);
    ASSERT_EQ(shownMessageBoxes.size(), 1u);
    EXPECT_EQ(shownMessageBoxes[0].text, "Unable to load textures");
    for (int entry : {TEX_WALL, TEX_CEILING, TEX_FLOOR})
        EXPECT_EQ(levelParameter(entry, GL_TEXTURE_WIDTH), 256) << entry;
    for (int entry : {TEX_DOOR, TEX_PROGRESS_FILL, TEX_PROGRESS_TRACK, TEX_PLATE})
        EXPECT_FALSE(glIsTexture(textureNames[entry])) << entry;
    EXPECT_EQ(liveImages(), before);
}

TEST_F(SceneTextures, WorkImageIsDeletedWhateverRowFails) {
    const struct {
        FakeResourceStep step;
        int id;
    } failures[] = {{FAKE_RESOURCE_LOAD, IDR_TEX_WALL}, {FAKE_RESOURCE_LOCK, IDR_TEX_PLATE}};
    int before = liveImages();
    ASSERT_TRUE(loadSceneTextures());
    EXPECT_EQ(liveImages(), before);
    for (const auto &f : failures) {
        SCOPED_TRACE(f.id);
        resetFakeEmbeddedResources();
        failFakeResource(f.step, f.id);
        startCapture(stderr);
        EXPECT_FALSE(loadSceneTextures());
        EXPECT_EQ(stopCapture(stderr), "ERROR: Unable to load door.png\n");
        EXPECT_EQ(liveImages(), before);
    }
}
