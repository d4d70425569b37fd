// Independent pieces of the generator, run on several threads. Each task
// computes and writes only its own output, so the bytes do not depend on how
// many threads run or in which order the tasks finish.
#pragma once

#include <chrono>
#include <functional>
#include <vector>

using Task = std::function<bool()>;

// Threads to use: HEDEN_ASSETGEN_THREADS when it is set (1 runs everything
// in order on the calling thread), otherwise one per core.
int worker_count();

// Runs every task on up to `workers` threads (the caller's among them);
// true when all of them succeeded.
bool run_tasks(const std::vector<Task>& tasks, int workers);

// Seconds since `start`, for the generator's report of where its time went.
inline double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
