#include "playback/CMediaGraph.h"

#include "app/core/DebugLog.h"
#include "playback/AudioDecoder.h"
#include "playback/AudioRenderer.h"
#include "playback/DemuxReader.h"
#include "playback/FrameQueue.h"
#include "playback/FrameScheduler.h"
#include "playback/PacketQueue.h"
#include "playback/PinCount.h"
#include "playback/StageNames.h"
#include "playback/StreamParseFilter.h"
#include "playback/VideoDecoder.h"
#include "playback/VideoRenderer.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace kx {

namespace {

constexpr std::size_t kVideoFrames = 3;
constexpr std::size_t kSoundFrames = 16;
constexpr int kMaxDecoderThreads = 4;
constexpr std::int64_t kUnitsPerMs = 10'000;  // 100-ns units
constexpr float kMinRate = 0.5f;
constexpr float kMaxRate = 2.0f;

// The i-th (from 1) pin of a kind, as its index among all pins; -1 when there is none.
int PinIndex(const std::vector<OutputPin>& pins, PinMedia media, int nth) {
    for (std::size_t p = 0; p < pins.size(); ++p)
        if (pins[p].media == media && --nth == 0) return static_cast<int>(p);
    return -1;
}

}  // namespace

struct CMediaGraph::Channel {
    int pin = -1;
    std::unique_ptr<PacketQueue> packets;
    std::unique_ptr<FrameQueue> frames;
    std::unique_ptr<VideoDecoder> decoder;
    std::unique_ptr<VideoRenderer> renderer;
    bool connected = false;
};

struct CMediaGraph::Sound {
    int pin = -1;
    std::unique_ptr<PacketQueue> packets;
    std::unique_ptr<FrameQueue> frames;
    std::unique_ptr<AudioDecoder> decoder;
    std::unique_ptr<AudioRenderer> renderer;  // exists while the sink is open
    AudioFormat format;
    bool connected = false;
};

std::atomic<int> CMediaGraph::live_{0};

int CMediaGraph::LiveCount() { return live_.load(); }

CMediaGraph::CMediaGraph(const GraphSettings& settings)
    : channelCount_(std::clamp(settings.channelCount, 1, kMaxChannels)),
      windows_(settings.windows),
      soundSink_(settings.sound),
      option_(settings.option),
      freeRun_(settings.freeRun) {
    sync_.freeRun = freeRun_;
    ++live_;
}

CMediaGraph::~CMediaGraph() {
    {
        std::lock_guard lock(mutex_);
        Teardown();
    }
    --live_;
}

BuildOutcome CMediaGraph::Build(const std::string& path, std::uintptr_t context, std::int32_t locator) {
    std::lock_guard lock(mutex_);
    Teardown();  // a graph built before, completely or in part
    state_ = PlayState::Idle;
    videoPins_ = 0;
    if (path.empty()) return {kEPointer, true};
    path_ = path;
    stages_.clear();
    parse_ = std::make_unique<StreamParseFilter>();
    stages_.push_back(stage::kParseFilter);
    parse_->SetOption(option_);
    parse_->SetSource(context, locator);
    const HResult loaded = parse_->Load(path);
    if (!Succeeded(loaded)) return {loaded, true};
    videoPins_ = CountVideoPins(*parse_);
    if (videoPins_ == 0) return {loaded, false};
    return {videoPins_ == 1 ? BuildSingleChannel() : BuildMultiChannel(channelCount_), false};
}

// The sound stages: a decoder for compressed sound, and the renderer, which exists only when
// the sound device opens; without it the recording plays silently.
void CMediaGraph::CreateSound(const char* decoderName) {
    const int count = CountAudioPins(*parse_);
    if (count <= 0) return;
    if (count < kPcmAudioPins) stages_.push_back(decoderName);
    const int pin = PinIndex(parse_->Pins(), PinMedia::Audio, 1);
    if (!soundSink_ || pin < 0) return;
    const OutputPin& info = parse_->Pins()[pin];
    auto sound = std::make_unique<Sound>();
    sound->pin = pin;
    sound->packets = std::make_unique<PacketQueue>([this] {
        if (reader_) reader_->Wake();
    });
    sound->frames = std::make_unique<FrameQueue>(kSoundFrames, sync_.serial, [this] {
        if (scheduler_) scheduler_->Wake();
    });
    sound->decoder = std::make_unique<AudioDecoder>(info, *sound->packets, *sound->frames, [this] {
        if (scheduler_) scheduler_->Wake();
    });
    sound->renderer = std::make_unique<AudioRenderer>(*sound->frames, *sound->decoder, sync_);
    const auto format = soundSink_->Open({info.sampleRate, info.channels}, *sound->renderer);
    if (!format) {
        DebugLog("playback: no sound device; playing without sound");
        return;
    }
    sound->format = *format;
    sound->renderer->SetFormat(*format);
    stages_.push_back(stage::kAudioRenderer);
    sound_ = std::move(sound);
}

