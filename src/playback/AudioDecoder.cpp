#include "playback/AudioDecoder.h"

#include "app/avi/AviFormat.h"
#include "app/core/DebugLog.h"

#include <cmath>
#include <cstring>

extern "C" {
#include <libavutil/channel_layout.h>
}

namespace kx {

namespace {

// A jump in the sound's times larger than this is a gap in the recording, not rounding.
constexpr double kGapSeconds = 0.1;

}  // namespace

AudioDecoder::AudioDecoder(const OutputPin& pin, PacketQueue& packets, FrameQueue& frames,
                           std::function<void()> onFinished)
    : pin_(pin), packets_(packets), frames_(frames), onFinished_(std::move(onFinished)) {}

AudioDecoder::~AudioDecoder() {
    Join();
    av_channel_layout_uninit(&outputLayout_);
}

bool AudioDecoder::Connect(const AudioFormat& output) {
    if (pin_.channels < 1 || pin_.channels > 8 || pin_.sampleRate <= 0 || output.channels < 1 || output.sampleRate <= 0)
        return false;
    output_ = output;
    AVChannelLayout inputLayout;
    av_channel_layout_default(&inputLayout, pin_.channels);
    av_channel_layout_default(&outputLayout_, output.channels);
    AVSampleFormat inputFormat = AV_SAMPLE_FMT_NONE;

    if (pin_.formatTag == kWaveFormatPcm) {
        if (pin_.bitsPerSample == 16) pcmFormat_ = AV_SAMPLE_FMT_S16;
        else if (pin_.bitsPerSample == 8) pcmFormat_ = AV_SAMPLE_FMT_U8;
        else return false;
        inputFormat = pcmFormat_;
    } else if (pin_.formatTag == kWaveFormatAac) {
        const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_AAC);
        CodecContextPtr context(codec ? avcodec_alloc_context3(codec) : nullptr);
        if (!context) return false;
        context->sample_rate = pin_.sampleRate;
        av_channel_layout_copy(&context->ch_layout, &inputLayout);
        context->pkt_timebase = AVRational{static_cast<int>(pin_.scale), static_cast<int>(pin_.rate)};
        if (!pin_.codecConfig.empty()) {
            context->extradata = static_cast<std::uint8_t*>(
                av_mallocz(pin_.codecConfig.size() + AV_INPUT_BUFFER_PADDING_SIZE));
            if (!context->extradata) return false;
            std::memcpy(context->extradata, pin_.codecConfig.data(), pin_.codecConfig.size());
            context->extradata_size = static_cast<int>(pin_.codecConfig.size());
        }
        if (avcodec_open2(context.get(), codec, nullptr) < 0) return false;
        inputFormat = context->sample_fmt;
        codec_ = std::move(context);
    } else {
        DebugLog("%s: no decoder for sound format 0x%04X", pin_.name.c_str(), pin_.formatTag);
        return false;
    }

    SwrContext* resampler = nullptr;
    if (swr_alloc_set_opts2(&resampler, &outputLayout_, AV_SAMPLE_FMT_S16, output.sampleRate, &inputLayout,
                            inputFormat, pin_.sampleRate, 0, nullptr) < 0)
        return false;
    resampler_.reset(resampler);
    return swr_init(resampler) >= 0;
}

void AudioDecoder::Start() {
    if (resampler_ && !thread_.joinable()) thread_ = std::thread([this] { Run(); });
}

void AudioDecoder::Join() {
    if (thread_.joinable()) thread_.join();
}

void AudioDecoder::Restart(const SeekMark& mark) {
    mark_ = mark;
    haveTime_ = false;
    if (codec_) avcodec_flush_buffers(codec_.get());
    swr_init(resampler_.get());
    tempoStarted_ = false;
    tempo_ = AudioTempo();
    if (mark.tempo != 1.0f && !tempo_.Open(output_, mark.tempo)) DebugLog("sound: cannot stretch to %.2f", mark.tempo);
}

FramePtr AudioDecoder::PcmFrame(const AVPacket& packet) const {
    const int bytesPerFrame = pin_.channels * av_get_bytes_per_sample(pcmFormat_);
    const int samples = packet.size / bytesPerFrame;
    FramePtr frame = MakeFrame();
    if (!frame || samples <= 0) return nullptr;
    frame->format = pcmFormat_;
    frame->sample_rate = pin_.sampleRate;
    frame->nb_samples = samples;
    av_channel_layout_default(&frame->ch_layout, pin_.channels);
    if (av_frame_get_buffer(frame.get(), 0) < 0) return nullptr;
    std::memcpy(frame->data[0], packet.data, static_cast<std::size_t>(samples * bytesPerFrame));
    return frame;
}

