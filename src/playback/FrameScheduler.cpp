#include "playback/FrameScheduler.h"

#include <algorithm>
#include <chrono>

namespace kx {

namespace {

// While playing, the clock is looked at again at least this often: the sound clock moves by
// updates from the sound device, which do not wake this thread.
constexpr double kMaxWaitSeconds = 0.02;

double Sooner(double a, double b) { return a < 0 ? b : std::min(a, b); }

}  // namespace

FrameScheduler::FrameScheduler(std::vector<VideoRenderer*> renderers, const AudioRenderer* sound, PlaybackSync& sync,
                               double durationSeconds)
    : renderers_(std::move(renderers)), sound_(sound), sync_(sync), duration_(durationSeconds) {}

FrameScheduler::~FrameScheduler() { Stop(); }

void FrameScheduler::Start() { thread_ = std::thread([this] { Run(); }); }

void FrameScheduler::Stop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wakeCond_.notify_all();
    doneCond_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void FrameScheduler::Wake() {
    {
        std::lock_guard lock(mutex_);
        wake_ = true;
    }
    wakeCond_.notify_all();
}

bool FrameScheduler::Drained(VideoRenderer& r, int serial) const {
    return r.Decoder().Finished(serial) && !r.Frames().Holds(serial);
}

bool FrameScheduler::Cued(VideoRenderer& r, int serial) const {
    return r.ShownSerial() == serial || Drained(r, serial);
}

bool FrameScheduler::Complete(int serial) const {
    if (!sync_.playing.load()) return false;
    for (VideoRenderer* r : renderers_)
        if (!Drained(*r, serial)) return false;
    return sync_.freeRun.load() || sync_.MasterTime() >= duration_;
}

// The first picture of a seek is shown as soon as it is decoded, playing or not: a paused or
// stopped graph shows the picture at its position.
void FrameScheduler::Cue(int serial) {
    for (VideoRenderer* r : renderers_) {
        if (r->ShownSerial() == serial) continue;
        QueuedFrame* f = r->Frames().Peek();
        if (!f) continue;
        if (keepSerial_.load() == serial && f->index == r->ShownIndex()) r->Keep(*f);
        else r->Show(*f);
        r->Frames().Pop();
    }
}

void FrameScheduler::StartClockIfReady(int serial) {
    if (sync_.playing.load() || !sync_.running.load()) return;
    for (VideoRenderer* r : renderers_)
        if (!Cued(*r, serial)) return;
    if (sound_ && !sound_->Ready(serial)) return;
    std::lock_guard lock(sync_.mutex);
    if (!sync_.running.load() || sync_.playing.load() || sync_.serial.load() != serial) return;
    const double position = sync_.systemClock.Get();
    sync_.soundClock.Reset(position, serial, false);
    sync_.systemClock.Reset(position, serial, false);
    sync_.playing = true;
}

// Shows what the clock has reached; returns the seconds until the next picture is due.
double FrameScheduler::ShowDue() {
    double wait = -1;
    if (sync_.freeRun.load()) {
        for (VideoRenderer* r : renderers_) {
            QueuedFrame* f = r->Frames().Peek();
            if (!f) continue;
            sync_.systemClock.Reset(f->time, f->serial, true);
            r->Show(*f);
            r->Frames().Pop();
            wait = 0;
        }
        return wait;
    }
    const double clock = sync_.MasterTime();
    const double speed = std::max(0.01, sync_.MasterSpeed());
    for (VideoRenderer* r : renderers_) {
        FrameQueue& frames = r->Frames();
        QueuedFrame* f = frames.Peek();
        if (!f) continue;
        for (QueuedFrame* next = frames.Peek(1); next && next->time <= clock; next = frames.Peek(1)) {
            frames.Pop();
            ++dropped_;
            f = frames.Peek();
        }
        if (f->time <= clock) {
            r->Show(*f);
            frames.Pop();
            wait = 0;
        } else {
            wait = Sooner(wait, (f->time - clock) / speed);
        }
    }
    if (clock < duration_) wait = Sooner(wait, (duration_ - clock) / speed);
    return Sooner(wait, kMaxWaitSeconds);
}

double FrameScheduler::Step(int serial) {
    if (sound_) sound_->DropStale();
    for (VideoRenderer* r : renderers_) {
        r->Frames().DropStale();
        if (r->TakeRepaintRequest()) r->ShowAgain();
    }
    Cue(serial);
    StartClockIfReady(serial);
    return sync_.playing.load() ? ShowDue() : -1;
}

void FrameScheduler::Run() {
    for (;;) {
        const int serial = sync_.serial.load();
        double wait = Step(serial);
        const bool cued = std::all_of(renderers_.begin(), renderers_.end(),
                                      [&](VideoRenderer* r) { return Cued(*r, serial); });
        const bool complete = Complete(serial);
        if (complete && wait > 0) wait = -1;

        std::unique_lock lock(mutex_);
        if (stop_) return;
        if ((cued && cuedSerial_ != serial) || (complete && completeSerial_ != serial)) {
            if (cued) cuedSerial_ = serial;
            if (complete) completeSerial_ = serial;
            doneCond_.notify_all();
        }
        if (!wake_) {
            if (wait < 0) wakeCond_.wait(lock, [&] { return wake_ || stop_; });
            else if (wait > 0)
                wakeCond_.wait_for(lock, std::chrono::duration<double>(wait), [&] { return wake_ || stop_; });
        }
        wake_ = false;
    }
}

bool FrameScheduler::WaitForPictures(int timeoutMs) {
    std::unique_lock lock(mutex_);
    return doneCond_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return stop_ || cuedSerial_ == sync_.serial.load(); }) &&
           !stop_;
}

bool FrameScheduler::WaitForCompletion(int timeoutMs) {
    std::unique_lock lock(mutex_);
    return doneCond_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return stop_ || completeSerial_ == sync_.serial.load(); }) &&
           !stop_;
}

}  // namespace kx
