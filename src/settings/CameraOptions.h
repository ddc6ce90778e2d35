#pragma once
// The values each camera control of the settings dialog can take, in list order. An entry's
// text is a language-table string (stringId) or, for the few fixed texts, the text itself.

#include <span>
#include <string_view>

namespace kx::settings {

struct OptionEntry {
    int stringId = 0;        // number in the language tables; 0 when `text` is the entry
    std::string_view text;   // the fixed text when stringId is 0
};

// The one camera model of the model list; the camera file belongs to it alone.
inline constexpr std::string_view kCameraModel = "KX480";

// "Acc Trigger Level": written as the index.
std::span<const OptionEntry> TriggerOptions();
// "REC Video Qulity": written as the index + 1.
std::span<const OptionEntry> QualityOptions();
// "SPK Vol": written as the index.
std::span<const OptionEntry> SpeakerOptions();
// "Video Channles": written as the index + 1.
std::span<const OptionEntry> ChannelOptions();
// "Battery CutOff Volt" for the 12 V or 24 V system: "no cut-off" and six voltages for the
// camera model, only the first four voltages when no model is selected. Written as the index.
std::span<const OptionEntry> CutOffOptions(bool volt24, bool cameraModel);
// "Power Off Timer": written as the index + 1.
std::span<const OptionEntry> PowerOffOptions();
// "LCD Off Time": written as the index.
std::span<const OptionEntry> LcdOffOptions();

}  // namespace kx::settings