// Converts one decoded frame to the sink's format and passes it on with its recording time.
bool AudioDecoder::Convert(const AVFrame& decoded, std::int64_t pts) {
    FramePtr out = MakeFrame();
    if (!out) return true;
    out->format = AV_SAMPLE_FMT_S16;
    out->sample_rate = output_.sampleRate;
    av_channel_layout_copy(&out->ch_layout, &outputLayout_);
    if (swr_convert_frame(resampler_.get(), out.get(), &decoded) < 0 || out->nb_samples <= 0) return true;

    const double inputTime = static_cast<double>(pts) * pin_.UnitSeconds();
    double time = nextTime_;
    if (!haveTime_ || std::fabs(inputTime - nextTime_) > kGapSeconds) time = inputTime;
    haveTime_ = true;
    nextTime_ = time + static_cast<double>(out->nb_samples) / output_.sampleRate;
    if (!Trim(out, time)) return true;
    return Deliver(std::move(out), time);
}

// Drops the samples before the seek target; false when nothing is left.
bool AudioDecoder::Trim(FramePtr& frame, double& time) const {
    const double target = static_cast<double>(mark_.targetMs) / 1000.0;
    const double end = time + static_cast<double>(frame->nb_samples) / output_.sampleRate;
    if (end <= target) return false;
    if (time >= target) return true;
    const int skip = static_cast<int>(std::lround((target - time) * output_.sampleRate));
    if (skip <= 0) return true;
    if (skip >= frame->nb_samples) return false;
    FramePtr rest = MakeFrame();
    rest->format = frame->format;
    rest->sample_rate = frame->sample_rate;
    rest->nb_samples = frame->nb_samples - skip;
    av_channel_layout_copy(&rest->ch_layout, &frame->ch_layout);
    if (av_frame_get_buffer(rest.get(), 0) < 0) return false;
    const std::size_t bytesPerFrame = static_cast<std::size_t>(output_.channels) * 2;
    std::memcpy(rest->data[0], frame->data[0] + static_cast<std::size_t>(skip) * bytesPerFrame,
                static_cast<std::size_t>(rest->nb_samples) * bytesPerFrame);
    frame = std::move(rest);
    time += static_cast<double>(skip) / output_.sampleRate;
    return true;
}

bool AudioDecoder::Deliver(FramePtr frame, double time) {
    if (!tempo_.IsOpen()) return Queue(std::move(frame), time, 1.0 / output_.sampleRate);
    if (!tempoStarted_) {
        tempoTime_ = time;
        tempoStarted_ = true;
    }
    if (!tempo_.Push(frame.get())) return true;
    return DrainTempo();
}

// Each stretched sample stands for `tempo` samples of the recording: that keeps the sound's
// times, and so the sound clock, in the recording's time.
bool AudioDecoder::DrainTempo() {
    const double secondsPerSample = static_cast<double>(mark_.tempo) / output_.sampleRate;
    while (FramePtr out = tempo_.Pull()) {
        const double time = tempoTime_;
        tempoTime_ += secondsPerSample * out->nb_samples;
        if (!Queue(std::move(out), time, secondsPerSample)) return false;
    }
    return true;
}

bool AudioDecoder::Decode(const QueuedPacket& in) {
    if (in.packet && codec_) {
        if (avcodec_send_packet(codec_.get(), in.packet.get()) < 0) return true;
        for (;;) {
            FramePtr frame = MakeFrame();
            if (!frame || avcodec_receive_frame(codec_.get(), frame.get()) < 0) return true;
            const std::int64_t pts =
                frame->best_effort_timestamp != AV_NOPTS_VALUE ? frame->best_effort_timestamp : in.packet->pts;
            if (!Convert(*frame, pts)) return false;
        }
    }
    if (in.packet) {
        FramePtr frame = PcmFrame(*in.packet);
        return !frame || Convert(*frame, in.packet->pts);
    }
    // The end: what the resampler and the stretcher still hold.
    FramePtr rest = MakeFrame();
    if (rest) {
        rest->format = AV_SAMPLE_FMT_S16;
        rest->sample_rate = output_.sampleRate;
        av_channel_layout_copy(&rest->ch_layout, &outputLayout_);
        double time = nextTime_;
        if (swr_convert_frame(resampler_.get(), rest.get(), nullptr) >= 0 && rest->nb_samples > 0 &&
            Trim(rest, time) && !Deliver(std::move(rest), time))
            return false;
    }
    if (tempo_.IsOpen()) {
        tempo_.Push(nullptr);
        return DrainTempo();
    }
    return true;
}

void AudioDecoder::Run() {
    QueuedPacket in;
    int serial = -1;
    while (packets_.Get(in)) {
        if (in.mark.serial != serial) {
            serial = in.mark.serial;
            Restart(in.mark);
        }
        if (!Decode(in)) return;
        if (!in.packet) {
            finished_ = serial;
            if (onFinished_) onFinished_();
        }
    }
}

bool AudioDecoder::Queue(FramePtr frame, double time, double secondsPerSample) {
    QueuedFrame queued;
    queued.serial = mark_.serial;
    queued.time = time;
    queued.duration = secondsPerSample * frame->nb_samples;
    queued.frame = std::move(frame);
    return frames_.Push(std::move(queued));
}

}  // namespace kx
