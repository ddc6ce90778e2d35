// The player against FFmpeg doing the same work in the same process. One benchmark per run,
// printing "name value" on stdout and the measurements behind it on stderr:
//   decode  decode_vs_ffmpeg: pictures per second of the player decoding both channels as fast
//           as it can / the same decoding with libavformat + libavcodec in a loop
//   first   first_frame_vs_ffmpeg: OpenRecording to the first picture in the window /
//           libavformat open + stream info + the first decoded picture
//   seek    seek_vs_ffmpeg: exact seeks to random positions (both channels) / av_seek_frame
//           to the key frame before + decoding both channels up to the target
//   cpu     play_cpu_overhead: CPU seconds of 10 s of playback at 1x, both channels shown at
//           720x405 / CPU seconds of decoding and converting the same pictures in a loop
//   drift   av_drift_ms: the largest gap between the sound being heard and the picture being
//           shown, playing at 0.5, 1 and 2 (KX_BENCH_DRIFT_SECONDS of wall time each,
//           default 20), through a sound device with a 40 ms buffer
//   rss     peak_rss_mb: peak resident memory of this process while playing (run it alone)
// usage: kx_bench_playback decode|first|seek|cpu|drift|rss RECORDING

#include "playback/CPlaybackGraph.h"
#include "playback/FfmpegPtr.h"
#include "PacedAudioSink.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <random>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
}

using namespace kx;
using namespace std::chrono_literals;

namespace {

// The sound device of the playing benchmarks: a 40 ms buffer, topped up every 10 ms.
constexpr double kSoundLatency = 0.04;
constexpr std::chrono::milliseconds kSoundPoll{10};

constexpr VideoSize kShownSize{720, 405};

// The sound device's clock, so that pictures and sound are compared on one time line.
double Now() { return test::WallSeconds(); }

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// A window: counts what it is shown and remembers when and which moment.
class BenchWindow final : public VideoSink {
public:
    explicit BenchWindow(VideoSize size) : size_(size) {}
    VideoSize Size() const override { return size_; }
    void Present(const VideoPicture& picture) override {
        std::lock_guard lock(mutex_);
        shown_.push_back({Now(), picture.time});
        if (first_ == 0 && (picture.pixels || size_.Empty())) first_ = shown_.back().wall;
        cond_.notify_all();
    }
    struct Shown {
        double wall;
        double time;
    };
    std::vector<Shown> Taken() {
        std::lock_guard lock(mutex_);
        return shown_;
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        shown_.clear();
        first_ = 0;
    }
    double WaitFirst() {
        std::unique_lock lock(mutex_);
        cond_.wait_for(lock, 30s, [&] { return first_ != 0; });
        return first_;
    }

private:
    VideoSize size_;
    std::mutex mutex_;
    std::condition_variable cond_;
    std::vector<Shown> shown_;
    double first_ = 0;
};

// The reference: libavformat and one libavcodec decoder per video stream, nothing else.
class Reference {
public:
    Reference(const std::string& path, bool streamInfo, int threads) {
        if (avformat_open_input(&format_, path.c_str(), nullptr, nullptr) < 0) return;
        if (streamInfo && avformat_find_stream_info(format_, nullptr) < 0) return;
        decoders_.resize(format_->nb_streams);
        for (unsigned i = 0; i < format_->nb_streams; ++i) {
            AVStream* st = format_->streams[i];
            if (st->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) {
                st->discard = AVDISCARD_ALL;
                continue;
            }
            const AVCodec* codec = avcodec_find_decoder(st->codecpar->codec_id);
            CodecContextPtr c(avcodec_alloc_context3(codec));
            avcodec_parameters_to_context(c.get(), st->codecpar);
            c->thread_count = threads;
            if (avcodec_open2(c.get(), codec, nullptr) < 0) return;
            decoders_[i] = std::move(c);
        }
        ok_ = true;
    }
    ~Reference() { avformat_close_input(&format_); }
    bool ok() const { return ok_; }
    AVFormatContext* format() { return format_; }
    AVCodecContext* decoder(int stream) {
        return stream >= 0 && static_cast<std::size_t>(stream) < decoders_.size() ? decoders_[stream].get() : nullptr;
    }
    std::vector<int> videoStreams() const {
        std::vector<int> v;
        for (std::size_t i = 0; i < decoders_.size(); ++i)
            if (decoders_[i]) v.push_back(static_cast<int>(i));
        return v;
    }

private:
    AVFormatContext* format_ = nullptr;
    std::vector<CodecContextPtr> decoders_;
    bool ok_ = false;
};

int Fail(const char* what) {
    std::fprintf(stderr, "kx_bench_playback: %s\n", what);
    return 1;
}

// The player gives every channel's decoder a thread per core (at most 4); the references that
// decode the same pictures do the same.
int DecoderThreadsOfThePlayer() {
    return std::clamp(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())), 1, 4);
}