void CMediaGraph::ConnectSound() {
    if (!sound_) return;
    sound_->connected = sound_->decoder->Connect(sound_->format);
    if (!sound_->connected) {
        soundSink_->Close();
        sound_->renderer.reset();
    }
    sync_.soundMaster = sound_->connected;
}

HResult CMediaGraph::CreateChannel(int k, const std::string& rendererName) {
    auto channel = std::make_unique<Channel>();
    channel->pin = PinIndex(parse_->Pins(), PinMedia::Video, k);
    stages_.push_back(stage::VideoDecoder(k));
    stages_.push_back(stage::ColourConverter(k));
    stages_.push_back(rendererName);
    VideoSink* window = windows_[k - 1];
    if (!window) return kEPointer;  // a renderer needs its window
    // Every decoder may use every core: when one channel is cheaper to decode (a smaller rear
    // picture) or has ended, the other takes the idle cores.
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const int threads = std::clamp(static_cast<int>(cores), 1, kMaxDecoderThreads);
    channel->packets = std::make_unique<PacketQueue>([this] {
        if (reader_) reader_->Wake();
    });
    channel->frames = std::make_unique<FrameQueue>(kVideoFrames, sync_.serial, [this] {
        if (scheduler_) scheduler_->Wake();
    });
    channel->decoder = std::make_unique<VideoDecoder>(parse_->Pins()[channel->pin], *channel->packets,
                                                      *channel->frames, threads, [this] {
                                                          if (scheduler_) scheduler_->Wake();
                                                      });
    channel->renderer = std::make_unique<VideoRenderer>(*window, *channel->frames, *channel->decoder);
    channels_[k - 1] = std::move(channel);
    return kSOk;
}

void CMediaGraph::ConnectChannel(int k) {
    Channel& channel = *channels_[k - 1];
    channel.connected = channel.decoder->Connect();
}

HResult CMediaGraph::BuildSingleChannel() {
    CreateSound(stage::kAudioDecoderSingle);
    if (const HResult hr = CreateChannel(1, stage::kVideoRendererSingle); !Succeeded(hr)) return hr;
    cachedDuration_ = 0;
    ConnectSound();
    ConnectChannel(1);
    StopWhenReady();
    return kSOk;
}

HResult CMediaGraph::BuildMultiChannel(int channels) {
    CreateSound(stage::kAudioDecoderMulti);
    ConnectSound();
    const int built = std::min({channels, videoPins_, kMaxChannels});
    for (int k = 1; k <= built; ++k) {
        if (const HResult hr = CreateChannel(k, stage::VideoRendererMulti(k)); !Succeeded(hr)) return hr;
        cachedDuration_ = 0;
        ConnectChannel(k);
    }
    StopWhenReady();
    return kSOk;
}

// Starts the threads; the presenting thread shows each channel's first picture while the
// graph stands stopped.
void CMediaGraph::StopWhenReady() {
    std::vector<PacketQueue*> queues(parse_->Pins().size(), nullptr);
    std::vector<VideoRenderer*> renderers;
    for (auto& channel : channels_) {
        if (!channel || !channel->connected) continue;
        queues[channel->pin] = channel->packets.get();
        renderers.push_back(channel->renderer.get());
    }
    const bool sound = sound_ && sound_->connected;
    if (sound) queues[sound_->pin] = sound_->packets.get();

    cachedDuration_ = parse_->VideoDuration();
    sync_.serial = 1;
    sync_.targetMs = 0;
    sync_.soundClock.Reset(0, 1, true);
    sync_.systemClock.Reset(0, 1, true);
    reader_ = std::make_unique<DemuxReader>(parse_->Demux(), parse_->Pins(), queues);
    scheduler_ = std::make_unique<FrameScheduler>(renderers, sound ? sound_->renderer.get() : nullptr, sync_,
                                                  static_cast<double>(cachedDuration_) / 1e7);
    for (auto& channel : channels_)
        if (channel && channel->connected) channel->decoder->Start();
    if (sound) sound_->decoder->Start();
    scheduler_->Start();
    reader_->Start({1, 0, 1.0f});
    state_ = PlayState::Stopped;
    loaded_ = true;
}

