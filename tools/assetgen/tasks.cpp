#include "tasks.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <thread>

int worker_count() {
    if (const char* wanted = std::getenv("HEDEN_ASSETGEN_THREADS")) return std::max(1, std::atoi(wanted));
    return std::max(1u, std::thread::hardware_concurrency());
}

bool run_tasks(const std::vector<Task>& tasks, int workers) {
    std::atomic<std::size_t> next{0};
    std::vector<char> ok(tasks.size(), 0);
    auto work = [&] {
        for (std::size_t i = next++; i < tasks.size(); i = next++) ok[i] = tasks[i]();
    };
    std::vector<std::thread> helpers;
    const std::size_t threads = std::min(tasks.size(), static_cast<std::size_t>(std::max(1, workers)));
    for (std::size_t i = 1; i < threads; ++i) helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers) helper.join();
    return std::all_of(ok.begin(), ok.end(), [](char done) { return done != 0; });
}
