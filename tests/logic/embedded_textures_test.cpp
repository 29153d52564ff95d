// embedded_textures_test.cpp -- loading embedded PNG images into the bound DevIL image.
#include <gtest/gtest.h>

#include <cstring>

#include "fakes/fake_embedded_resources.h"
#include "fakes/fake_message_box.h"
#include "pictures/embedded_artwork.h"
#include "platform/image_library.h"

namespace {
class EmbeddedTextures : public ::testing::Test {
  protected:
    void SetUp() override {
        ilInit();
        ilEnable(IL_FORMAT_SET);
        ilSetInteger(IL_FORMAT_MODE, IL_RGBA);
        ilGenImages(1, &image);
        ilBindImage(image);
        resetFakeMessageBoxes();
        resetFakeEmbeddedResources();
    }
    void TearDown() override {
        ilDeleteImages(1, &image);
        resetFakeMessageBoxes();
        resetFakeEmbeddedResources();
    }
    ILuint image = 0;
};

// A 3 x 2 image of recognisable bytes in the bound image.
void fillMarkerImage(ILubyte *bytes) {
    for (int i = 0; i < 3 * 2 * 4; ++i)
        bytes[i] = static_cast<ILubyte>(i * 7 + 1);
    ilTexImage(3, 2, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, bytes);
}
} // namespace

TEST_F(EmbeddedTextures, EachFailedStepShowsItsOwnTextAndLeavesTheImageAlone) {
    const struct {
        FakeResourceStep step;
        const char *text;
    } cases[] = {
        {FAKE_RESOURCE_FIND, "Unable to load textures"},
        {FAKE_RESOURCE_LOAD, "Unable to access memory to load textures"},
        {FAKE_RESOURCE_LOCK, "Unable to lock memory to load textures"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        resetFakeEmbeddedResources();
        resetFakeMessageBoxes();
        ILubyte marker[24];
        fillMarkerImage(marker);
        failFakeResource(c.step, IDR_TEX_DOOR);
        EXPECT_FALSE(loadTextureResource(IDR_TEX_DOOR));
        ASSERT_EQ(shownMessageBoxes.size(), 1u);
        EXPECT_EQ(shownMessageBoxes[0].text, c.text);
        EXPECT_EQ(shownMessageBoxes[0].title, "Initialization Failed");
        EXPECT_EQ(shownMessageBoxes[0].kind, MESSAGE_BOX_ERROR);
        EXPECT_EQ(ilGetInteger(IL_CUR_IMAGE), static_cast<ILint>(image));
        EXPECT_EQ(ilGetInteger(IL_IMAGE_WIDTH), 3);
        EXPECT_EQ(ilGetInteger(IL_IMAGE_HEIGHT), 2);
        EXPECT_EQ(std::memcmp(ilGetData(), marker, sizeof marker), 0);
    }
}

TEST_F(EmbeddedTextures, UnknownIdIsNotFoundWhileAFailureScriptedForOneIdSparesOthers) {
    EXPECT_FALSE(loadTextureResource(5));
    ASSERT_EQ(shownMessageBoxes.size(), 1u);
    EXPECT_EQ(shownMessageBoxes[0].text, "Unable to load textures");

    resetFakeMessageBoxes();
    failFakeResource(FAKE_RESOURCE_LOCK, IDR_TEX_PLATE);
    EXPECT_TRUE(loadTextureResource(IDR_TEX_FRAME));
    EXPECT_TRUE(shownMessageBoxes.empty());
    EXPECT_FALSE(loadTextureResource(IDR_TEX_PLATE));
}

TEST_F(EmbeddedTextures, SecondLoadReplacesTheFirstAtItsOwnSize) {
    ASSERT_TRUE(loadTextureResource(IDR_TEX_DOOR));
    EXPECT_EQ(ilGetInteger(IL_IMAGE_WIDTH), 512);
    ASSERT_TRUE(loadTextureResource(IDR_TEX_PROGRESS_FILL));
    EXPECT_EQ(ilGetInteger(IL_IMAGE_WIDTH), 32);
    EXPECT_EQ(ilGetInteger(IL_IMAGE_HEIGHT), 32);
    ASSERT_TRUE(loadTextureResource(IDR_TEX_FRAME));
    EXPECT_EQ(ilGetInteger(IL_IMAGE_WIDTH), 48);
    EXPECT_EQ(ilGetInteger(IL_IMAGE_HEIGHT), 48);
    EXPECT_EQ(ilGetInteger(IL_CUR_IMAGE), static_cast<ILint>(image));
    EXPECT_TRUE(shownMessageBoxes.empty());
}

TEST_F(EmbeddedTextures, RgbAndRgbaImagesBothArriveAsFourByteRgba) {
    ASSERT_TRUE(loadTextureResource(IDR_TEX_FRAME));
    EXPECT_EQ(ilGetInteger(IL_IMAGE_FORMAT), IL_RGBA);
    EXPECT_EQ(ilGetInteger(IL_IMAGE_BPP), 4);
    EXPECT_EQ(ilGetInteger(IL_IMAGE_TYPE), IL_UNSIGNED_BYTE);
    const ILubyte *frame = ilGetData();
    for (int i = 0; i < 48 * 48; ++i)
        ASSERT_EQ(frame[i * 4 + 3], 255) << "pixel " << i;

    ASSERT_TRUE(loadTextureResource(IDR_TEX_DOOR));
    EXPECT_EQ(ilGetInteger(IL_IMAGE_FORMAT), IL_RGBA);
    EXPECT_EQ(ilGetInteger(IL_IMAGE_BPP), 4);
    const ILubyte *door = ilGetData();
    const int row = 300 * 512 * 4;
    EXPECT_EQ(door[row + 80 * 4 + 3], 0);
    EXPECT_EQ(door[row + 81 * 4 + 3], 255);
    EXPECT_EQ(door[row + 422 * 4 + 3], 255);
    EXPECT_EQ(door[row + 423 * 4 + 3], 0);
}
