#include "playback/CPlaybackGraph.h"

#include "app/core/DebugLog.h"
#include "app/core/Registry.h"
#include "playback/StreamParseFilter.h"
#include "playback/VideoDecoder.h"
#include "playback/VolumeLevel.h"

#include <mutex>

extern "C" {
#include <libavutil/log.h>
}

namespace kx {

namespace {

constexpr std::int64_t kUnitsPerMs = 10'000;

// FFmpeg's own messages about damaged data go to the debug log's stream only when it is on.
void QuietFfmpeg() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(DebugLogEnabled() ? AV_LOG_WARNING : AV_LOG_QUIET); });
}

}  // namespace

CPlaybackGraph::CPlaybackGraph(RegistryMark mark) {
    QuietFfmpeg();
    if (mark == RegistryMark::Write) {
        // Nothing reads the value back; a hive that cannot be written is no error.
        const auto key = RegistryKey::Create(RegistryHive::LocalMachine, "SOFTWARE\\Ostrel");
        if (!key || !key->SetDword("usingDShow", 1)) DebugLog("playback: cannot write usingDShow");
    }
}

CPlaybackGraph::~CPlaybackGraph() {
    std::lock_guard lock(mutex_);
    graph_.reset();
}

GraphSettings CPlaybackGraph::Settings() const {
    GraphSettings s;
    s.channelCount = channelCount_;
    s.windows = windows_;
    s.sound = sound_;
    s.option = option_;
    s.freeRun = freeRun_;
    return s;
}

void CPlaybackGraph::AttachWindows(VideoSink* front, VideoSink* rear) { AttachWindows({front, rear, nullptr, nullptr}, 2); }

void CPlaybackGraph::AttachWindows(const ChannelWindows& windows, int channelCount) {
    std::lock_guard lock(mutex_);
    windows_ = windows;
    channelCount_ = std::clamp(channelCount, 1, kMaxChannels);
    if (!graph_) graph_ = std::make_unique<CMediaGraph>(Settings());
}

void CPlaybackGraph::AttachSound(AudioSink* sink) {
    std::lock_guard lock(mutex_);
    sound_ = sink;
}

void CPlaybackGraph::SetFreeRun(bool freeRun) {
    std::lock_guard lock(mutex_);
    freeRun_ = freeRun;
}

void CPlaybackGraph::SetOption(std::uint8_t option) {
    std::lock_guard lock(mutex_);
    option_ = option;
}

std::uint8_t CPlaybackGraph::Option() const {
    std::lock_guard lock(mutex_);
    return option_;
}

int CPlaybackGraph::ChannelCount() const {
    std::lock_guard lock(mutex_);
    return channelCount_;
}

bool CPlaybackGraph::OpenRecording(const std::string& path, std::uintptr_t context, std::int32_t locator) {
    std::lock_guard lock(mutex_);
    if (!windows_[0] || path.empty()) return false;
    if (graph_) {
        graph_->Stop();
        graph_->SetPosition(0);
        graph_.reset();
    }
    graph_ = std::make_unique<CMediaGraph>(Settings());
    const BuildOutcome outcome = graph_->Build(path, context, locator);
    if (outcome.cannotOpen) {
        graph_.reset();
        return false;
    }
    if (!Succeeded(outcome.result)) DebugLog("playback: %s built in part (0x%08X)", path.c_str(), outcome.result);
    return true;
}

void CPlaybackGraph::CloseRecording() {
    std::lock_guard lock(mutex_);
    graph_.reset();
}

int CPlaybackGraph::SetRate(float rate) {
    std::lock_guard lock(mutex_);
    if (!graph_) return 0;
    const PlayState was = graph_->State();
    graph_->Pause();
    graph_->SetRateValue(rate);
    if (was == PlayState::Running) graph_->Run();
    return 1;
}

int CPlaybackGraph::SeekMs(int ms) {
    std::lock_guard lock(mutex_);
    if (!graph_) return 1;
    return Succeeded(graph_->SetPosition(static_cast<std::int64_t>(ms) * kUnitsPerMs)) ? 1 : 0;
}

std::uint64_t CPlaybackGraph::GetPositionMs() {
    std::lock_guard lock(mutex_);
    return graph_ ? static_cast<std::uint64_t>(graph_->Position100ns()) / kUnitsPerMs : 0;
}

std::uint64_t CPlaybackGraph::GetDurationMs() {
    std::lock_guard lock(mutex_);
    return graph_ ? static_cast<std::uint64_t>(graph_->Duration100ns()) / kUnitsPerMs : 0;
}

int CPlaybackGraph::SetVolume(int percent) {
    std::lock_guard lock(mutex_);
    if (!graph_) return 1;
    return Succeeded(graph_->SetVolumeLevel(VolumeLevelForPercent(percent))) ? 1 : 0;
}

bool CPlaybackGraph::GrabChannelImage(int channel, ChannelImage& image) {
    std::lock_guard lock(mutex_);
    return graph_ && graph_->GrabChannelImage(channel, image);
}

HResult CPlaybackGraph::Run() {
    std::lock_guard lock(mutex_);
    return graph_ ? graph_->Run() : kVfwWrongState;
}

HResult CPlaybackGraph::Pause() {
    std::lock_guard lock(mutex_);
    return graph_ ? graph_->Pause() : kSOk;
}

HResult CPlaybackGraph::Stop() {
    std::lock_guard lock(mutex_);
    return graph_ ? graph_->Stop() : kVfwWrongState;
}

PlayState CPlaybackGraph::GetPlayState() const {
    std::lock_guard lock(mutex_);
    return graph_ ? graph_->State() : PlayState::Idle;
}

int CPlaybackGraph::GetVideoPinCount() const {
    std::lock_guard lock(mutex_);
    return graph_ ? graph_->VideoPinCount() : 0;
}

HResult CPlaybackGraph::SetRearMirror(bool on) {
    std::lock_guard lock(mutex_);
    return graph_ ? graph_->SetRearMirror(on) : 0;
}

HResult CPlaybackGraph::RepaintFirstChannel() {
    std::lock_guard lock(mutex_);
    return graph_ ? graph_->RepaintFirstChannel() : 0;
}

HResult CPlaybackGraph::RepositionChannels() {
    std::lock_guard lock(mutex_);
    return graph_ ? graph_->RepositionChannels() : kSOk;
}

HResult CPlaybackGraph::PutDecoderParam(int channel, unsigned param, int value) {
    std::lock_guard lock(mutex_);
    VideoDecoder* decoder = graph_ ? graph_->Decoder(channel) : nullptr;
    return decoder ? decoder->PutParam(param, value) : kENoInterface;
}

HResult CPlaybackGraph::NextTextPacket(std::uint8_t* buffer, std::uint32_t& length, std::uint32_t& time) {
    std::lock_guard lock(mutex_);
    StreamParseFilter* parse = graph_ ? graph_->ParseFilter() : nullptr;
    return parse ? parse->NextTextPacket(buffer, length, time) : kENoInterface;
}

CMediaGraph* CPlaybackGraph::MediaGraph() {
    std::lock_guard lock(mutex_);
    return graph_.get();
}

}  // namespace kx
