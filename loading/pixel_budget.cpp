// pixel_budget.cpp -- the shared budget of decoded pixels: first come, first served.
#include "loading/pixel_budget.h"

#include <algorithm>

PixelBudget::PixelBudget(uint64_t capacity) : limit(capacity) {}

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
        mostInUse = std::max(mostInUse, inUse);
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

void PixelBudget::wakeWaiters() {
    // Taking the lock orders this after a waiter's look at its flag: none sleeps through it.
    { std::lock_guard<std::mutex> guard(lock); }
    changed.notify_all();
}

uint64_t PixelBudget::taken() {
    std::lock_guard<std::mutex> guard(lock);
    return inUse;
}

uint64_t PixelBudget::peak() {
    std::lock_guard<std::mutex> guard(lock);
    return mostInUse;
}

PixelBudget &decodedPixelBudget() {
    static PixelBudget budget(PICTURE_MEMORY_LIMIT);
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
