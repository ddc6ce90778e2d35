#include "settings/CameraOptions.h"

#include "app/core/StringIds.h"

#include <array>

namespace kx::settings {

namespace {

constexpr OptionEntry Text(std::string_view text) { return {0, text}; }
constexpr OptionEntry String(int id) { return {id, {}}; }

constexpr std::array kTrigger = {
    String(kStrSetImpactOff),    String(kStrSetImpactLevel1), String(kStrSetImpactLevel2),
    String(kStrSetImpactLevel3), String(kStrSetImpactLevel4), String(kStrSetImpactLevel5),
    String(kStrSetImpactLevel6)};
constexpr std::array kQuality = {String(kStrSetQualityNormal), String(kStrSetQualityHigh),
                                 String(kStrSetQualityHighest)};
constexpr std::array kSpeaker = {String(kStrSetSpeakerMute), Text("Level 1"), Text("Level 2"),
                                 Text("Level 3"),            Text("Level 4"), Text("Level 5")};
constexpr std::array kChannels = {String(kStrSetChannelsFront), String(kStrSetChannelsFrontRear)};
constexpr std::array kCutOff12 = {String(kStrSetCutOffOff), Text("11.5V"), Text("11.7V"), Text("11.9V"),
                                  Text("12.1V"),            Text("12.3V"), Text("12.5V")};
constexpr std::array kCutOff24 = {String(kStrSetCutOffOff), Text("23.0V"), Text("23.4V"), Text("23.8V"),
                                  Text("24.2V"),            Text("24.3V"), Text("24.4V")};
constexpr std::array kPowerOff = {Text("6H"), Text("12H"), Text("24H"), Text("48H")};
constexpr std::array kLcdOff = {String(kStrSetLcdAlwaysOn), String(kStrSetLcd10Sec), String(kStrSetLcd30Sec),
                                String(kStrSetLcd1Min), String(kStrSetLcd3Min)};

// Without a model the cut-off list stops after the fourth voltage.
constexpr std::size_t kCutOffWithoutModel = 5;

}  // namespace

std::span<const OptionEntry> TriggerOptions() { return kTrigger; }
std::span<const OptionEntry> QualityOptions() { return kQuality; }
std::span<const OptionEntry> SpeakerOptions() { return kSpeaker; }
std::span<const OptionEntry> ChannelOptions() { return kChannels; }
std::span<const OptionEntry> PowerOffOptions() { return kPowerOff; }
std::span<const OptionEntry> LcdOffOptions() { return kLcdOff; }

std::span<const OptionEntry> CutOffOptions(bool volt24, bool cameraModel) {
    const std::span<const OptionEntry> all = volt24 ? std::span<const OptionEntry>(kCutOff24)
                                                    : std::span<const OptionEntry>(kCutOff12);
    return cameraModel ? all : all.first(kCutOffWithoutModel);
}

}  // namespace kx::settings
