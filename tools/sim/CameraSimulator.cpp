#include "sim/CameraSimulator.h"

#include "app/avi/AviWriter.h"
#include "sim/CameraTime.h"
#include "sim/Drive.h"
#include "sim/H264Encoder.h"
#include "sim/Scene.h"
#include "sim/SoundTrack.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <memory>
#include <thread>

namespace kx::sim {

namespace {

constexpr int kMinWidth = 96;
constexpr int kMinHeight = 64;
constexpr int kMaxWidth = 4096;
constexpr int kMaxHeight = 2304;
constexpr int kMaxFps = 120;
constexpr double kMaxSeconds = 3600;
constexpr int kMaxThreads = 64;
constexpr std::uint64_t kGsensorTickMs = 100;
constexpr std::uint64_t kGpsTickMs = 1000;
// An AVI file's sizes are 32-bit; leave room for headers, chunk headers and the index.
constexpr double kMaxAviBytes = 0.95 * 4294967295.0;
constexpr std::array<const char*, 5> kKinds = {"REC", "EVT", "PRK", "MDI", "MOT"};

struct Size {
    int width;
    int height;
};

Size RearSize(const SimOptions& o) {
    if (o.rearWidth == 0 && o.rearHeight == 0) return {o.width, o.height};
    return {o.rearWidth, o.rearHeight};
}

std::optional<std::string> CheckSize(const std::string& which, Size s) {
    if (s.width % 2 || s.height % 2) return which + " picture size must be even";
    if (s.width < kMinWidth || s.height < kMinHeight)
        return which + " picture is too small (at least " + std::to_string(kMinWidth) + "x" +
               std::to_string(kMinHeight) + ")";
    if (s.width > kMaxWidth || s.height > kMaxHeight)
        return which + " picture is too big (at most " + std::to_string(kMaxWidth) + "x" +
               std::to_string(kMaxHeight) + ")";
    return std::nullopt;
}

// What the camera writes in a second: the constant video rates and the sound; the few hundred
// bytes of telemetry are left out.
double BytesPerSecond(const SimOptions& o) {
    double bytes = static_cast<double>(CameraBitRate(o.width, o.height)) / 8;
    if (o.channels == 2) bytes += static_cast<double>(CameraBitRate(RearSize(o).width, RearSize(o).height)) / 8;
    if (o.audio == AudioKind::Aac) bytes += SoundTrack::kAacBytesPerSecond;
    if (o.audio == AudioKind::Pcm) bytes += 2.0 * SoundTrack::kSampleRate;
    return bytes;
}

// With threads to spare the two channels are encoded side by side, each encoder on one thread
// as when only one thread is allowed, so the bytes stay the same; what is left over goes to
// the encoders themselves.
bool ChannelsInParallel(const SimOptions& o) { return o.channels == 2 && o.threads >= 2; }

int EncoderThreads(const SimOptions& o) { return std::max(1, o.threads / o.channels); }

AviStreamSpec VideoStream(Size size, int fps) {
    AviStreamSpec spec;
    spec.header.type = kFccVids;
    spec.header.handler = kFccH264;
    spec.header.scale = 1;
    spec.header.rate = static_cast<std::uint32_t>(fps);
    spec.header.suggestedBufferSize = static_cast<std::uint32_t>(CameraBitRate(size.width, size.height) / 8);
    spec.header.frame[2] = static_cast<std::int16_t>(size.width);
    spec.header.frame[3] = static_cast<std::int16_t>(size.height);
    spec.format = MakeBitmapInfoHeader(static_cast<std::uint32_t>(size.width), static_cast<std::uint32_t>(size.height),
                                       kFccH264);
    return spec;
}

AviStreamSpec TextStream() {
    AviStreamSpec spec;
    spec.header.type = kFccTxts;
    spec.header.scale = 1;
    spec.header.rate = 10;
    spec.format.assign(4, 0);
    spec.chunkType[0] = 't';
    spec.chunkType[1] = 'x';
    return spec;
}

// One recording being written: the video frames of both channels in step, each frame followed
// by the sound recorded up to its time and the telemetry packets that belong to it.
class Recorder {
public:
    Recorder(const SimOptions& options, std::int64_t startLocal)
        : options_(options),
          startLocal_(startLocal),
          frames_(FrameCount(options)),
          drive_(options.seed, static_cast<double>(frames_) / options.fps),
          sound_(drive_, options.seed) {}

