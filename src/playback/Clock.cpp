#include "playback/Clock.h"

#include <chrono>

namespace kx {

double Clock::Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double Clock::GetLocked(double now) const { return paused_ ? time_ : time_ + (now - updatedAt_) * speed_; }

double Clock::Get() const {
    const double now = Now();
    std::lock_guard lock(mutex_);
    return GetLocked(now);
}

void Clock::Set(double time, int serial, double at) {
    std::lock_guard lock(mutex_);
    if (serial < serial_) return;
    time_ = time;
    updatedAt_ = at;
    serial_ = serial;
}

void Clock::Reset(double time, int serial, bool paused) {
    const double now = Now();
    std::lock_guard lock(mutex_);
    time_ = time;
    updatedAt_ = now;
    serial_ = serial;
    paused_ = paused;
}

void Clock::SetPaused(bool paused) {
    const double now = Now();
    std::lock_guard lock(mutex_);
    time_ = GetLocked(now);
    updatedAt_ = now;
    paused_ = paused;
}

void Clock::SetSpeed(double speed) {
    const double now = Now();
    std::lock_guard lock(mutex_);
    time_ = GetLocked(now);
    updatedAt_ = now;
    speed_ = speed;
}

double Clock::Speed() const {
    std::lock_guard lock(mutex_);
    return speed_;
}

int Clock::Serial() const {
    std::lock_guard lock(mutex_);
    return serial_;
}

}  // namespace kx
