#pragma once
// One loaded recording, the drives a recording source can be loaded from, and what the
// camera's file names say.

#include <cstdint>
#include <string>
#include <string_view>

namespace kx {

struct RecordingTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct RecordingInfo {
    int group = 0;          // card folder index 0-3; 0 for a drive scan, 1 for chosen or dropped items
    int cardFileId = -1;    // the card file's identifier, -1 for files on the computer
    std::string cardName;   // the name on the card (card files)
    std::string name;       // file name
    std::string fullPath;   // path on the computer; the name for card files
    RecordingTime time;     // from the name
    // Bytes / 1024. Files on the computer are not asked for their size while a folder is
    // scanned (that would cost a lookup per file); kSizeUnknown until someone needs it.
    std::uint64_t sizeKb = 0;
};

inline constexpr std::uint64_t kSizeUnknown = ~std::uint64_t{0};

enum class SourceKind { RemovableDrive = 0, Card = 1, Computer = 2, Nothing = 3 };

struct SourceDrive {
    int index = 0;           // position in the drive list
    std::string root;        // mount point (or the computer entry's name)
    std::string devicePath;  // the card's disk ("/dev/sdb") or card image
    SourceKind kind = SourceKind::RemovableDrive;
};

// Kinds by the name's first three letters, as the playlist shows and filters them.
enum class RecordingKind { Normal = 0, Event = 2, Parking = 3, Unknown = 6 };

struct KindOfName {
    RecordingKind kind;
    int labelString;  // language string of the kind's label; 0 for "UnKnown"
};
KindOfName ClassifyRecording(std::string_view name);

// The recording's date and time from a camera name: KKK_YYYYMMDD_hhmmss...; parts that are
// no number read 0.
RecordingTime TimeFromName(std::string_view name);

// The sort key: the 15 characters from position 4 (YYYYMMDD_hhmmss).
std::string_view SortStamp(std::string_view name);

}  // namespace kx
