#include "app/core/ViewerOptions.h"

#include "app/core/ProgramPaths.h"

#include <climits>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace kx {

namespace {

// Characters trimmed from both ends of a line, a key and a value. Spaces are not among them:
// "KEY = 1" has the key "KEY " and matches nothing.
constexpr std::string_view kTrimmed = "\b\t\r\n";

// An options file is a few hundred bytes; a larger one is read up to this much and no further.
constexpr std::size_t kMaxOptionsFileBytes = 1 << 20;

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(kTrimmed);
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(kTrimmed);
    return s.substr(first, last - first + 1);
}

void ApplyLine(std::string_view line, ViewerOptions& options) {
    line = Trim(line);
    if (line.empty() || line.front() == '[') return;
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return;
    const std::string_view key = Trim(line.substr(0, eq));
    const std::string_view value = Trim(line.substr(eq + 1));

    if (key == "SAVE_DIRECTORY") {
        options.saveFolder = value.empty() ? DefaultCaptureFolder() : std::string(value);
    } else if (key == "PLAY_VALUE") {
        options.jumpSeconds = ParseLeadingInt(value);
    } else if (key == "REAR_MIRROR") {
        options.rearMirror = ParseLeadingInt(value) == 1;
    } else if (key == "LANGUAGE") {
        options.languageIndex = ParseLeadingInt(value);
    } else if (key == "DEFAULT_LANGUAGE") {
        options.defaultLanguage = ParseLeadingInt(value);
    } else if (key == "MODEL") {
        options.modelIndex = ParseLeadingInt(value);
    } else if (key == "SPEED") {
        options.speedInMiles = ParseLeadingInt(value) != 0;
    }
}

}  // namespace

ViewerOptions& TheViewerOptions() {
    static ViewerOptions options;
    return options;
}

int ParseLeadingInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

void ParseOptionsText(std::string_view text, ViewerOptions& options) {
    // Whole lines are read, however long: a long save-folder path must not be cut and its
    // tail taken for another line.
    while (!text.empty()) {
        const auto nl = text.find('\n');
        ApplyLine(text.substr(0, nl), options);
        if (nl == std::string_view::npos) break;
        text.remove_prefix(nl + 1);
    }
}

bool LoadOptions(const std::string& path, ViewerOptions& options) {
    if (path.empty()) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string text;
    text.resize(kMaxOptionsFileBytes);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    ParseOptionsText(text, options);
    return true;
}

std::string FormatOptionsText(const ViewerOptions& o) {
    std::string out;
    const auto line = [&out](std::string_view s) {
        out += s;
        out += "\r\n";
    };
    line("[DIRECTORY]");
    line("ROOT_DIRECTORY=KX_DRAVIK");
    line("EVENT_DIRECTORY=MP4_EVENT");
    line("CONTINUOS_DIRECTORY=MP4_INFINITE");
    line("[OPTION]");
    line("SAVE_DIRECTORY=" + o.saveFolder);
    line("PLAY_VALUE=" + std::to_string(o.jumpSeconds));
    line("USE_LOG=FALSE");
    line("LOG_LEVEL=3");
    line("LOG_TYPE=3");
    line(std::string("REAR_MIRROR=") + (o.rearMirror ? "1" : "0"));
    line("LANGUAGE=" + std::to_string(o.languageIndex));
    line("DEFAULT_LANGUAGE=" + std::to_string(o.defaultLanguage));
    line("MODEL=" + std::to_string(o.modelIndex));
    line(std::string("SPEED=") + (o.speedInMiles ? "1" : "0"));
    return out;
}

bool SaveOptions(const std::string& path, const ViewerOptions& options) {
    if (path.empty()) return false;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const std::string text = FormatOptionsText(options);
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace kx