void CMediaGraph::Teardown() {
    if (!parse_) return;
    state_ = PlayState::Stopped;
    sync_.running = false;
    sync_.playing = false;
    if (scheduler_) scheduler_->Stop();
    if (sound_ && sound_->renderer) soundSink_->Close();
    for (auto& channel : channels_) {
        if (!channel || !channel->packets) continue;
        channel->packets->Abort();
        channel->frames->Abort();
    }
    if (sound_) {
        sound_->packets->Abort();
        sound_->frames->Abort();
    }
    for (auto& channel : channels_)
        if (channel && channel->decoder) channel->decoder->Join();
    if (sound_) sound_->decoder->Join();
    if (reader_) reader_->Stop();

    // Released in the graph's fixed order: sound renderer, renderers, decoders, sound
    // decoder, parse stage, then what is left.
    scheduler_.reset();
    if (sound_) sound_->renderer.reset();
    for (auto& channel : channels_)
        if (channel) channel->renderer.reset();
    for (auto& channel : channels_)
        if (channel) channel->decoder.reset();
    if (sound_) sound_->decoder.reset();
    reader_.reset();
    parse_.reset();
    for (auto& channel : channels_) channel.reset();
    sound_.reset();
    loaded_ = false;
    stages_.clear();
}

HResult CMediaGraph::Run() {
    std::lock_guard lock(mutex_);
    return RunLocked();
}

HResult CMediaGraph::RunLocked() {
    if (state_ != PlayState::Paused && state_ != PlayState::Stopped) return kVfwWrongState;
    if (PositionMsLocked() == DurationMsLocked()) SetPositionLocked(0, false);
    float rate = rate_;
    if (rate != 1.0f) {
        rate = std::max(std::min(rate, kMaxRate), kMinRate);
        if (std::isnan(rate)) rate = 1.0f;
        rate_ = rate;
    }
    if (rate != appliedRate_) {
        appliedRate_ = rate;
        // Sound already stretched to the old rate is thrown away: read it again from here, but
        // never from before the picture on the screen, which would step the pictures back.
        if (sound_ && sound_->connected) SetPositionLocked(std::max(PositionMsLocked(), ShownPictureMs()), true);
    }
    {
        std::lock_guard sync(sync_.mutex);
        sync_.soundClock.SetSpeed(rate);
        sync_.systemClock.SetSpeed(rate);
        sync_.running = true;
    }
    if (sound_ && sound_->connected) soundSink_->SetPaused(false);
    state_ = PlayState::Running;
    if (scheduler_) scheduler_->Wake();
    return kSOk;
}

HResult CMediaGraph::PauseLocked(PlayState to) {
    {
        std::lock_guard sync(sync_.mutex);
        const double position = sync_.MasterTime();
        const int serial = sync_.serial.load();
        sync_.running = false;
        sync_.playing = false;
        sync_.soundClock.Reset(position, serial, true);
        sync_.systemClock.Reset(position, serial, true);
    }
    if (sound_ && sound_->connected) soundSink_->SetPaused(true);
    state_ = to;
    if (scheduler_) scheduler_->Wake();
    return kSOk;
}

HResult CMediaGraph::Pause() {
    std::lock_guard lock(mutex_);
    if (state_ != PlayState::Running) return kSOk;
    return PauseLocked(PlayState::Paused);
}

HResult CMediaGraph::Stop() {
    std::lock_guard lock(mutex_);
    if (state_ != PlayState::Running && state_ != PlayState::Paused) return kVfwWrongState;
    return PauseLocked(PlayState::Stopped);
}

PlayState CMediaGraph::State() const {
    std::lock_guard lock(mutex_);
    return state_;
}

int CMediaGraph::VideoPinCount() const {
    std::lock_guard lock(mutex_);
    return videoPins_;
}

bool CMediaGraph::Loaded() const {
    std::lock_guard lock(mutex_);
    return loaded_;
}

void CMediaGraph::SetRateValue(float rate) {
    std::lock_guard lock(mutex_);
    rate_ = rate;
}

float CMediaGraph::Rate() const {
    std::lock_guard lock(mutex_);
    return rate_;
}

HResult CMediaGraph::SetPosition(std::int64_t position100ns) {
    std::lock_guard lock(mutex_);
    if (!loaded_) return kENotImpl;
    SetPositionLocked(position100ns / kUnitsPerMs, false);
    return kSOk;
}

void CMediaGraph::SetPositionLocked(std::int64_t ms, bool keepShownPicture) {
    ms = std::clamp<std::int64_t>(ms, 0, DurationMsLocked());
    int serial = 0;
    {
        std::lock_guard sync(sync_.mutex);
        serial = sync_.serial.load() + 1;
        sync_.serial = serial;
        sync_.targetMs = ms;
        sync_.playing = false;
        sync_.soundClock.Reset(static_cast<double>(ms) / 1000.0, serial, true);
        sync_.systemClock.Reset(static_cast<double>(ms) / 1000.0, serial, true);
    }
    if (keepShownPicture) scheduler_->KeepShownPicture(serial);
    reader_->Seek({serial, ms, appliedRate_});
    // Decoders waiting for room for a picture of before the seek drop it now.
    for (auto& channel : channels_)
        if (channel && channel->frames) channel->frames->Wake();
    if (sound_ && sound_->connected) {
        sound_->frames->Wake();
        soundSink_->Flush();
    }
    scheduler_->Wake();
}