// ---- decode_vs_ffmpeg

double PlayerDecodeRate(const std::string& path, std::size_t& pictures) {
    BenchWindow front({}), rear({});
    CPlaybackGraph player(CPlaybackGraph::RegistryMark::Skip);
    player.AttachWindows(&front, &rear);
    player.SetFreeRun(true);
    if (!player.OpenRecording(path, 0, -1) || !player.MediaGraph()->WaitForPictures(30000)) return 0;
    front.Clear();
    rear.Clear();
    const double start = Now();
    player.Run();
    if (!player.MediaGraph()->WaitForCompletion(600000)) return 0;
    const double took = Now() - start;
    pictures = front.Taken().size() + rear.Taken().size();
    return static_cast<double>(pictures) / took;
}

double ReferenceDecodeRate(const std::string& path, int threads, std::size_t& pictures) {
    Reference ref(path, false, threads);
    if (!ref.ok()) return 0;
    PacketPtr packet = MakePacket();
    FramePtr frame = MakeFrame();
    pictures = 0;
    const double start = Now();
    auto drain = [&](AVCodecContext* c) {
        while (avcodec_receive_frame(c, frame.get()) == 0) ++pictures;
    };
    while (av_read_frame(ref.format(), packet.get()) >= 0) {
        if (AVCodecContext* c = ref.decoder(packet->stream_index)) {
            avcodec_send_packet(c, packet.get());
            drain(c);
        }
        av_packet_unref(packet.get());
    }
    for (int s : ref.videoStreams()) {
        avcodec_send_packet(ref.decoder(s), nullptr);
        drain(ref.decoder(s));
    }
    return static_cast<double>(pictures) / (Now() - start);
}

int Decode(const std::string& path) {
    double player = 0, reference = 0;
    std::size_t playerPictures = 0, referencePictures = 0;
    for (int round = 0; round < 2; ++round) {
        player = std::max(player, PlayerDecodeRate(path, playerPictures));
        reference = std::max(reference, ReferenceDecodeRate(path, 0, referencePictures));
    }
    if (player <= 0 || reference <= 0) return Fail("decoding failed");
    std::fprintf(stderr, "decode: player %.1f pictures/s (%zu), FFmpeg loop %.1f pictures/s (%zu, automatic threads)\n",
                 player, playerPictures, reference, referencePictures);
    std::printf("decode_vs_ffmpeg %.2f\n", player / reference);
    return 0;
}

// ---- first_frame_vs_ffmpeg

double PlayerFirstPicture(const std::string& path) {
    BenchWindow front(kShownSize), rear(kShownSize);
    CPlaybackGraph player(CPlaybackGraph::RegistryMark::Skip);
    player.AttachWindows(&front, &rear);
    const double start = Now();
    if (!player.OpenRecording(path, 0, -1)) return 1e9;
    return front.WaitFirst() - start;
}

