#pragma once
#include <thread>
#include <vector>

// Runs work(0) .. work(threads - 1) at once, work(0) on the calling thread,
// and returns when all have finished.
template <typename Work>
void runOnThreads(int threads, Work&& work)
{
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(work, t);
    work(0);
    for (std::thread& th : pool)
        th.join();
}
