#pragma once
// "setup.cfg", the camera's settings file in the root folder of its card: twelve text lines
// (CR LF), each a 26-character label and a value.

#include "settings/CameraSettings.h"

#include <array>
#include <istream>
#include <string>
#include <string_view>

namespace kx::settings {

inline constexpr std::size_t kSetupLabelChars = 26;
inline constexpr std::size_t kSetupLineCount = 12;

// The labels in line order: the key padded with blanks to 24 characters, then ": ".
inline constexpr std::array<std::string_view, kSetupLineCount> kSetupLabels = {
    "Product Name            : ", "H/W Version             : ", "S/W Version             : ",
    "Acc Trigger Level       : ", "REC Video Qulity        : ", "REC Audio Enable        : ",
    "SPK Vol                 : ", "Video Channles          : ", "Car Battery Volt        : ",
    "Battery CutOff Volt     : ", "Power Off Timer         : ", "LCD Off Time            : ",
};

// The hardware version line always says this.
inline constexpr std::string_view kHardwareVersion = "V1.0.0";

// Reads the file into the camera values. A file that cannot be opened clears every camera
// selection, applies the camera defaults and gives false. Otherwise each line read sets its
// value when it is in range and leaves it as it was when not; true.
bool ReadSetupFile(const std::string& path, CameraSettings& settings);

// The line rules of ReadSetupFile on an open stream: lines of at most 255 characters, read up
// to the end or the first line of 26 characters or fewer (counting its line end).
void ReadSetupLines(std::istream& in, CameraSettings& settings);

// The twelve lines as the file holds them, CR LF included.
std::string FormatSetupFile(const CameraSettings& settings);

// Writes the twelve lines, replacing the file. False when it cannot be created or written.
bool WriteSetupFile(const std::string& path, const CameraSettings& settings);

// A value as the camera's reader takes a number: leading blanks, a sign and the leading digits;
// 0 when there are none. Values beyond the range of int stop at its ends.
int ParseSetupNumber(std::string_view text);

}  // namespace kx::settings
