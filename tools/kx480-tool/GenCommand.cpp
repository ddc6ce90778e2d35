// kx480-tool gen PATH [options]: writes a recording as the camera does.

#include "ArgParser.h"
#include "ToolCommands.h"
#include "sim/CameraSimulator.h"

#include <iostream>

extern "C" {
#include <libavutil/log.h>
}

namespace kx::tool {

namespace {

constexpr const char* kUsage =
    "usage: kx480-tool gen PATH [--channels 1|2] [--audio none|aac|pcm] [--seconds N] [--fps N]\n"
    "                      [--size WxH] [--rear-size WxH] [--kind REC|EVT|PRK|MDI|MOT]\n"
    "                      [--start \"YYYY-MM-DD hh:mm:ss\"] [--cut BYTES] [--seed N] [--no-gps] [--no-gps-receiver] [--threads N]\n";

bool ParseSize(const std::string& text, int& width, int& height) {
    const auto x = text.find('x');
    if (x == std::string::npos) return false;
    const auto w = ParseWholeNumber(text.substr(0, x));
    const auto h = ParseWholeNumber(text.substr(x + 1));
    if (!w || !h || *w <= 0 || *h <= 0 || *w > 8192 || *h > 8192) return false;
    width = static_cast<int>(*w);
    height = static_cast<int>(*h);
    return true;
}

// Reads the options into `o`; an error text when one is malformed.
std::string ReadOptions(const ArgParser& p, sim::SimOptions& o) {
    if (auto v = p.value("channels")) {
        if (*v != "1" && *v != "2") return "--channels takes 1 or 2";
        o.channels = *v == "1" ? 1 : 2;
    }
    if (auto v = p.value("audio")) {
        if (*v == "none") o.audio = sim::AudioKind::None;
        else if (*v == "aac") o.audio = sim::AudioKind::Aac;
        else if (*v == "pcm") o.audio = sim::AudioKind::Pcm;
        else return "--audio takes none, aac or pcm";
    }
    if (auto v = p.value("seconds")) {
        const auto s = ParseRealNumber(*v);
        if (!s) return "--seconds takes a number";
        o.seconds = *s;
    }
    if (auto v = p.value("fps")) {
        const auto f = ParseWholeNumber(*v);
        if (!f || *f < 1 || *f > 1000) return "--fps takes a whole number";
        o.fps = static_cast<int>(*f);
    }
    if (auto v = p.value("size"); v && !ParseSize(*v, o.width, o.height)) return "--size takes WxH";
    if (auto v = p.value("rear-size"); v && !ParseSize(*v, o.rearWidth, o.rearHeight)) return "--rear-size takes WxH";
    if (auto v = p.value("kind")) o.kind = *v;
    if (auto v = p.value("start")) o.start = *v;
    if (auto v = p.value("cut")) {
        const auto c = ParseWholeNumber(*v);
        if (!c || *c < 0) return "--cut takes a byte count";
        o.cut = static_cast<std::uint64_t>(*c);
    }
    if (auto v = p.value("seed")) {
        const auto s = ParseWholeNumber(*v);
        if (!s || *s < 0) return "--seed takes a whole number";
        o.seed = static_cast<std::uint64_t>(*s);
    }
    if (auto v = p.value("threads")) {
        const auto t = ParseWholeNumber(*v);
        if (!t || *t < 1 || *t > 64) return "--threads takes 1 to 64";
        o.threads = static_cast<int>(*t);
    }
    o.gps = !p.flag("no-gps");
    o.gpsReceiver = !p.flag("no-gps-receiver");
    return {};
}

}  // namespace

int GenCommand(const Args& args) {
    ArgParser p(args, {"channels", "audio", "seconds", "fps", "size", "rear-size", "kind", "start", "cut", "seed",
                       "threads"},
                {"no-gps", "no-gps-receiver"});
    if (!p.ok() || p.positional().size() != 1) {
        if (!p.ok()) std::cerr << "kx480-tool gen: " << p.error() << '\n';
        std::cerr << kUsage;
        return kExitFailure;
    }
    sim::SimOptions options;
    std::string error = ReadOptions(p, options);
    if (error.empty()) error = sim::ValidateOptions(options).value_or("");
    if (!error.empty()) {
        std::cerr << "kx480-tool gen: " << error << '\n';
        return kExitFailure;
    }
    av_log_set_level(AV_LOG_ERROR);  // the encoders' statistics are not for the user
    const sim::SimResult result = sim::GenerateRecording(p.positional()[0], options);
    if (!result.ok) {
        std::cerr << "kx480-tool gen: " << result.error << '\n';
        return kExitFailure;
    }
    std::cout << result.path << '\n';
    return kExitOk;
}

}  // namespace kx::tool
