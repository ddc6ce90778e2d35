#include "sim/SoundTrack.h"

#include <algorithm>
#include <cmath>
#include <numbers>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
}

namespace kx::sim {

namespace {

constexpr std::uint32_t kAacFrameSamples = 1024;
constexpr std::uint32_t kPcmChunkSamples = 2205;  // 100 ms
constexpr std::uint16_t kAacMaxFrameBytes = 768;  // 6144 bits per channel
constexpr std::uint64_t kSoundPurpose = 4;
constexpr double kIdleHz = 190;
constexpr double kTopSpeedHz = 250;

std::string AvErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

}  // namespace

SoundTrack::SoundTrack(const Drive& drive, std::uint64_t seed) : drive_(drive), random_(seed, kSoundPurpose) {}

SoundTrack::~SoundTrack() {
    avcodec_free_context(&context_);
    av_frame_free(&frame_);
    av_packet_free(&packet_);
}

bool SoundTrack::Fail(const std::string& what, int code) {
    error_ = "AAC encoder: " + what + (code < 0 ? ": " + AvErrorText(code) : std::string());
    return false;
}

std::uint32_t SoundTrack::ChunkSamples() const { return kind_ == AudioKind::Aac ? kAacFrameSamples : kPcmChunkSamples; }

bool SoundTrack::Open(AudioKind kind, double seconds) {
    kind_ = kind;
    const std::uint64_t chunk = ChunkSamples();
    const auto samples = static_cast<std::uint64_t>(std::ceil(seconds * kSampleRate));
    samplesLeft_ = (samples + chunk - 1) / chunk * chunk;
    if (kind != AudioKind::Aac) return true;

    const AVCodec* codec = avcodec_find_encoder_by_name("aac");
    if (!codec) return Fail("libavcodec has no AAC encoder", 0);
    context_ = avcodec_alloc_context3(codec);
    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    if (!context_ || !frame_ || !packet_) return Fail("out of memory", 0);
    context_->sample_fmt = AV_SAMPLE_FMT_FLTP;
    context_->sample_rate = kSampleRate;
    av_channel_layout_default(&context_->ch_layout, 1);
    context_->bit_rate = 8 * kAacBytesPerSecond;
    context_->time_base = AVRational{1, kSampleRate};
    context_->thread_count = 1;
    // The AudioSpecificConfig goes into the stream's format, the frames stay raw (no ADTS).
    context_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (const int rc = avcodec_open2(context_, codec, nullptr); rc < 0) return Fail("cannot open", rc);
    frame_->format = AV_SAMPLE_FMT_FLTP;
    frame_->sample_rate = kSampleRate;
    frame_->nb_samples = context_->frame_size;
    av_channel_layout_copy(&frame_->ch_layout, &context_->ch_layout);
    if (const int rc = av_frame_get_buffer(frame_, 0); rc < 0) return Fail("no sample buffer", rc);
    return true;
}

AviStreamSpec SoundTrack::Stream() const {
    AviStreamSpec spec;
    spec.chunkType[0] = 'w';
    spec.chunkType[1] = 'b';
    spec.header.type = kFccAuds;
    if (kind_ == AudioKind::Aac) {
        spec.header.scale = kAacFrameSamples;
        spec.header.rate = kSampleRate;
        spec.header.sampleSize = 0;  // one frame per chunk, of varying size
        spec.header.suggestedBufferSize = kAacMaxFrameBytes;
        const std::vector<std::uint8_t> config(context_->extradata, context_->extradata + context_->extradata_size);
        spec.format = MakeWaveFormat(kWaveFormatAac, 1, kSampleRate, kAacBytesPerSecond, kAacMaxFrameBytes, 16, config);
    } else {
        spec.header.scale = 2;
        spec.header.rate = 2 * kSampleRate;
        spec.header.sampleSize = 2;
        spec.header.suggestedBufferSize = kPcmChunkSamples * 2;
        spec.format = MakeWaveFormat(kWaveFormatPcm, 1, kSampleRate, 2 * kSampleRate, 2, 16, {}, true);
    }
    return spec;
}

void SoundTrack::Synthesize(float* out, int count) {
    for (int i = 0; i < count; ++i, ++samplesMade_) {
        const double t = static_cast<double>(samplesMade_) / kSampleRate;
        const double load = std::clamp(drive_.SpeedKmhAt(t) / 110, 0.0, 1.2);
        phase_ += 2 * std::numbers::pi * (kIdleHz + (kTopSpeedHz - kIdleHz) * load) / kSampleRate;
        if (phase_ > 4 * std::numbers::pi) phase_ -= 4 * std::numbers::pi;
        // The firing note, its octave and a half-rate rumble, and a little road noise.
        const double hum = 0.55 * std::sin(phase_) + 0.25 * std::sin(2 * phase_) + 0.2 * std::sin(phase_ / 2);
        const double noise = random_.Range(-1, 1);
        out[i] = static_cast<float>((0.12 + 0.35 * load) * hum + 0.02 * (0.5 + load) * noise);
    }
}

bool SoundTrack::Next(std::vector<std::uint8_t>& chunk) {
    if (kind_ == AudioKind::Aac) return NextAac(chunk);
    if (samplesLeft_ == 0) return false;
    float samples[kPcmChunkSamples];
    Synthesize(samples, kPcmChunkSamples);
    samplesLeft_ -= kPcmChunkSamples;
    chunk.resize(2 * kPcmChunkSamples);
    for (std::uint32_t i = 0; i < kPcmChunkSamples; ++i) {
        const auto v = static_cast<std::int16_t>(std::lround(std::clamp(samples[i], -1.0f, 1.0f) * 32767));
        WriteLE16(chunk.data() + 2 * i, static_cast<std::uint16_t>(v));
    }
    return true;
}

bool SoundTrack::NextAac(std::vector<std::uint8_t>& chunk) {
    for (;;) {
        const int rc = avcodec_receive_packet(context_, packet_);
        if (rc == 0) {
            chunk.assign(packet_->data, packet_->data + packet_->size);
            av_packet_unref(packet_);
            return true;
        }
        if (rc == AVERROR_EOF) return false;
        if (rc != AVERROR(EAGAIN)) return Fail("cannot encode", rc);
        int sent = 0;
        if (samplesLeft_ > 0) {
            if ((sent = av_frame_make_writable(frame_)) < 0) return Fail("cannot encode", sent);
            Synthesize(reinterpret_cast<float*>(frame_->data[0]), frame_->nb_samples);
            samplesLeft_ -= static_cast<std::uint64_t>(frame_->nb_samples);
            frame_->pts = static_cast<std::int64_t>(samplesMade_) - frame_->nb_samples;
            sent = avcodec_send_frame(context_, frame_);
        } else if (!flushed_) {
            flushed_ = true;
            sent = avcodec_send_frame(context_, nullptr);
        } else {
            return false;
        }
        if (sent < 0) return Fail("cannot encode", sent);
    }
}

}  // namespace kx::sim