double ReferenceFirstPicture(const std::string& path) {
    const double start = Now();
    Reference ref(path, true, 1);
    if (!ref.ok()) return 1e9;
    PacketPtr packet = MakePacket();
    FramePtr frame = MakeFrame();
    const int stream = ref.videoStreams().front();
    while (av_read_frame(ref.format(), packet.get()) >= 0) {
        const bool mine = packet->stream_index == stream;
        if (mine) avcodec_send_packet(ref.decoder(stream), packet.get());
        av_packet_unref(packet.get());
        if (mine && avcodec_receive_frame(ref.decoder(stream), frame.get()) == 0) return Now() - start;
    }
    return 1e9;
}

int First(const std::string& path) {
    double player = 1e9, reference = 1e9;
    for (int round = 0; round < 7; ++round) {
        player = std::min(player, PlayerFirstPicture(path));
        reference = std::min(reference, ReferenceFirstPicture(path));
    }
    std::fprintf(stderr, "first picture: player %.1f ms, FFmpeg %.1f ms (best of 7)\n", player * 1e3, reference * 1e3);
    std::printf("first_frame_vs_ffmpeg %.2f\n", player / reference);
    return 0;
}

// ---- seek_vs_ffmpeg

std::vector<int> SeekTargets(std::int64_t durationMs) {
    std::mt19937 random(7);
    std::vector<int> targets(24);
    for (int& t : targets) t = static_cast<int>(random() % static_cast<std::uint32_t>(durationMs - 40));
    return targets;
}

double PlayerSeeks(const std::string& path, const std::vector<int>& targets, int& wrong) {
    BenchWindow front({}), rear({});
    CPlaybackGraph player(CPlaybackGraph::RegistryMark::Skip);
    player.AttachWindows(&front, &rear);
    if (!player.OpenRecording(path, 0, -1)) return 0;
    player.Run();
    player.Pause();
    player.MediaGraph()->WaitForPictures(30000);
    double total = 0;
    wrong = 0;
    for (int target : targets) {
        front.Clear();
        const double start = Now();
        player.SeekMs(target);
        player.MediaGraph()->WaitForPictures(30000);
        total += Now() - start;
        const auto shown = front.Taken();
        const int frame = target * 30 / 1000;
        if (shown.empty() || std::lround(shown.front().time * 30) != frame) ++wrong;
    }
    return total;
}

double ReferenceSeeks(const std::string& path, const std::vector<int>& targets, int threads) {
    Reference ref(path, false, threads);
    if (!ref.ok()) return 0;
    PacketPtr packet = MakePacket();
    FramePtr frame = MakeFrame();
    const auto streams = ref.videoStreams();
    double total = 0;
    for (int target : targets) {
        const std::int64_t frameIndex = target * 30 / 1000;  // stream time base 1/30
        const double start = Now();
        av_seek_frame(ref.format(), streams.front(), frameIndex, AVSEEK_FLAG_BACKWARD);
        std::vector<bool> reached(ref.format()->nb_streams, false);
        for (int s : streams) avcodec_flush_buffers(ref.decoder(s));
        std::size_t done = 0;
        while (done < streams.size() && av_read_frame(ref.format(), packet.get()) >= 0) {
            const int s = packet->stream_index;
            AVCodecContext* c = ref.decoder(s);
            if (c && !reached[s]) {
                avcodec_send_packet(c, packet.get());
                while (!reached[s] && avcodec_receive_frame(c, frame.get()) == 0)
                    if (frame->best_effort_timestamp >= frameIndex) reached[s] = true, ++done;
            }
            av_packet_unref(packet.get());
        }
        total += Now() - start;
    }
    return total;
}

