// Waiting in tests for something another thread or process does: poll until
// it holds, up to a deadline far beyond what it takes on a quiet machine, so
// that a busy machine makes the wait longer, not the test fail.
#pragma once

#include <chrono>
#include <thread>

namespace fake {

template <typename Done>
bool eventually(Done done, double seconds = 30) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));  // the poll's interval, not a wait
    }
    return true;
}

// Waits until a counter another thread moves (a worker's rounds, say) has
// gone `rounds` further than it stands now.
template <typename Count>
bool went_round(Count count, unsigned rounds) {
    auto start = count();
    return eventually([&] { return count() - start >= rounds; });
}

}  // namespace fake
