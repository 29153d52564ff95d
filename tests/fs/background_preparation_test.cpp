// background_preparation_test.cpp -- the background on real files: the rooms asked for and the
// faced door's room end up decoded in the store, thumbnails follow, and its one named thread
// lives only while its owner wants it.
#include <gtest/gtest.h>
#include <pthread.h>
#include <string>
#include <vector>

#include "loading/background_preparation.h"
#include "loading/prepared_pictures.h"
#include "platform/file_stamp.h"
#include "platform/thumbnail_cache.h"
#include "support/temp_tree.h"
#include "support/test_pictures.h"
#include "support/thread_names.h"

namespace {

std::vector<std::string> doorRoom;
std::string listerThread; // written on the background, read after waiting for it

std::vector<std::string> listDoorRoom(const std::string &) {
    char name[16] = {};
    pthread_getname_np(pthread_self(), name, sizeof name);
    listerThread = name;
    return doorRoom;
}

class BackgroundPreparationTest : public ::testing::Test {
  protected:
    std::string folder = makeTempFolder();
    std::vector<std::string> pictures;

    void SetUp() override {
        clearPictureStore(&decodedPictures);
        for (int i = 0; i < 3; ++i) {
            pictures.push_back(folder + "/picture" + std::to_string(i) + ".png");
            ASSERT_TRUE(writeSolidPng(pictures.back(), 640, 480, 200, (unsigned char)i, 0));
        }
    }
    void TearDown() override {
        clearPictureStore(&decodedPictures);
        removeTree(folder);
    }

    bool prepared(const std::string &path) {
        FileStamp stamp;
        return readFileStamp(path.c_str(), &stamp) &&
               holdsPicture(&decodedPictures, path.c_str(), stamp);
    }
};

} // namespace

TEST_F(BackgroundPreparationTest, RoomsAskedForThenTheDoorsRoomArePreparedOnItsNamedThread) {
    BackgroundPreparation background;
    EXPECT_EQ(threadsNamed("qm-prepare"), 0) << "started before there was work";
    doorRoom = {pictures[2]};
    prepareRooms({pictures[0], pictures[1]}, folder, listDoorRoom, 480, 480);
    waitForRoomPreparation();

    EXPECT_EQ(listerThread, "qm-prepare");
    EXPECT_EQ(roomsBeingPrepared(), pictures);
    for (const std::string &path : pictures)
        EXPECT_TRUE(prepared(path)) << path;
    // Decoded from their files, so their thumbnails were written afterwards.
    FileStamp stamp;
    CachedThumbnail thumbnail;
    ASSERT_TRUE(readFileStamp(pictures[0].c_str(), &stamp));
    EXPECT_EQ(readCachedThumbnail(pictures[0].c_str(), stamp, &thumbnail), THUMBNAIL_FOUND);
    EXPECT_EQ(threadsNamed("qm-prepare"), 1);
}

TEST_F(BackgroundPreparationTest, ItsThreadLivesOnlyWhileItsOwnerWantsIt) {
    {
        BackgroundPreparation background;
        prepareRooms({pictures[0]}, "", nullptr, 480, 480);
        waitForRoomPreparation();
        EXPECT_EQ(threadsNamed("qm-prepare"), 1);
        stopRoomPreparation();
        EXPECT_EQ(threadsNamed("qm-prepare"), 0);

        prepareRooms({pictures[1]}, "", nullptr, 480, 480);
        waitForRoomPreparation();
        EXPECT_TRUE(prepared(pictures[1]));
        EXPECT_EQ(threadsNamed("qm-prepare"), 1);
    }
    EXPECT_EQ(threadsNamed("qm-prepare"), 0) << "not joined by its owner";

    // With no owner nothing is prepared, and no thread is started.
    prepareRooms({pictures[2]}, "", nullptr, 480, 480);
    waitForRoomPreparation();
    EXPECT_FALSE(prepared(pictures[2]));
    EXPECT_TRUE(roomsBeingPrepared().empty());
    EXPECT_EQ(threadsNamed("qm-prepare"), 0);
}
