#pragma once
// The player of the main window: it keeps the channel windows and the sound device, and one
// media graph per opened recording, and gives the rest of the program its playback
// operations with the results they have always had. Positions and durations are milliseconds.
//
// The calls may come from the opener's worker thread and from the UI thread; each takes the
// player's lock, so two of them never interleave.

#include "playback/CMediaGraph.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace kx {

class CPlaybackGraph {
public:
    // Whether the constructor marks the machine's registry as using the media graph (the
    // viewer does; a command-line tool need not).
    enum class RegistryMark { Write, Skip };

    explicit CPlaybackGraph(RegistryMark mark = RegistryMark::Write);
    ~CPlaybackGraph();
    CPlaybackGraph(const CPlaybackGraph&) = delete;
    CPlaybackGraph& operator=(const CPlaybackGraph&) = delete;

    // The main window's two video screens: channel count 2, channels 3 and 4 without windows.
    // Creates an empty media graph (Idle, rate 1.0) when there is none yet.
    void AttachWindows(VideoSink* front, VideoSink* rear);
    // Up to four windows and the channel count (1..4).
    void AttachWindows(const ChannelWindows& windows, int channelCount);
    // The sound device; null for none. Used by the graphs built afterwards.
    void AttachSound(AudioSink* sink);
    // Every picture is shown as soon as it is decoded, with no clock (batch work, benchmarks).
    // Used by the graphs built afterwards.
    void SetFreeRun(bool freeRun);

    // The byte handed to the parse stage: 1 at construction; the opener sets 0 before every open.
    void SetOption(std::uint8_t option);
    std::uint8_t Option() const;
    int ChannelCount() const;

    // Opens the recording at `path` (disk: context 0, locator -1; card: the card library's
    // open device and the file's identifier). False when channel 1 has no window, the path is
    // empty or the recording cannot be opened; the player then has no media graph.
    bool OpenRecording(const std::string& path, std::uintptr_t context, std::int32_t locator);
    // Tears the media graph down and deletes it.
    void CloseRecording();

    // 1, or 0 without a media graph: pauses, stores the rate, and plays on only if it played.
    int SetRate(float rate);
    // 1 on success or without a media graph, 0 when the seek fails.
    int SeekMs(int ms);
    std::uint64_t GetPositionMs();
    std::uint64_t GetDurationMs();
    // `percent` 0..99 in use; see VolumeLevelForPercent. 1 without a media graph; 0 when the
    // graph has no sound.
    int SetVolume(int percent);
    // Channel index 0..3 at the channel's own size; false without that channel.
    bool GrabChannelImage(int channel, ChannelImage& image);

    // The media graph's operations on the current graph; kVfwWrongState (Run, Stop) or 0
    // without one.
    HResult Run();
    HResult Pause();
    HResult Stop();
    PlayState GetPlayState() const;  // Idle without a media graph
    int GetVideoPinCount() const;
    HResult SetRearMirror(bool on);
    HResult RepaintFirstChannel();
    HResult RepositionChannels();
    // PutParam on channel k's decoder (1..4); kENoInterface without that decoder.
    HResult PutDecoderParam(int channel, unsigned param, int value);

    // The parse stage's telemetry packets (see StreamParseFilter::NextTextPacket);
    // kENoInterface without a media graph or parse stage.
    HResult NextTextPacket(std::uint8_t* buffer, std::uint32_t& length, std::uint32_t& time);

    // The current media graph, or null. Valid until the next open or close.
    CMediaGraph* MediaGraph();

private:
    GraphSettings Settings() const;

    mutable std::mutex mutex_;
    int channelCount_ = 2;
    ChannelWindows windows_{};
    AudioSink* sound_ = nullptr;
    bool freeRun_ = false;
    std::uint8_t option_ = 1;
    std::unique_ptr<CMediaGraph> graph_;
};

}  // namespace kx
