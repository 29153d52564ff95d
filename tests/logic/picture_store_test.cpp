// picture_store_test.cpp -- the picture store: budget, least-recently-used
// order, versions of a file, and use from several threads.
#include <atomic>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

#include "loading/picture_store.h"

namespace {

std::shared_ptr<const Picture> pictureOf(size_t bytes, unsigned char fill = 0) {
    auto picture = std::make_shared<Picture>();
    picture->pixels.assign(bytes, fill);
    return picture;
}

const FileStamp STAMP = {1700000000, 5, 4096, 1700000000, 5, 77};

class PictureStoreTest : public ::testing::Test {
  protected:
    PictureStore<Picture> store{64u * 1024 * 1024};
    bool held(const char *path) { return findPicture(&store, path, STAMP) != nullptr; }
};

} // namespace

TEST_F(PictureStoreTest, LeastRecentlyUsedPictureGoesWhenTheBudgetIsFull) {
    setPictureStoreBudget(&store, 3000);
    keepPicture(&store, "a", STAMP, pictureOf(1000));
    keepPicture(&store, "b", STAMP, pictureOf(1000));
    keepPicture(&store, "b", STAMP, pictureOf(1000)); // replaced, not counted twice
    keepPicture(&store, "c", STAMP, pictureOf(1000));
    EXPECT_EQ(pictureStoreBytes(&store), 3000u);
    EXPECT_TRUE(held("a")); // now b is the least recently used
    keepPicture(&store, "d", STAMP, pictureOf(1000));
    EXPECT_FALSE(held("b"));
    EXPECT_TRUE(held("a") && held("c") && held("d"));

    keepPicture(&store, "huge", STAMP, pictureOf(3001)); // larger than the budget: not held
    EXPECT_FALSE(held("huge"));
    EXPECT_EQ(pictureStoreBytes(&store), 3000u);
}

TEST_F(PictureStoreTest, PictureOfAnotherVersionOfTheFileIsNotReturned) {
    // A replacement that keeps mtime and size still changes the change time, or the inode.
    FileStamp changed[6] = {STAMP, STAMP, STAMP, STAMP, STAMP, STAMP};
    changed[0].mtime++;
    changed[1].mtimeNanoseconds++;
    changed[2].size++;
    changed[3].ctime++;
    changed[4].ctimeNanoseconds++;
    changed[5].id++;
    for (const FileStamp &stamp : changed) {
        keepPicture(&store, "a", STAMP, pictureOf(10));
        EXPECT_EQ(findPicture(&store, "a", stamp), nullptr);
    }
    EXPECT_EQ(pictureStoreBytes(&store), 0u); // the stale picture was let go
    keepPicture(&store, "a", STAMP, pictureOf(10));
    EXPECT_NE(findPicture(&store, "a", STAMP), nullptr);
}

TEST_F(PictureStoreTest, ThreadsFillAndReadItTogether) {
    setPictureStoreBudget(&store, 8 * 1024);
    std::vector<std::thread> threads;
    std::vector<int> wrongPictures(4, 0);
    std::atomic<bool> go{false};
    for (int t = 0; t < 4; t++)
        threads.emplace_back([this, t, &wrongPictures, &go] {
            while (!go)
                std::this_thread::yield();
            for (int i = 0; i < 20000; i++) {
                int key = (i * 7 + t) % 16;
                std::string path = "picture" + std::to_string(key);
                if ((i + t) % 3 == 0)
                    keepPicture(&store, path.c_str(), STAMP, pictureOf(1024, key));
                else if (auto picture = findPicture(&store, path.c_str(), STAMP))
                    wrongPictures[t] += picture->pixels.size() != 1024 || picture->pixels[0] != key;
            }
        });
    go = true;
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(wrongPictures, std::vector<int>(4, 0));
    EXPECT_LE(pictureStoreBytes(&store), 8u * 1024);
}
