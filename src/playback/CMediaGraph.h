#pragma once
// The media graph of one opened recording: the parse stage, per camera channel a decoder,
// a colour stage and a renderer, the sound stages, and the threads that run them (a reader,
// one decoder per stream, the presenting thread; the sound device pulls from its own). It
// holds the play state, the rate and the cached duration, and builds itself by the fixed
// rules of a one-channel and a multi-channel build.

#include "playback/AudioSink.h"
#include "playback/ChannelImage.h"
#include "playback/MediaResult.h"
#include "playback/PlayState.h"
#include "playback/PlaybackSync.h"
#include "playback/VideoSink.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kx {

class AudioDecoder;
class AudioRenderer;
class DemuxReader;
class FrameQueue;
class FrameScheduler;
class PacketQueue;
class StreamParseFilter;
class VideoDecoder;
class VideoRenderer;

inline constexpr int kMaxChannels = 4;
using ChannelWindows = std::array<VideoSink*, kMaxChannels>;

struct GraphSettings {
    int channelCount = 2;
    ChannelWindows windows{};
    AudioSink* sound = nullptr;  // null: no sound device
    std::uint8_t option = 0;     // handed to the parse stage
    bool freeRun = false;        // show every picture as soon as it is decoded (no clock)
};

// The end of a build: its result, and whether it is the outcome that makes the open fail.
struct BuildOutcome {
    HResult result = kSOk;
    bool cannotOpen = false;
};

class CMediaGraph {
public:
    explicit CMediaGraph(const GraphSettings& settings);
    // Tears down.
    ~CMediaGraph();
    CMediaGraph(const CMediaGraph&) = delete;
    CMediaGraph& operator=(const CMediaGraph&) = delete;

    // Builds the graph for the recording; `context` and `locator` go to the parse stage's
    // SetSource unchanged.
    BuildOutcome Build(const std::string& path, std::uintptr_t context, std::int32_t locator);

    // kVfwWrongState unless Paused or Stopped. Starts again from 0 when the position is at the
    // end, applies the rate (limited to 0.5..2.0 and stored back unless exactly 1.0) and plays.
    HResult Run();
    // Acts only when Running; returns 0.
    HResult Pause();
    // kVfwWrongState unless Running or Paused. Keeps the position.
    HResult Stop();
    PlayState State() const;
    int VideoPinCount() const;
    bool Loaded() const;
    const std::string& Path() const { return path_; }

    // The rate taken by the next Run.
    void SetRateValue(float rate);
    float Rate() const;

    // Moves to `position100ns` (100-ns units, limited to 0..duration) and shows the picture
    // there; kENotImpl when no channel was built.
    HResult SetPosition(std::int64_t position100ns);
    std::int64_t Position100ns() const;
    // From the cache after the first read; 0 when no channel was built.
    std::int64_t Duration100ns();

    // Hundredths of a decibel; kENotImpl without sound.
    HResult SetVolumeLevel(int level);

    // Channel index 0..3; false (and `image` untouched) without that renderer.
    bool GrabChannelImage(int index, ChannelImage& image) const;
    // Channel 2's decoder: 1101 = 1, then 1113 = on; the last result, or 0 without decoder 2.
    HResult SetRearMirror(bool on);
    // Shows channel 1's current picture again; 0.
    HResult RepaintFirstChannel();
    // Shows every built channel's current picture again at its window's current size.
    HResult RepositionChannels();
    // Decoder of channel k (1..4), or null.
    VideoDecoder* Decoder(int channel);

    // The parse stage, or null before a build.
    StreamParseFilter* ParseFilter();
    // The names of the stages in the graph, in the order they were added.
    std::vector<std::string> StageNames() const;
    bool HasSound() const;

    // Waits until every channel shows the picture at the position.
    bool WaitForPictures(int timeoutMs);
    // Waits until playing has reached the end of the recording.
    bool WaitForCompletion(int timeoutMs);
    std::uint64_t DroppedPictures() const;

    // Media graphs alive in the process (leak checks).
    static int LiveCount();

private:
    struct Channel;
    struct Sound;

    HResult BuildSingleChannel();
    HResult BuildMultiChannel(int channels);
    void CreateSound(const char* decoderName);
    void ConnectSound();
    HResult CreateChannel(int k, const std::string& rendererName);
    void ConnectChannel(int k);
    void StopWhenReady();
    void Teardown();
    HResult RunLocked();
    HResult PauseLocked(PlayState to);
    void SetPositionLocked(std::int64_t ms, bool keepShownPicture);
    std::int64_t PositionMsLocked() const;
    std::int64_t ShownPictureMs() const;
    std::int64_t DurationMsLocked();

    const int channelCount_;
    const ChannelWindows windows_;
    AudioSink* const soundSink_;
    const std::uint8_t option_;
    const bool freeRun_;

    mutable std::mutex mutex_;
    PlayState state_ = PlayState::Idle;
    float rate_ = 1.0f;
    float appliedRate_ = 1.0f;  // the rate the last Run played at; the sound is stretched to it
    std::int64_t cachedDuration_ = 0;
    int videoPins_ = 0;
    bool loaded_ = false;
    std::string path_;
    std::vector<std::string> stages_;

    PlaybackSync sync_;
    std::unique_ptr<StreamParseFilter> parse_;
    std::array<std::unique_ptr<Channel>, kMaxChannels> channels_;
    std::unique_ptr<Sound> sound_;
    std::unique_ptr<DemuxReader> reader_;
    std::unique_ptr<FrameScheduler> scheduler_;

    static std::atomic<int> live_;
};

}  // namespace kx