int Seek(const std::string& path) {
    std::int64_t durationMs = 0;
    {
        Reference probe(path, false, 1);
        if (!probe.ok()) return Fail("cannot open the recording");
        AVStream* st = probe.format()->streams[probe.videoStreams().front()];
        durationMs = st->duration * 1000 * st->time_base.num / st->time_base.den;
    }
    const auto targets = SeekTargets(durationMs);
    const int threads = DecoderThreadsOfThePlayer();
    double player = 1e9, reference = 1e9;
    int wrong = 0;
    for (int round = 0; round < 2; ++round) {
        player = std::min(player, PlayerSeeks(path, targets, wrong));
        reference = std::min(reference, ReferenceSeeks(path, targets, threads));
    }
    std::fprintf(stderr,
                 "seek: player %.1f ms, FFmpeg %.1f ms per seek (%zu targets, %d decoder thread(s) each, "
                 "%d landed on a wrong frame)\n",
                 player * 1e3 / static_cast<double>(targets.size()),
                 reference * 1e3 / static_cast<double>(targets.size()), targets.size(), threads, wrong);
    std::printf("seek_vs_ffmpeg %.2f\n", player / reference);
    return wrong == 0 ? 0 : 1;
}

// ---- play_cpu_overhead

int Cpu(const std::string& path) {
    constexpr double kSeconds = 10;
    double playerCpu = 0;
    std::size_t shown = 0;
    std::uint64_t dropped = 0;
    {
        BenchWindow front(kShownSize), rear(kShownSize);
        kx::test::PacedAudioSink sound(kSoundLatency, kSoundPoll);
        CPlaybackGraph player(CPlaybackGraph::RegistryMark::Skip);
        player.AttachWindows(&front, &rear);
        player.AttachSound(&sound);
        if (!player.OpenRecording(path, 0, -1) || !player.MediaGraph()->WaitForPictures(30000))
            return Fail("cannot open the recording");
        const double before = CpuSeconds();
        player.Run();
        std::this_thread::sleep_for(std::chrono::duration<double>(kSeconds));
        player.Pause();
        playerCpu = CpuSeconds() - before;
        shown = front.Taken().size() + rear.Taken().size();
        dropped = player.MediaGraph()->DroppedPictures();
    }

    const int threads = DecoderThreadsOfThePlayer();
    Reference ref(path, false, threads);
    if (!ref.ok()) return Fail("cannot open the recording");
    PacketPtr packet = MakePacket();
    FramePtr frame = MakeFrame();
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kShownSize.width) * kShownSize.height * 4);
    SwsContext* scaler = nullptr;
    const std::int64_t lastFrame = static_cast<std::int64_t>(kSeconds * 30);
    std::size_t converted = 0;
    const double before = CpuSeconds();
    while (av_read_frame(ref.format(), packet.get()) >= 0) {
        AVCodecContext* c = ref.decoder(packet->stream_index);
        const bool inside = packet->dts <= lastFrame;
        if (c && inside) {
            avcodec_send_packet(c, packet.get());
            while (avcodec_receive_frame(c, frame.get()) == 0) {
                scaler = sws_getCachedContext(scaler, frame->width, frame->height,
                                              static_cast<AVPixelFormat>(frame->format), kShownSize.width,
                                              kShownSize.height, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr,
                                              nullptr);
                std::uint8_t* out[4] = {pixels.data(), nullptr, nullptr, nullptr};
                const int stride[4] = {kShownSize.width * 4, 0, 0, 0};
                sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, out, stride);
                ++converted;
            }
        }
        av_packet_unref(packet.get());
        if (!inside && packet->stream_index == 0) break;
    }
    const double referenceCpu = CpuSeconds() - before;
    sws_freeContext(scaler);
    std::fprintf(stderr,
                 "cpu: player %.2f s for %.0f s at 1x (%zu pictures shown, %llu dropped), FFmpeg %.2f s to decode "
                 "and convert %zu pictures\n",
                 playerCpu, kSeconds, shown, static_cast<unsigned long long>(dropped), referenceCpu, converted);
    std::printf("play_cpu_overhead %.2f\n", playerCpu / referenceCpu);
    return 0;
}

// ---- av_drift_ms

// The recording time the sound device was playing at `wall`, between two of its reads.
std::optional<double> HeardAt(const std::vector<kx::test::PacedAudioSink::Buffer>& heard, double wall) {
    auto it = std::lower_bound(heard.begin(), heard.end(), wall,
                               [](const kx::test::PacedAudioSink::Buffer& h, double w) { return h.wall < w; });
    if (it == heard.begin() || it == heard.end()) return std::nullopt;
    const auto& b = *it;
    const auto& a = *(it - 1);
    if (a.time < 0 || b.time < 0) return std::nullopt;
    return a.time + (b.time - a.time) * (wall - a.wall) / (b.wall - a.wall);
}

