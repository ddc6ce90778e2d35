#pragma once
// The sound stage: a thread that decodes the sound pin (AAC with libavcodec, or PCM as it
// stands), converts it to the sink's format, drops what lies before the seek target,
// stretches it to the playing rate without changing its pitch, and queues it for the
// renderer with its recording times.

#include "playback/AudioSink.h"
#include "playback/AudioTempo.h"
#include "playback/FrameQueue.h"
#include "playback/OutputPin.h"
#include "playback/PacketQueue.h"

#include <atomic>
#include <functional>
#include <thread>

namespace kx {

class AudioDecoder {
public:
    AudioDecoder(const OutputPin& pin, PacketQueue& packets, FrameQueue& frames, std::function<void()> onFinished);
    ~AudioDecoder();
    AudioDecoder(const AudioDecoder&) = delete;
    AudioDecoder& operator=(const AudioDecoder&) = delete;

    // Prepares decoding to `output`; false when the pin's sound cannot be decoded.
    bool Connect(const AudioFormat& output);
    void Start();
    void Join();
    bool Finished(int serial) const { return finished_.load() == serial; }

private:
    void Run();
    void Restart(const SeekMark& mark);
    bool Decode(const QueuedPacket& in);
    FramePtr PcmFrame(const AVPacket& packet) const;
    bool Convert(const AVFrame& decoded, std::int64_t pts);
    bool Trim(FramePtr& frame, double& time) const;
    bool Deliver(FramePtr frame, double time);
    bool Queue(FramePtr frame, double time, double secondsPerSample);
    bool DrainTempo();

    const OutputPin& pin_;
    PacketQueue& packets_;
    FrameQueue& frames_;
    std::function<void()> onFinished_;
    AudioFormat output_;
    AVChannelLayout outputLayout_{};
    AVSampleFormat pcmFormat_ = AV_SAMPLE_FMT_NONE;
    CodecContextPtr codec_;  // null for PCM
    SwrContextPtr resampler_;
    AudioTempo tempo_;
    std::thread thread_;
    std::atomic<int> finished_{-1};

    // State of the current serial, on the decoder's thread only.
    SeekMark mark_;
    bool haveTime_ = false;
    double nextTime_ = 0;   // recording time of the next converted sample
    bool tempoStarted_ = false;
    double tempoTime_ = 0;  // recording time of the next stretched sample
};

}  // namespace kx