    SimResult Run(const std::string& path);

private:
    bool OpenEncoders();
    bool EncodeFrame(std::uint32_t k);
    bool WriteReadyFrames();
    bool WriteFrameGroup();
    bool WriteSoundUpTo(std::uint64_t videoFrame, bool all);
    bool WritePackets(std::uint64_t timeMs);
    bool Write(int stream, std::span<const std::uint8_t> data, bool key);
    SimResult Failed(const std::string& error);
    std::uint64_t FrameTimeMs(std::uint64_t k) const { return k * 1000 / static_cast<std::uint64_t>(options_.fps); }

    const SimOptions& options_;
    std::int64_t startLocal_;
    std::uint32_t frames_;
    Drive drive_;
    SoundTrack sound_;
    std::vector<std::unique_ptr<H264Encoder>> encoders_;
    std::vector<Scene> scenes_;
    std::vector<std::deque<EncodedFrame>> pending_;
    AviWriter writer_;
    std::string path_;  // once the file has been created
    int soundStream_ = -1;
    int textStream_ = -1;
    std::uint32_t written_ = 0;  // video frames written per channel
    std::uint64_t soundChunks_ = 0;
    bool soundLeft_ = true;
    std::uint64_t nextGsensorTick_ = 0;
    std::uint64_t nextGpsTick_ = 0;
    bool cutReached_ = false;
    std::string error_;
};

bool Recorder::OpenEncoders() {
    for (int channel = 0; channel < options_.channels; ++channel) {
        const Size size = channel == 0 ? Size{options_.width, options_.height} : RearSize(options_);
        auto encoder = std::make_unique<H264Encoder>();
        if (!encoder->Open(size.width, size.height, options_.fps, EncoderThreads(options_))) {
            error_ = encoder->Error();
            return false;
        }
        encoders_.push_back(std::move(encoder));
        scenes_.emplace_back(channel, size.width, size.height, options_.seed);
    }
    pending_.resize(encoders_.size());
    const double seconds = static_cast<double>(frames_) / options_.fps;
    if (options_.audio != AudioKind::None && !sound_.Open(options_.audio, seconds)) {
        error_ = sound_.Error();
        return false;
    }
    return true;
}

bool Recorder::Write(int stream, std::span<const std::uint8_t> data, bool key) {
    if (!writer_.WriteChunk(stream, data, key)) {
        error_ = writer_.LastError();
        return false;
    }
    cutReached_ = options_.cut && writer_.BytesWritten() >= *options_.cut;
    return true;
}

bool Recorder::EncodeFrame(std::uint32_t k) {
    const DriveState state = drive_.At(static_cast<double>(k) / options_.fps);
    auto encode = [&](std::size_t c) {
        scenes_[c].Render(encoders_[c]->Picture(), state, k);
        return encoders_[c]->Encode(k, pending_[c]);
    };
    std::vector<char> ok(encoders_.size(), 0);
    if (ChannelsInParallel(options_)) {
        // Each channel has its own scene, encoder and queue, so the rear one can be made on a
        // second thread without changing a byte of the output.
        std::thread rear([&] { ok[1] = encode(1); });
        ok[0] = encode(0);
        rear.join();
    } else {
        for (std::size_t c = 0; c < encoders_.size(); ++c) ok[c] = encode(c);
    }
    for (std::size_t c = 0; c < encoders_.size(); ++c) {
        if (!ok[c]) {
            error_ = encoders_[c]->Error();
            return false;
        }
    }
    return true;
}

// Writes every frame that all channels have finished encoding.
bool Recorder::WriteReadyFrames() {
    while (!cutReached_ && std::all_of(pending_.begin(), pending_.end(), [](const auto& q) { return !q.empty(); }))
        if (!WriteFrameGroup()) return false;
    return true;
}

bool Recorder::WriteFrameGroup() {
    for (std::size_t c = 0; c < pending_.size() && !cutReached_; ++c) {
        const EncodedFrame& frame = pending_[c].front();
        if (!Write(static_cast<int>(c), frame.data, frame.key)) return false;
        pending_[c].pop_front();
    }
    const std::uint32_t k = written_++;
    return WriteSoundUpTo(k, false) && WritePackets(FrameTimeMs(k));
}

// The sound chunks that start no later than video frame `videoFrame`, or all that are left.
bool Recorder::WriteSoundUpTo(std::uint64_t videoFrame, bool all) {
    if (soundStream_ < 0) return true;
    const std::uint64_t chunkSamples = sound_.ChunkSamples();
    std::vector<std::uint8_t> chunk;
    while (soundLeft_ && !cutReached_ &&
           (all || soundChunks_ * chunkSamples * static_cast<std::uint64_t>(options_.fps) <=
                       videoFrame * SoundTrack::kSampleRate)) {
        if (!sound_.Next(chunk)) {
            soundLeft_ = false;
            error_ = sound_.Error();
            return error_.empty();
        }
        if (!Write(soundStream_, chunk, true)) return false;
        ++soundChunks_;
    }
    return true;
}

// The packets whose tick falls after the previous frame's time and no later than `timeMs`,
// in time order; a GPS fix goes before the G-sensor sample of the same moment.
bool Recorder::WritePackets(std::uint64_t timeMs) {
    while (!cutReached_) {
        const std::uint64_t gpsAt = nextGpsTick_ * kGpsTickMs;
        const std::uint64_t gsensorAt = nextGsensorTick_ * kGsensorTickMs;
        if (gpsAt <= timeMs && gpsAt <= gsensorAt && !options_.gpsReceiver) {
            ++nextGpsTick_;
        } else if (gpsAt <= timeMs && gpsAt <= gsensorAt) {
            const std::string text =
                drive_.GpsPacket(static_cast<std::uint32_t>(nextGpsTick_++), startLocal_, options_.gps);
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
            if (!Write(textStream_, {bytes, text.size()}, true)) return false;
        } else if (gsensorAt <= timeMs) {
            const auto packet = drive_.GsensorPacket(static_cast<std::uint32_t>(nextGsensorTick_++));
            if (!Write(textStream_, packet, true)) return false;
        } else {
            return true;
        }
    }
    return true;
}

// A recording that could not be made is not left behind half written.
SimResult Recorder::Failed(const std::string& error) {
    writer_.Abandon();
    if (!path_.empty()) {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
    return {false, {}, error};
}

SimResult Recorder::Run(const std::string& path) {
    if (!OpenEncoders()) return Failed(error_);

    std::vector<AviStreamSpec> streams;
    streams.push_back(VideoStream({options_.width, options_.height}, options_.fps));
    if (options_.channels == 2) streams.push_back(VideoStream(RearSize(options_), options_.fps));
    if (options_.audio != AudioKind::None) {
        soundStream_ = static_cast<int>(streams.size());
        streams.push_back(sound_.Stream());
    }
    textStream_ = static_cast<int>(streams.size());
    streams.push_back(TextStream());

    AviMainHeader main;
    main.microSecPerFrame = static_cast<std::uint32_t>(1'000'000 / options_.fps);
    main.maxBytesPerSec = static_cast<std::uint32_t>(BytesPerSecond(options_));
    main.flags = kAvifHasIndex | kAvifIsInterleaved;
    main.width = static_cast<std::uint32_t>(options_.width);
    main.height = static_cast<std::uint32_t>(options_.height);
    if (!writer_.Open(path, main, std::move(streams))) return Failed(writer_.LastError());
    path_ = path;
    cutReached_ = options_.cut && writer_.BytesWritten() >= *options_.cut;

    for (std::uint32_t k = 0; k < frames_ && !cutReached_; ++k) {
        if (!EncodeFrame(k) || !WriteReadyFrames()) return Failed(error_);
    }
    if (!cutReached_) {
        for (std::size_t c = 0; c < encoders_.size(); ++c)
            if (!encoders_[c]->Flush(pending_[c])) return Failed(encoders_[c]->Error());
        if (!WriteReadyFrames()) return Failed(error_);
        if (!cutReached_ && written_ != frames_) return Failed("the encoder returned a different number of frames");
        if (!WriteSoundUpTo(0, true)) return Failed(error_);
    }

    if (options_.cut) {
        writer_.Abandon();
        std::error_code ec;
        if (std::filesystem::file_size(path, ec) > *options_.cut) std::filesystem::resize_file(path, *options_.cut, ec);
        if (ec) return {false, {}, path + ": " + ec.message()};
    } else if (!writer_.Finish()) {
        return Failed(writer_.LastError());
    }
    return {true, path, {}};
}

}  // namespace

std::uint32_t FrameCount(const SimOptions& options) {
    return static_cast<std::uint32_t>(std::max(1LL, std::llround(options.seconds * options.fps)));
}

std::optional<std::string> ValidateOptions(const SimOptions& o) {
    if (o.channels != 1 && o.channels != 2) return "channels must be 1 (front) or 2 (front and rear)";
    if (o.audio != AudioKind::None && o.audio != AudioKind::Aac && o.audio != AudioKind::Pcm)
        return "unknown sound kind";
    if (!(o.seconds > 0 && o.seconds <= kMaxSeconds)) return "length must be more than 0 and at most 3600 seconds";
    if (o.fps < 1 || o.fps > kMaxFps) return "frame rate must be 1 to 120";
    if (auto e = CheckSize("front", {o.width, o.height})) return e;
    if ((o.rearWidth == 0) != (o.rearHeight == 0)) return "rear picture size needs both width and height";
    if (o.channels == 2)
        if (auto e = CheckSize("rear", RearSize(o))) return e;
    if (std::find(kKinds.begin(), kKinds.end(), o.kind) == kKinds.end())
        return "unknown recording kind \"" + o.kind + "\" (REC, EVT, PRK, MDI or MOT)";
    if (!ParseCameraTime(o.start)) return "start time must be a real date \"YYYY-MM-DD hh:mm:ss\" from 1970 to 2069";
    if (o.threads < 1 || o.threads > kMaxThreads) return "encoder threads must be 1 to 64";

    if ((!o.cut || static_cast<double>(*o.cut) > kMaxAviBytes) && BytesPerSecond(o) * o.seconds > kMaxAviBytes)
        return "the recording would not fit into an AVI file (4 GiB): make it shorter or smaller";
    return std::nullopt;
}

std::string RecordingFileName(const SimOptions& options) {
    const auto start = ParseCameraTime(options.start);
    if (!start) return {};
    const CivilTime t = ToCivil(*start);
    char name[64];
    std::snprintf(name, sizeof name, "%.3s_%04d%02d%02d_%02d%02d%02d_%d.avi", options.kind.c_str(), t.year, t.month,
                  t.day, t.hour, t.minute, t.second, options.channels);
    return name;
}

SimResult GenerateRecording(const std::string& target, const SimOptions& options) {
    if (auto error = ValidateOptions(options)) return {false, {}, *error};
    std::error_code ec;
    const std::string path = std::filesystem::is_directory(target, ec)
                                 ? (std::filesystem::path(target) / RecordingFileName(options)).string()
                                 : target;
    Recorder recorder(options, *ParseCameraTime(options.start));
    return recorder.Run(path);
}

}  // namespace kx::sim
