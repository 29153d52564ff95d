// decoded_picture_store_test.cpp -- the decoded-picture store: budget, least-recently-used
// order, versions of a file, and use from several threads.
#include <atomic>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

#include "images/decoded_picture_store.h"

namespace {

std::shared_ptr<const DecodedPicture> pictureOf(size_t bytes, unsigned char fill = 0) {
    auto picture = std::make_shared<DecodedPicture>();
    picture->rgba.assign(bytes, fill);
    return picture;
}

const FileStamp STAMP = {1700000000, 5, 4096};

class DecodedPictureStore : public ::testing::Test {
  protected:
    void TearDown() override {
        clearDecodedPictures();
        setDecodedPictureBudget(DECODED_PICTURE_BUDGET);
    }
    bool held(const char *path) { return findDecodedPicture(path, STAMP) != nullptr; }
};

} // namespace

TEST_F(DecodedPictureStore, LeastRecentlyUsedPictureGoesWhenTheBudgetIsFull) {
    setDecodedPictureBudget(3000);
    keepDecodedPicture("a", STAMP, pictureOf(1000));
    keepDecodedPicture("b", STAMP, pictureOf(1000));
    keepDecodedPicture("b", STAMP, pictureOf(1000)); // replaced, not counted twice
    keepDecodedPicture("c", STAMP, pictureOf(1000));
    EXPECT_EQ(decodedPictureBytes(), 3000u);
    EXPECT_TRUE(held("a")); // now b is the least recently used
    keepDecodedPicture("d", STAMP, pictureOf(1000));
    EXPECT_FALSE(held("b"));
    EXPECT_TRUE(held("a") && held("c") && held("d"));

    keepDecodedPicture("huge", STAMP, pictureOf(3001)); // larger than the budget: not held
    EXPECT_FALSE(held("huge"));
    EXPECT_EQ(decodedPictureBytes(), 3000u);
}

TEST_F(DecodedPictureStore, PictureOfAnotherVersionOfTheFileIsNotReturned) {
    FileStamp changed[3] = {STAMP, STAMP, STAMP};
    changed[0].mtime++;
    changed[1].mtimeNanoseconds++;
    changed[2].size++;
    for (const FileStamp &stamp : changed) {
        keepDecodedPicture("a", STAMP, pictureOf(10));
        EXPECT_EQ(findDecodedPicture("a", stamp), nullptr);
    }
    EXPECT_EQ(decodedPictureBytes(), 0u); // the stale picture was let go
    keepDecodedPicture("a", STAMP, pictureOf(10));
    EXPECT_NE(findDecodedPicture("a", STAMP), nullptr);
}

TEST_F(DecodedPictureStore, ThreadsFillAndReadItTogether) {
    setDecodedPictureBudget(8 * 1024);
    std::vector<std::thread> threads;
    std::vector<int> wrongPictures(4, 0);
    std::atomic<bool> go{false};
    for (int t = 0; t < 4; t++)
        threads.emplace_back([t, &wrongPictures, &go] {
            while (!go)
                std::this_thread::yield();
            for (int i = 0; i < 20000; i++) {
                int key = (i * 7 + t) % 16;
                std::string path = "picture" + std::to_string(key);
                if ((i + t) % 3 == 0)
                    keepDecodedPicture(path.c_str(), STAMP, pictureOf(1024, key));
                else if (auto picture = findDecodedPicture(path.c_str(), STAMP))
                    wrongPictures[t] += picture->rgba.size() != 1024 || picture->rgba[0] != key;
            }
        });
    go = true;
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(wrongPictures, std::vector<int>(4, 0));
    EXPECT_LE(decodedPictureBytes(), 8u * 1024);
}
