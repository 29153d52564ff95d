// decode_workers_test.cpp -- the decode workers on real files: each picture lands in its own
// entry with its own outcome, and the named workers are joined however early they are left.
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

#include "loading/decode_workers.h"
#include "support/temp_tree.h"
#include "support/test_pictures.h"
#include "support/thread_names.h"

namespace {

class DecodeWorkersTest : public ::testing::Test {
  protected:
    std::string folder = makeTempFolder();
    void TearDown() override { removeTree(folder); }
};

} // namespace

TEST_F(DecodeWorkersTest, EachPictureArrivesInItsOwnEntryWithItsOwnOutcome) {
    std::vector<std::string> paths;
    for (int i = 0; i < 5; ++i) {
        paths.push_back(folder + "/wide" + std::to_string(i) + ".png");
        ASSERT_TRUE(writeSolidPng(paths.back(), 600, 300, (unsigned char)(40 * i), 0, 0));
    }
    paths.push_back(folder + "/missing.png");
    paths.push_back(folder + "/garbage.png");
    ASSERT_TRUE(makeFile(paths.back()));
    {
        DecodeWorkers workers(paths, 480, 480);
        size_t cores = std::max(2u, std::thread::hardware_concurrency());
        EXPECT_EQ(workers.workerCount(), std::min(cores, paths.size()));
        for (size_t i = 0; i < 5; ++i) {
            SCOPED_TRACE(i);
            DecodedEntry *entry = workers.wait(i);
            ASSERT_EQ(entry->result, PICTURE_DECODED);
            EXPECT_EQ(entry->path, paths[i]);
            EXPECT_EQ(entry->picture.width, 480u);
            EXPECT_EQ(entry->picture.height, 240u);
            EXPECT_EQ(entry->picture.originalWidth, 600u);
            EXPECT_EQ(entry->picture.pixels[0], 40 * i);
            EXPECT_TRUE(entry->thumbnail != nullptr);
        }
        EXPECT_EQ(workers.wait(5)->result, PICTURE_NOT_OPENED);
        EXPECT_EQ(workers.wait(6)->result, PICTURE_UNDECODABLE);
        EXPECT_FALSE(workers.wait(5)->thumbnail != nullptr ||
                     workers.wait(6)->thumbnail != nullptr);
    }
    EXPECT_EQ(threadsNamed("qm-decode"), 0);
}

TEST_F(DecodeWorkersTest, LeftEarlyItJoinsItsNamedWorkers) {
    std::vector<std::string> paths;
    for (int i = 0; i < 24; ++i) {
        paths.push_back(folder + "/large" + std::to_string(i) + ".png");
        ASSERT_TRUE(writeSolidPng(paths.back(), 2000, 1500, 10, 20, 30));
    }
    {
        DecodeWorkers workers(paths, 480, 480);
        ASSERT_TRUE(workers.waitFor(0, std::chrono::seconds(30)));
        EXPECT_GE(threadsNamed("qm-decode"), 1);
    }
    EXPECT_EQ(threadsNamed("qm-decode"), 0);
}
