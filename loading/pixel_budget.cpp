// pixel_budget.cpp -- the shared budget of decoded pixels: first come, first served.
#include "loading/pixel_budget.h"

#include <algorithm>

namespace {

// Twelve x-large thumbnails of 512 x 512 RGBA: a room's ten and some of the next room's.
constexpr uint64_t KEPT_THUMBNAIL_BYTES = 12ull * 512 * 512 * 4;

} // namespace

PixelBudget::PixelBudget(uint64_t capacity, uint64_t keptCapacity)
    : limit(capacity), keptLimit(keptCapacity) {}

bool PixelBudget::acquire(uint64_t bytes, const std::atomic<bool> *cancel) {
    bytes = std::min(bytes, limit);
    std::unique_lock<std::mutex> guard(lock);
    uint64_t ticket = nextTicket++;
    waiting.push_back(ticket);
    changed.wait(guard, [&] {
        return (cancel != nullptr && cancel->load()) ||
               (waiting.front() == ticket && inUse + bytes <= limit);
    });
    // Served or not, this request leaves the queue; the next one may now fit.
    waiting.erase(std::find(waiting.begin(), waiting.end(), ticket));
    bool served = cancel == nullptr || !cancel->load();
    if (served) {
        inUse += bytes;
        mostInUse = std::max(mostInUse, inUse + keptInUse);
    }
    guard.unlock();
    changed.notify_all();
    return served;
}

void PixelBudget::release(uint64_t bytes) {
    {
        std::lock_guard<std::mutex> guard(lock);
        inUse -= std::min(std::min(bytes, limit), inUse);
    }
    changed.notify_all();
}

bool PixelBudget::keep(uint64_t bytes) {
    std::lock_guard<std::mutex> guard(lock);
    if (bytes > keptLimit - keptInUse)
        return false;
    keptInUse += bytes;
    mostInUse = std::max(mostInUse, inUse + keptInUse);
    return true;
}

void PixelBudget::releaseKept(uint64_t bytes) {
    std::lock_guard<std::mutex> guard(lock);
    keptInUse -= std::min(bytes, keptInUse);
}

void PixelBudget::wakeWaiters() {
    // Taking the lock orders this after a waiter's look at its flag: none sleeps through it.
    { std::lock_guard<std::mutex> guard(lock); }
    changed.notify_all();
}

uint64_t PixelBudget::taken() {
    std::lock_guard<std::mutex> guard(lock);
    return inUse + keptInUse;
}

uint64_t PixelBudget::peak() {
    std::lock_guard<std::mutex> guard(lock);
    return mostInUse;
}

PixelBudget &decodedPixelBudget() {
    static PixelBudget budget(PICTURE_MEMORY_LIMIT, KEPT_THUMBNAIL_BYTES);
    return budget;
}

namespace {

bool reserveFromBudget(void *context, uint64_t bytes) {
    BudgetGate *gate = (BudgetGate *)context;
    return gate->budget->acquire(bytes, gate->cancel);
}

void releaseToBudget(void *context, uint64_t bytes) {
    ((BudgetGate *)context)->budget->release(bytes);
}

} // namespace

BudgetGate::BudgetGate(PixelBudget *budget, const std::atomic<bool> *cancel)
    : budget(budget), cancel(cancel), gate{reserveFromBudget, releaseToBudget, this} {}
