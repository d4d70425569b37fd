// A lock for the few words the main thread and the library's thread share.
// It is held only to copy or update them, never while decoding or waiting
// on the device, so a waiter spins for a moment at most.
#pragma once

#include <atomic>

namespace audio {

class SpinLock {
public:
    void lock() {
        while (flag_.test_and_set(std::memory_order_acquire)) {
        }
    }
    void unlock() { flag_.clear(std::memory_order_release); }

private:
    std::atomic_flag flag_ = ATOMIC_FLAG_INIT;
};

class Locked {
public:
    explicit Locked(SpinLock& lock) : lock_(lock) { lock_.lock(); }
    ~Locked() { lock_.unlock(); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    SpinLock& lock_;
};

}  // namespace audio
