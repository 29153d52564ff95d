// picture_decoder_test.cpp -- pictures decoded straight to their shown size give the same
// thumbnail geometry as a full-size decode shrunk by the thumbnail composer.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "pictures/picture_decoder.h"
#include "pictures/thumbnails.h"
#include "support/temp_tree.h"
#include "platform/image_library.h"

namespace {

// The alpha channel of a composed thumbnail: where its frame and picture lie.
std::vector<ILubyte> alphaOf(ILuint image) {
    ilBindImage(image);
    const ILubyte *data = ilGetData();
    std::vector<ILubyte> alpha(THUMBNAIL_SIZE * THUMBNAIL_SIZE);
    for (size_t i = 0; i < alpha.size(); ++i)
        alpha[i] = data[i * 4 + 3];
    return alpha;
}

TEST(PictureDecoder, ShrinkOnLoadPlacesPicturesLikeTheFullDecode) {
    ilInit();
    iluInit();
    ilEnable(IL_FORMAT_SET);
    ilSetInteger(IL_FORMAT_MODE, IL_RGBA);
    ilEnable(IL_FILE_OVERWRITE);
    ILuint images[4]; // destination, frame, picture, scratch
    ilGenImages(4, images);
    ilBindImage(images[0]);
    ASSERT_TRUE(ilTexImage(THUMBNAIL_SIZE, THUMBNAIL_SIZE, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, 0));
    ilBindImage(images[1]);
    ASSERT_TRUE(ilTexImage(48, 48, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, nullptr));
    ASSERT_TRUE(clearBoundImage(255));
    std::string folder = makeTempFolder();

    struct Size {
        ILuint ws, hs, w, h;
    };
    const Size sizes[] = {{1024, 768, 480, 360},
                          {600, 800, 360, 480},
                          {3000, 2000, 480, 320},
                          {100, 50, 100, 50},
                          {479, 100, 479, 100}};
    for (const Size &size : sizes) {
        std::string path =
            folder + "/" + std::to_string(size.ws) + "x" + std::to_string(size.hs) + ".jpg";
        SCOPED_TRACE(path);
        ilBindImage(images[2]);
        ASSERT_TRUE(ilTexImage(size.ws, size.hs, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, nullptr));
        ASSERT_TRUE(ilSaveImage(path.c_str()));

        ASSERT_TRUE(ilLoadImage(path.c_str()));
        ASSERT_TRUE(makeThumbnail(images[0], images[2], images[1], images[3]));
        std::vector<ILubyte> fullDecode = alphaOf(images[0]);

        Picture picture;
        ASSERT_EQ(decodePicture(path.c_str(), 480, 480, &picture), PICTURE_DECODED);
        EXPECT_EQ(picture.width, size.w);
        EXPECT_EQ(picture.height, size.h);
        ilBindImage(images[2]);
        ASSERT_TRUE(ilTexImage(picture.width, picture.height, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE,
                               picture.pixels.data()));
        ASSERT_TRUE(makeThumbnail(images[0], images[2], images[1], images[3]));
        EXPECT_TRUE(alphaOf(images[0]) == fullDecode);
    }
    ilDeleteImages(4, images);
    removeTree(folder);
}

} // namespace
