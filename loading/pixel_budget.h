// pixel_budget.h -- one amount of memory for decoded pixels, shared by every thread that decodes:
// a picture waits for room in it rather than going past it.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

#include "pictures/picture_decoder.h"

// Bytes taken and given back by the threads that decode, served in the order they asked, and
// beside them a small part for pixels kept after their decode, which is never waited for.
// Every member may be called from any thread. Thread: any.
class PixelBudget {
  public:
    explicit PixelBudget(uint64_t capacity, uint64_t keptCapacity = 0);
    PixelBudget(const PixelBudget &) = delete;
    PixelBudget &operator=(const PixelBudget &) = delete;

    // Waits until bytes fit beside what is taken and every earlier request has been served,
    // then takes them; a request larger than the whole budget waits until nothing is taken.
    // False, with nothing taken, once cancel (may be null) is set and wakeWaiters called.
    bool acquire(uint64_t bytes, const std::atomic<bool> *cancel);
    void release(uint64_t bytes);
    // Takes bytes in the kept part when they fit there now; false, with nothing taken, when not.
    // A decode never waits for that part, so pixels kept while their owner is busy cannot hold
    // one up.
    bool keep(uint64_t bytes);
    void releaseKept(uint64_t bytes);
    // Makes every waiter look at its cancel flag again.
    void wakeWaiters();

    uint64_t capacity() const { return limit; }
    // Bytes taken now, the kept part's included.
    uint64_t taken();
    // The most ever taken at once, the kept part's included.
    uint64_t peak();

  private:
    std::mutex lock;
    std::condition_variable changed;
    const uint64_t limit;
    const uint64_t keptLimit;
    uint64_t inUse = 0; // guarded by lock, like everything below
    uint64_t keptInUse = 0;
    uint64_t mostInUse = 0;
    uint64_t nextTicket = 0;
    std::deque<uint64_t> waiting; // tickets of the requests not yet served, oldest first
};

// The budget every decode of the program takes from: what one picture may need at most
// (PICTURE_MEMORY_LIMIT), so the largest picture allowed always fits alone, and all the decode
// workers, the background and any other decoding together never hold more; beside it, room for
// a dozen thumbnails kept from a room's decodes until they are written. Thread: any.
PixelBudget &decodedPixelBudget();

// A decode's memory gate on a budget: reserve waits in budget.acquire with the cancel flag.
struct BudgetGate {
    BudgetGate(PixelBudget *budget, const std::atomic<bool> *cancel);
    BudgetGate(const BudgetGate &) = delete;
    BudgetGate &operator=(const BudgetGate &) = delete;
    PixelBudget *budget;
    const std::atomic<bool> *cancel;
    DecodeMemoryGate gate;
};
