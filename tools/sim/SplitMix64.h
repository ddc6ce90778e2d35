#pragma once
// The simulator's own random numbers: the same seed gives the same recording on every machine
// and library version, which the standard engines and distributions do not promise.

#include <cstdint>

namespace kx::sim {

class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed) : state_(seed) {}
    // A generator for one part of the recording, so that adding or dropping another part (sound,
    // a channel) leaves this part's numbers unchanged.
    SplitMix64(std::uint64_t seed, std::uint64_t purpose) : state_(seed ^ (purpose * 0xD1B54A32D192ED03ULL)) {
        Next();
    }

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    double Range(double low, double high) { return low + (high - low) * Unit(); }

private:
    std::uint64_t state_;
};

}  // namespace kx::sim
