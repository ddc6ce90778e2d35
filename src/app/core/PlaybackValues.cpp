#include "app/core/PlaybackValues.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace kx {

int BrightnessForSlider(int position) {
    return static_cast<int>((position - kSliderMiddle) * static_cast<double>(5.1f));
}

int VolumePercentForLevel(int level) {
    return std::clamp(level * 10 - 1, 0, 99);
}

std::uint64_t RewindTarget(std::uint64_t positionMs, int jumpSeconds) {
    const long long target = static_cast<long long>(positionMs) - static_cast<long long>(jumpSeconds) * 1000;
    return target < 0 ? 0 : static_cast<std::uint64_t>(target);
}

std::uint64_t ForwardTarget(std::uint64_t positionMs, std::uint64_t durationMs, int jumpSeconds) {
    const long long target = static_cast<long long>(positionMs) + static_cast<long long>(jumpSeconds) * 1000;
    if (target < 0) return 0;
    return std::min(static_cast<std::uint64_t>(target), durationMs);
}

int CommandPopupPosition(int languageIndex) {
    static constexpr std::array<int, 12> kPositions = {2, 4, 0, 6, 20, 16, 10, 12, 18, 14, 22, 8};
    if (languageIndex < 0 || languageIndex >= static_cast<int>(kPositions.size())) return -1;
    return kPositions[static_cast<std::size_t>(languageIndex)];
}

CaptureTime CaptureTimeNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
            local.tm_sec, static_cast<int>(ms)};
}

std::string SnapshotFileName(const std::string& folder, const std::string& recordingName,
                             const CaptureTime& t, int track) {
    std::string stem = recordingName;
    const auto dot = stem.rfind('.');
    if (dot != std::string::npos && dot >= 1) stem.resize(dot);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d-%02dh%02dm%02ds%03d(Track%d).jpg", t.year, t.month,
                  t.day, t.hour, t.minute, t.second, t.millisecond, track);
    return folder + "/" + stem + "-" + stamp;
}

}  // namespace kx
