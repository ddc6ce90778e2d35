#pragma once
// What the threads of one media graph share: the serial of the latest seek, whether the
// graph plays, and the clocks. The master clock is the sound clock while sound plays, else a
// monotonic clock running at the playing rate.

#include "playback/Clock.h"

#include <atomic>
#include <cstdint>
#include <mutex>

namespace kx {

struct PlaybackSync {
    std::atomic<int> serial{0};
    std::atomic<std::int64_t> targetMs{0};  // of the latest seek
    std::atomic<bool> running{false};       // the play state is Running
    std::atomic<bool> playing{false};       // running, and the clock started: the pictures at
                                            // the position were ready
    std::atomic<bool> soundMaster{false};
    std::atomic<bool> freeRun{false};       // show every picture as soon as it is decoded
    Clock soundClock;
    Clock systemClock;
    std::mutex mutex;  // orders starting the clock against pausing and seeking

    double MasterTime() const { return soundMaster ? soundClock.Get() : systemClock.Get(); }
    double MasterSpeed() const { return soundMaster ? soundClock.Speed() : systemClock.Speed(); }
};

}  // namespace kx
