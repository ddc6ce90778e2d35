#pragma once
// Best-of-N wall time of a piece of work, in seconds.

#include <algorithm>
#include <chrono>
#include <limits>

namespace kx::bench {

template <class Work>
double BestSeconds(int rounds, Work&& work) {
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

}  // namespace kx::bench
