// this_thread_test.cpp -- which thread is the main one, thread names as tools show them, and the
// debug check that keeps the image library on the main thread.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <pthread.h>
#endif
#include <string>
#include <thread>

#include "pictures/embedded_artwork.h"
#include "platform/this_thread.h"
#ifdef _WIN32
#include "platform/wide_text.h"
#endif

TEST(ThisThread, OnlyTheThreadTheProgramStartedOnIsMain) {
    EXPECT_TRUE(onMainThread());
    bool otherIsMain = true;
    std::thread([&] { otherIsMain = onMainThread(); }).join();
    EXPECT_FALSE(otherIsMain);
}

namespace {

// The calling thread's name as system tools read it back.
std::string nameOfThisThread() {
#ifdef _WIN32
    typedef HRESULT(WINAPI * GetDescription)(HANDLE, PWSTR *);
    GetDescription getDescription = (GetDescription)(void *)GetProcAddress(
        GetModuleHandleW(L"kernel32.dll"), "GetThreadDescription");
    PWSTR description = nullptr;
    if (getDescription == nullptr || FAILED(getDescription(GetCurrentThread(), &description)))
        return "(unreadable)";
    std::string name = narrow(description);
    LocalFree(description);
    return name;
#else
    char read[16] = {};
    pthread_getname_np(pthread_self(), read, sizeof read);
    return read;
#endif
}

} // namespace

// Linux keeps 15 bytes of a thread name; a Windows thread description keeps the whole name.
TEST(ThisThread, LongNamesKeepWhatTheSystemKeeps) {
    std::string name;
    std::thread([&] {
        nameThisThread("qm-a-name-too-long-for-the-system \xE2\x98\x95");
        name = nameOfThisThread();
    }).join();
#ifdef _WIN32
    EXPECT_EQ(name, "qm-a-name-too-long-for-the-system \xE2\x98\x95");
#else
    EXPECT_EQ(name, "qm-a-name-too-l");
#endif
}

TEST(ThisThreadDeathTest, ImageLibraryWorkOffTheMainThreadStopsADebugBuild) {
#ifdef NDEBUG
    GTEST_SKIP() << "the check is compiled into debug builds only";
#else
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_DEATH(std::thread([] { loadTextureResource(IDR_TEX_FRAME); }).join(), "onMainThread");
#endif
}