int Drift(const std::string& path) {
    const char* env = std::getenv("KX_BENCH_DRIFT_SECONDS");
    const double seconds = env ? std::atof(env) : 20;
    double worst = 0;
    for (const float rate : {0.5f, 1.0f, 2.0f}) {
        BenchWindow front(kShownSize), rear(kShownSize);
        kx::test::PacedAudioSink sound(kSoundLatency, kSoundPoll);
        CPlaybackGraph player(CPlaybackGraph::RegistryMark::Skip);
        player.AttachWindows(&front, &rear);
        player.AttachSound(&sound);
        if (!player.OpenRecording(path, 0, -1) || !player.MediaGraph()->WaitForPictures(30000))
            return Fail("cannot open the recording");
        player.SetRate(rate);
        const double start = Now();
        player.Run();
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        player.Pause();
        const auto heard = sound.Buffers();
        double rateWorst = 0;
        std::vector<double> gaps;
        for (const auto& s : front.Taken()) {
            if (s.wall < start + 0.5) continue;  // the first picture is shown before the sound starts
            if (const auto h = HeardAt(heard, s.wall)) gaps.push_back(std::fabs(*h - s.time));
        }
        for (double g : gaps) rateWorst = std::max(rateWorst, g);
        std::sort(gaps.begin(), gaps.end());
        const double median = gaps.empty() ? 0 : gaps[gaps.size() / 2];
        std::fprintf(stderr, "drift at %.1fx: %zu pictures compared, median %.1f ms, largest %.1f ms, %llu dropped\n",
                     static_cast<double>(rate), gaps.size(), median * 1e3, rateWorst * 1e3,
                     static_cast<unsigned long long>(player.MediaGraph()->DroppedPictures()));
        if (gaps.empty()) return Fail("no picture was shown while sound played");
        worst = std::max(worst, rateWorst);
    }
    std::printf("av_drift_ms %.1f\n", worst * 1e3);
    return 0;
}

// ---- peak_rss_mb

long PeakResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

int Rss(const std::string& path) {
    constexpr double kSeconds = 20;
    const long before = PeakResidentKb();
    BenchWindow front(kShownSize), rear(kShownSize);
    kx::test::PacedAudioSink sound(kSoundLatency, kSoundPoll);
    CPlaybackGraph player(CPlaybackGraph::RegistryMark::Skip);
    player.AttachWindows(&front, &rear);
    player.AttachSound(&sound);
    if (!player.OpenRecording(path, 0, -1)) return Fail("cannot open the recording");
    player.Run();
    std::this_thread::sleep_for(std::chrono::duration<double>(kSeconds / 2));
    player.SeekMs(45000);
    std::this_thread::sleep_for(std::chrono::duration<double>(kSeconds / 2));
    const long peak = PeakResidentKb();
    const auto mb = [](long kb) { return static_cast<double>(kb) / 1024.0; };
    std::fprintf(stderr, "rss: peak %.1f MB while playing %.0f s (%.1f MB before opening)\n", mb(peak), kSeconds,
                 mb(before));
    std::printf("peak_rss_mb %.1f\n", mb(peak));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kx_bench_playback decode|first|seek|cpu|drift|rss RECORDING\n");
        return 1;
    }
    av_log_set_level(AV_LOG_QUIET);
    const std::string which = argv[1];
    const std::string path = argv[2];
    if (which == "decode") return Decode(path);
    if (which == "first") return First(path);
    if (which == "seek") return Seek(path);
    if (which == "cpu") return Cpu(path);
    if (which == "drift") return Drift(path);
    if (which == "rss") return Rss(path);
    std::fprintf(stderr, "kx_bench_playback: unknown benchmark %s\n", which.c_str());
    return 1;
}
