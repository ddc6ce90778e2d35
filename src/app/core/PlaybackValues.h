#pragma once
// The numbers behind the control bar: slider positions to play speed and brightness, volume
// levels to the percent the player takes, the jump targets of rewind and fast forward, and the
// names snapshots are saved under.

#include <cstdint>
#include <string>

namespace kx {

inline constexpr int kSliderMiddle = 50;
inline constexpr int kSliderMaximum = 100;
inline constexpr int kSliderPage = 10;
inline constexpr int kVolumeMaximumLevel = 10;
inline constexpr int kVolumeInitialLevel = 5;

// Brightness offset -254..254 for a slider position 0..100.
int BrightnessForSlider(int position);
// Percent for the player's SetVolume at a volume level 0..10: 0, 9, 19, ... 99.
int VolumePercentForLevel(int level);

// Rewind: `jumpSeconds` back, not before 0. Fast forward: ahead, not past the end.
std::uint64_t RewindTarget(std::uint64_t positionMs, int jumpSeconds);
std::uint64_t ForwardTarget(std::uint64_t positionMs, std::uint64_t durationMs, int jumpSeconds);

// The context menu's pop-up for a language index (the command pop-up; the kind pop-up is the
// next one); -1 outside 0..11.
int CommandPopupPosition(int languageIndex);

// The local time a snapshot is named after.
struct CaptureTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};
CaptureTime CaptureTimeNow();

// "<folder>/<recording stem>-YYYY-MM-DD-HHhMMmSSsMMM(TrackN).jpg"; the stem is the recording's
// file name cut before its last "." when that dot is not the first character.
std::string SnapshotFileName(const std::string& folder, const std::string& recordingName,
                             const CaptureTime& time, int track);

}  // namespace kx
