// this_thread_test.cpp -- which thread is the main one, thread names as tools show them, and the
// debug check that keeps the image library on the main thread.
#include <gtest/gtest.h>
#include <pthread.h>
#include <string>
#include <thread>

#include "pictures/embedded_artwork.h"
#include "platform/this_thread.h"

TEST(ThisThread, OnlyTheThreadTheProgramStartedOnIsMain) {
    EXPECT_TRUE(onMainThread());
    bool otherIsMain = true;
    std::thread([&] { otherIsMain = onMainThread(); }).join();
    EXPECT_FALSE(otherIsMain);
}

TEST(ThisThread, LongNamesAreCutToWhatTheSystemKeeps) {
    std::string name;
    std::thread([&] {
        nameThisThread("qm-a-name-too-long-for-the-system");
        char read[16] = {};
        pthread_getname_np(pthread_self(), read, sizeof read);
        name = read;
    }).join();
    EXPECT_EQ(name, "qm-a-name-too-l");
}

TEST(ThisThreadDeathTest, ImageLibraryWorkOffTheMainThreadStopsADebugBuild) {
#ifdef NDEBUG
    GTEST_SKIP() << "the check is compiled into debug builds only";
#else
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_DEATH(std::thread([] { loadTextureResource(IDR_TEX_FRAME); }).join(), "onMainThread");
#endif
}
