#pragma once
// A playing position that runs by itself between updates: the time set last, moved on by the
// monotonic time since then times the speed, unless paused. The sound clock is set by the
// sound as it is heard; the other runs on the monotonic clock alone. Updates carry the serial
// of the seek they belong to, and an update from before the latest reset is ignored.

#include <mutex>

namespace kx {

class Clock {
public:
    // Monotonic seconds.
    static double Now();

    double Get() const;
    // Sets the time `at` the given monotonic moment, if `serial` is not older than the clock's.
    void Set(double time, int serial, double at);
    // Starts a new serial at `time`, paused or running from now.
    void Reset(double time, int serial, bool paused);
    void SetPaused(bool paused);
    void SetSpeed(double speed);
    double Speed() const;
    int Serial() const;

private:
    double GetLocked(double now) const;

    mutable std::mutex mutex_;
    double time_ = 0;
    double updatedAt_ = 0;
    double speed_ = 1.0;
    bool paused_ = true;
    int serial_ = 0;
};

}  // namespace kx
