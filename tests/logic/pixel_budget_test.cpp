// pixel_budget_test.cpp -- the shared budget of decoded pixels: takers wait for room, in the
// order they came, never hold more than it, and a cancelled waiter gives up holding nothing.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "loading/pixel_budget.h"

namespace {

using namespace std::chrono_literals;

// Waits up to five seconds for the condition, polling: a loaded machine may be slow to wake.
template <typename Condition> bool eventually(Condition condition) {
    for (int i = 0; i < 1000; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(5ms);
    }
    return condition();
}

} // namespace

TEST(PixelBudget, ATakerWaitsUntilEnoughIsGivenBack) {
    PixelBudget budget(100);
    ASSERT_TRUE(budget.acquire(70, nullptr));
    std::atomic<bool> served{false};
    std::thread taker([&] { served = budget.acquire(50, nullptr); });
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(served) << "50 more would pass 100";
    budget.release(10);
    std::this_thread::sleep_for(30ms);
    EXPECT_FALSE(served) << "60 + 50 still passes 100";
    budget.release(60);
    EXPECT_TRUE(eventually([&] { return served.load(); }));
    taker.join();
    EXPECT_EQ(budget.taken(), 50u);
    EXPECT_EQ(budget.peak(), 70u);
}

TEST(PixelBudget, ManyTakersTogetherNeverHoldMoreThanTheBudget) {
    PixelBudget budget(256);
    std::atomic<int> served{0};
    std::vector<std::thread> takers;
    for (int i = 0; i < 16; ++i)
        takers.emplace_back([&, i] {
            uint64_t bytes = 60 + 20 * (i % 5); // 60 to 140: two or three fit at once
            for (int round = 0; round < 20; ++round) {
                ASSERT_TRUE(budget.acquire(bytes, nullptr));
                served++;
                std::this_thread::yield();
                budget.release(bytes);
            }
        });
    for (std::thread &taker : takers)
        taker.join();
    EXPECT_EQ(served, 16 * 20);
    EXPECT_LE(budget.peak(), 256u);
    EXPECT_GE(budget.peak(), 120u) << "takers that fit together were served together";
    EXPECT_EQ(budget.taken(), 0u);
}

TEST(PixelBudget, ALargeRequestIsNotOvertakenBySmallerOnes) {
    PixelBudget budget(100);
    ASSERT_TRUE(budget.acquire(60, nullptr));
    std::atomic<bool> largeServed{false}, smallServed{false};
    std::thread large([&] { largeServed = budget.acquire(90, nullptr); });
    std::this_thread::sleep_for(50ms);
    std::thread small([&] { smallServed = budget.acquire(30, nullptr); });
    std::this_thread::sleep_for(50ms);
    // 30 would fit beside the 60, but the 90 asked first.
    EXPECT_FALSE(smallServed);
    budget.release(60);
    EXPECT_TRUE(eventually([&] { return largeServed.load(); }));
    EXPECT_FALSE(smallServed);
    budget.release(90);
    EXPECT_TRUE(eventually([&] { return smallServed.load(); }));
    large.join();
    small.join();
}

TEST(PixelBudget, MoreThanTheWholeBudgetWaitsForAllOfIt) {
    PixelBudget budget(100);
    ASSERT_TRUE(budget.acquire(1, nullptr));
    std::atomic<bool> served{false};
    std::thread taker([&] { served = budget.acquire(500, nullptr); });
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(served);
    budget.release(1);
    EXPECT_TRUE(eventually([&] { return served.load(); }));
    taker.join();
    EXPECT_EQ(budget.taken(), 100u);
    budget.release(500);
    EXPECT_EQ(budget.taken(), 0u);
}

TEST(PixelBudget, ACancelledWaiterGivesUpAndLetsTheNextOneIn) {
    PixelBudget budget(100);
    ASSERT_TRUE(budget.acquire(80, nullptr));
    std::atomic<bool> cancel{false};
    std::atomic<int> first{-1}, second{-1};
    std::thread waiting([&] { first = budget.acquire(50, &cancel) ? 1 : 0; });
    std::this_thread::sleep_for(50ms);
    std::thread behind([&] { second = budget.acquire(20, nullptr) ? 1 : 0; });
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(first, -1);
    EXPECT_EQ(second, -1) << "waits behind the first request";
    cancel = true;
    budget.wakeWaiters();
    EXPECT_TRUE(eventually([&] { return first == 0; }));
    EXPECT_TRUE(eventually([&] { return second == 1; }));
    waiting.join();
    behind.join();
    EXPECT_EQ(budget.taken(), 100u);
}

TEST(PixelBudget, TheProgramsBudgetIsWhatOnePictureMayTake) {
    EXPECT_EQ(decodedPixelBudget().capacity(), PICTURE_MEMORY_LIMIT);
    EXPECT_EQ(&decodedPixelBudget(), &decodedPixelBudget());
}

TEST(PixelBudget, KeptPixelsHaveAPartOfTheirOwnThatNoDecodeWaitsFor) {
    PixelBudget budget(100, 10);
    EXPECT_TRUE(budget.keep(6));
    EXPECT_FALSE(budget.keep(6)) << "6 + 6 passes the kept part's 10";
    std::atomic<bool> served{false};
    std::thread taker([&] { served = budget.acquire(100, nullptr); });
    bool notHeldUp = eventually([&] { return served.load(); });
    if (!notHeldUp) { // let the taker end
        budget.releaseKept(6);
        budget.wakeWaiters();
    }
    taker.join();
    EXPECT_TRUE(notHeldUp) << "the whole decode budget is free beside what is kept";
    EXPECT_EQ(budget.taken(), 106u);
    EXPECT_EQ(budget.peak(), 106u);
    budget.releaseKept(6);
    EXPECT_TRUE(budget.keep(10));
    budget.release(100);
    EXPECT_EQ(budget.taken(), 10u);
}
