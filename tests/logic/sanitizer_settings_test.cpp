// sanitizer_settings_test.cpp -- the sanitizer settings the tests run with keep LeakSanitizer's
// scan alive when a thread's dynamically allocated thread-local block starts 16 bytes into a page.
// The GCC 12 runtime takes such a block for an old glibc layout and reads the allocator's chunk
// header in front of it as a range to scan, which crashed the scan at exit, after the test passed.
#include <condition_variable>
#include <cstdint>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>

namespace {

using BlockOfThisThread = long *(*)();

struct Rendezvous {
    std::mutex lock;
    std::condition_variable changed;
    bool missed = false;
    bool found = false;
    bool released = false;
};

// One thread: touches its block; if the block starts 16 bytes into a page, stays alive until
// released so the scan sees it, else ends at once.
void touchBlock(BlockOfThisThread blockOf, Rendezvous *meeting) {
    const bool atSixteen = reinterpret_cast<uintptr_t>(blockOf()) % 4096 == 16;
    std::unique_lock<std::mutex> hold(meeting->lock);
    if (!atSixteen) {
        meeting->missed = true;
        meeting->changed.notify_all();
        return;
    }
    meeting->found = true;
    meeting->changed.notify_all();
    meeting->changed.wait(hold, [meeting] { return meeting->released; });
}

} // namespace
#endif

TEST(SanitizerSettings, LeakScanSurvivesAThreadBlockSixteenBytesIntoAPage) {
#if !defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "only meaningful under AddressSanitizer";
#else
    void *module = dlopen(QM_DYNAMIC_TLS_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    auto blockOf =
        reinterpret_cast<BlockOfThisThread>(dlsym(module, "dynamicTlsBlockOfThisThread"));
    ASSERT_NE(blockOf, nullptr);

    // Each new thread's block is a fresh allocation further along, so one soon lands there.
    Rendezvous meeting;
    std::thread keeper;
    for (int attempt = 0; attempt < 4096 && !meeting.found; attempt++) {
        std::thread worker(touchBlock, blockOf, &meeting);
        std::unique_lock<std::mutex> hold(meeting.lock);
        meeting.changed.wait(hold, [&meeting] { return meeting.missed || meeting.found; });
        meeting.missed = false;
        hold.unlock();
        if (meeting.found)
            keeper = std::move(worker);
        else
            worker.join();
    }
    ASSERT_TRUE(meeting.found) << "no thread's block started 16 bytes into a page";

    // A crash here ends the test program; a leak found is a failure of its own.
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);

    {
        std::lock_guard<std::mutex> hold(meeting.lock);
        meeting.released = true;
    }
    meeting.changed.notify_all();
    keeper.join();
    dlclose(module);
#endif
}
