#pragma once
// What the card information view shows: per recording its name and size in MB, and per row
// (all, normal, event, parking) how many recordings there are and how much they take. Also
// whether the view may open at all for a source, and whether the extended layout with the
// recording list is used. Plain C++ so that the counting can be checked without a window.

#include "card/RecordingInfo.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kx {

class CRecordingSource;

// Rows of the view, in the order the text panels' values keep them.
enum CardInfoRow { kCardRowAll = 0, kCardRowNormal = 1, kCardRowEvent = 2, kCardRowParking = 3 };

struct CardInfoEntry {
    std::string name;      // the file name
    std::string sizeText;  // "%3dMB"
};

struct CardInfoSummary {
    std::vector<CardInfoEntry> entries;  // one per recording, in the source's order
    std::array<std::uint64_t, 4> totalKb{};
    std::array<std::int32_t, 4> counts{};
};

// 0 when the view may open for these recordings; otherwise the language string of the refusal:
// no recordings (288), not a card read through the card library (287), no readable
// "setup.cfg" in the drive's root (286). Checked in that order.
int CardInfoRefusal(std::size_t recordingCount, SourceKind kind, const std::string& driveRoot);
int CardInfoRefusal(const CRecordingSource& source);

using SizeKbFunction = std::function<std::uint64_t(const RecordingInfo&)>;

// Counts and sizes the recordings. The kind comes from the first three letters of the full
// path (for card recordings, the file name), case-sensitive: "REC" normal, "EVT" event, "PAR",
// "MDI" or "MOT" parking; anything else ("PRK" too) counts only in the all row.
CardInfoSummary SummariseCard(const std::vector<RecordingInfo>& recordings, const SizeKbFunction& sizeKb);
CardInfoSummary SummariseCard(const CRecordingSource& source);

// "%3dMB" of KB / 1024.
std::string CardSizeMbText(std::uint64_t kb);
// "%4d".
std::string CardCountText(std::int32_t count);
// "%.1fGB" of (KB / 1024) / 1024.0: whole MB only, so 1536 KB shows as 0.0GB.
std::string CardTotalText(std::uint64_t kb);

// Whether `folder` holds a file (not a folder) named exactly "User.bin"; "user.bin" does not
// count. Its presence switches the view to the extended layout with the recording list.
bool HasUserBin(const std::string& folder);

}  // namespace kx