// The latest time any channel shows, rounded up to the millisecond that still lies inside
// that picture's span.
std::int64_t CMediaGraph::ShownPictureMs() const {
    double shown = -1;
    for (const auto& channel : channels_)
        if (channel && channel->renderer) shown = std::max(shown, channel->renderer->ShownTime());
    return shown < 0 ? 0 : static_cast<std::int64_t>(std::ceil(shown * 1000.0 - 1e-6));
}

std::int64_t CMediaGraph::PositionMsLocked() const {
    if (!loaded_) return 0;
    const double ms = std::floor(sync_.MasterTime() * 1000.0 + 1e-6);
    return std::clamp<std::int64_t>(static_cast<std::int64_t>(ms), 0, cachedDuration_ / kUnitsPerMs);
}

std::int64_t CMediaGraph::Position100ns() const {
    std::lock_guard lock(mutex_);
    return PositionMsLocked() * kUnitsPerMs;
}

std::int64_t CMediaGraph::DurationMsLocked() {
    if (!loaded_) return 0;
    if (cachedDuration_ == 0) cachedDuration_ = parse_->VideoDuration();
    return cachedDuration_ / kUnitsPerMs;
}

std::int64_t CMediaGraph::Duration100ns() {
    std::lock_guard lock(mutex_);
    return DurationMsLocked() * kUnitsPerMs;
}

HResult CMediaGraph::SetVolumeLevel(int level) {
    std::lock_guard lock(mutex_);
    if (!sound_ || !sound_->connected) return kENotImpl;
    sound_->renderer->SetVolumeLevel(level);
    return kSOk;
}

bool CMediaGraph::GrabChannelImage(int index, ChannelImage& image) const {
    std::lock_guard lock(mutex_);
    if (index < 0 || index >= kMaxChannels) return false;
    // Channel index i needs renderer i + 1 and at least i + 1 channels; index 3 exactly 4.
    const bool countFits = index == 3 ? channelCount_ == 4 : channelCount_ >= index + 1;
    const auto& channel = channels_[index];
    if (!countFits || !channel || !channel->renderer) return false;
    return channel->renderer->Grab(image);
}

HResult CMediaGraph::SetRearMirror(bool on) {
    std::lock_guard lock(mutex_);
    const auto& channel = channels_[1];
    if (!channel || !channel->decoder) return 0;
    channel->decoder->PutParam(kParamFlip, 1);
    return channel->decoder->PutParam(kParamMirror, on ? 1 : 0);
}

HResult CMediaGraph::RepaintFirstChannel() {
    std::lock_guard lock(mutex_);
    const auto& channel = channels_[0];
    if (!channel || !channel->renderer) return 0;
    channel->renderer->RequestRepaint();
    if (scheduler_) scheduler_->Wake();
    return kSOk;
}

HResult CMediaGraph::RepositionChannels() {
    std::lock_guard lock(mutex_);
    for (int k = 1; k <= channelCount_ && k <= videoPins_ && k <= kMaxChannels; ++k) {
        const auto& channel = channels_[k - 1];
        if (channel && channel->renderer) channel->renderer->RequestRepaint();
    }
    if (scheduler_) scheduler_->Wake();
    return kSOk;
}

VideoDecoder* CMediaGraph::Decoder(int channel) {
    std::lock_guard lock(mutex_);
    if (channel < 1 || channel > kMaxChannels || !channels_[channel - 1]) return nullptr;
    return channels_[channel - 1]->decoder.get();
}

StreamParseFilter* CMediaGraph::ParseFilter() {
    std::lock_guard lock(mutex_);
    return parse_.get();
}

std::vector<std::string> CMediaGraph::StageNames() const {
    std::lock_guard lock(mutex_);
    return stages_;
}

bool CMediaGraph::HasSound() const {
    std::lock_guard lock(mutex_);
    return sound_ && sound_->connected;
}

bool CMediaGraph::WaitForPictures(int timeoutMs) {
    FrameScheduler* scheduler = nullptr;
    {
        std::lock_guard lock(mutex_);
        scheduler = scheduler_.get();
    }
    return scheduler ? scheduler->WaitForPictures(timeoutMs) : false;
}

bool CMediaGraph::WaitForCompletion(int timeoutMs) {
    FrameScheduler* scheduler = nullptr;
    {
        std::lock_guard lock(mutex_);
        scheduler = scheduler_.get();
    }
    return scheduler ? scheduler->WaitForCompletion(timeoutMs) : false;
}

std::uint64_t CMediaGraph::DroppedPictures() const {
    std::lock_guard lock(mutex_);
    return scheduler_ ? scheduler_->DroppedPictures() : 0;
}

}  // namespace kx
