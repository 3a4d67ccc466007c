#pragma once
// The lock that guards each of the toolkit's lists: taken with an atomic
// exchange and held only while a list is walked or changed, never across a
// message send or a callback.
#include <windows.h>

#include <atomic>

namespace tk {

class SpinLock {
public:
    void Lock() {
        while (taken_.exchange(true, std::memory_order_acquire)) YieldProcessor();
    }
    void Unlock() { taken_.store(false, std::memory_order_release); }

private:
    std::atomic<bool> taken_{false};
};

class SpinLockHold {
public:
    explicit SpinLockHold(SpinLock& lock) : lock_(lock) { lock_.Lock(); }
    ~SpinLockHold() { lock_.Unlock(); }
    SpinLockHold(const SpinLockHold&) = delete;
    SpinLockHold& operator=(const SpinLockHold&) = delete;

private:
    SpinLock& lock_;
};

}  // namespace tk
