#pragma once
// The sound renderer ("DirectSound Audio Renderer"): the feed the audio sink pulls from. It
// hands out the decoded sound of the current seek at the volume set, and sets the sound clock
// from the time of what it hands out and the sink's delay until it is heard. Before the graph
// plays it hands out silence and leaves the clock alone; while the sound is late it hands out
// silence and holds the clock; after the end it hands out silence that moves the clock on.

#include "playback/AudioDecoder.h"
#include "playback/AudioSink.h"
#include "playback/FrameQueue.h"
#include "playback/PlaybackSync.h"

#include <atomic>

namespace kx {

class AudioRenderer final : public AudioFeed {
public:
    AudioRenderer(FrameQueue& frames, const AudioDecoder& decoder, PlaybackSync& sync);
    // The format the sink opened with; set before the sink is resumed.
    void SetFormat(const AudioFormat& format) { format_ = format; }

    double Read(std::int16_t* out, int frames, double delaySeconds) override;

    // Hundredths of a decibel; -10000 or less is silence.
    void SetVolumeLevel(int level);
    // Sound of seek `serial` is ready to play, or there is none left.
    bool Ready(int serial) const;
    // Frees the room that sound of before the latest seek takes, also while the sink is paused
    // and pulls nothing.
    void DropStale() const { frames_.DropStale(); }

private:
    bool TakeFrame(int serial);

    FrameQueue& frames_;
    const AudioDecoder& decoder_;
    PlaybackSync& sync_;
    AudioFormat format_;
    std::atomic<float> amplitude_{1.0f};
    std::atomic<int> heldSerial_{-1};  // serial of the frame being handed out

    // The sink's thread only.
    QueuedFrame current_;
    int offset_ = 0;  // samples of current_ already handed out
    int serial_ = -1;
    double endTime_ = 0;  // recording time after the last sample handed out
};

}  // namespace kx
