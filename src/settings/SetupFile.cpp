#include "settings/SetupFile.h"

#include "settings/CameraOptions.h"
#include "settings/TextLines.h"

#include <climits>
#include <fstream>

namespace kx::settings {

namespace {

// Characters taken off both ends of a value.
constexpr std::string_view kTrimmed = "\b\t\r\n";

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(kTrimmed);
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(kTrimmed);
    return text.substr(first, last - first + 1);
}

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Selects `value` in a list of `size` entries when it lies in it.
void SelectIndex(int& index, int value, std::size_t size) {
    if (value >= 0 && static_cast<std::size_t>(value) < size) index = value;
}

// Selects entry `value` - 1 for a value written as index + 1.
void SelectFromOne(int& index, int value, std::size_t size) {
    if (value >= 1 && static_cast<std::size_t>(value) <= size) index = value - 1;
}

void ApplyLine(std::size_t number, std::string_view value, CameraSettings& s) {
    switch (number) {
    case 0: s.productName = std::string(value); return;
    case 1: return;  // the hardware version is fixed
    case 2:
        if (s.productName == s.modelName) s.softwareVersion = std::string(value);
        return;
    default: break;
    }
    const int n = ParseSetupNumber(value);
    switch (number) {
    case 3: SelectIndex(s.triggerIndex, n, TriggerOptions().size()); break;
    case 4: SelectFromOne(s.qualityIndex, n, QualityOptions().size()); break;
    case 5: s.audioEnabled = n != 0; break;
    case 6: SelectIndex(s.speakerIndex, n, SpeakerOptions().size()); break;
    case 7: SelectFromOne(s.channelIndex, n, ChannelOptions().size()); break;
    case 8: SelectVoltageSystem(s, n != 0); break;
    case 9: SelectIndex(s.cutOffIndex, n, CutOffOptions(s.volt24, s.HasCameraModel()).size()); break;
    case 10: SelectFromOne(s.powerOffIndex, n, PowerOffOptions().size()); break;
    case 11: SelectIndex(s.lcdOffIndex, n, LcdOffOptions().size()); break;
    default: break;  // lines after the twelfth mean nothing
    }
}

}  // namespace

int ParseSetupNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        v = v * 10 + (text[i] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) v = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) v = -v;
    if (v > INT_MAX) v = INT_MAX;
    return static_cast<int>(v);
}

void ReadSetupLines(std::istream& in, CameraSettings& settings) {
    std::string line;
    // Only the first twelve lines carry values; the rest of the file is not needed.
    for (std::size_t number = 0; number < kSetupLineCount && ReadTextLine(in, line); ++number) {
        if (line.size() <= kSetupLabelChars) break;
        ApplyLine(number, Trim(std::string_view(line).substr(kSetupLabelChars)), settings);
    }
}

bool ReadSetupFile(const std::string& path, CameraSettings& settings) {
    std::ifstream in;
    if (!OpenTextFile(path, in)) {
        ClearCameraSelections(settings);
        ApplyCameraDefaults(settings);
        return false;
    }
    ReadSetupLines(in, settings);
    return true;
}

std::string FormatSetupFile(const CameraSettings& s) {
    const std::array<std::string, kSetupLineCount> values = {
        s.modelName,
        std::string(kHardwareVersion),
        s.softwareVersion,
        std::to_string(s.triggerIndex),
        std::to_string(s.qualityIndex + 1),
        s.audioEnabled ? "1" : "0",
        std::to_string(s.speakerIndex),
        std::to_string(s.channelIndex + 1),
        s.volt24 ? "1" : "0",
        std::to_string(s.cutOffIndex),
        std::to_string(s.powerOffIndex + 1),
        std::to_string(s.lcdOffIndex),
    };
    std::string out;
    for (std::size_t i = 0; i < kSetupLineCount; ++i) {
        out += kSetupLabels[i];
        out += values[i];
        out += "\r\n";
    }
    return out;
}

bool WriteSetupFile(const std::string& path, const CameraSettings& settings) {
    return WriteFileBytes(path, FormatSetupFile(settings));
}

}  // namespace kx::settings
