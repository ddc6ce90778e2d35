#include "card/CardInfoSummary.h"

#include "app/core/StringIds.h"
#include "card/RecordingSource.h"

#include <cstdio>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <system_error>

namespace fs = std::filesystem;

namespace kx {
namespace {

// The camera's settings file; the view only needs it to be there, as a sign that the card
// really is the camera's.
bool SetupFileReadable(const std::string& root) {
    std::FILE* f = std::fopen((root + "/setup.cfg").c_str(), "r");
    if (!f) return false;
    struct stat st {};
    // fopen opens a folder for reading here; a folder of that name is no settings file.
    const bool file = ::fstat(::fileno(f), &st) == 0 && !S_ISDIR(st.st_mode);
    std::fclose(f);
    return file;
}

// The row a recording counts in besides the all row, or kCardRowAll for none.
CardInfoRow RowOf(std::string_view path) {
    const std::string_view prefix = path.substr(0, 3);
    if (prefix == "REC") return kCardRowNormal;
    if (prefix == "EVT") return kCardRowEvent;
    if (prefix == "PAR" || prefix == "MDI" || prefix == "MOT") return kCardRowParking;
    return kCardRowAll;
}

}  // namespace

int CardInfoRefusal(std::size_t recordingCount, SourceKind kind, const std::string& driveRoot) {
    if (recordingCount == 0) return kStrMsgNoRecordingsLoaded;
    if (kind != SourceKind::Card) return kStrMsgNotCameraCard;
    if (!SetupFileReadable(driveRoot)) return kStrMsgNoSetupFile;
    return 0;
}

int CardInfoRefusal(const CRecordingSource& source) {
    const SourceDrive* drive = source.SelectedDrive();
    return CardInfoRefusal(source.Recordings().size(), source.Kind(), drive ? drive->root : std::string());
}

CardInfoSummary SummariseCard(const std::vector<RecordingInfo>& recordings, const SizeKbFunction& sizeKb) {
    CardInfoSummary s;
    s.entries.reserve(recordings.size());
    for (const RecordingInfo& r : recordings) {
        const std::uint64_t kb = sizeKb(r);
        s.entries.push_back({r.name, CardSizeMbText(kb)});
        s.totalKb[kCardRowAll] += kb;
        ++s.counts[kCardRowAll];
        if (const CardInfoRow row = RowOf(r.fullPath); row != kCardRowAll) {
            s.totalKb[row] += kb;
            ++s.counts[row];
        }
    }
    return s;
}

CardInfoSummary SummariseCard(const CRecordingSource& source) {
    return SummariseCard(source.Recordings(), [&source](const RecordingInfo& r) { return source.SizeKbOf(r); });
}

std::string CardSizeMbText(std::uint64_t kb) {
    char text[32];
    std::snprintf(text, sizeof text, "%3dMB", static_cast<int>(kb / 1024));
    return text;
}

std::string CardCountText(std::int32_t count) {
    char text[16];
    std::snprintf(text, sizeof text, "%4d", count);
    return text;
}

std::string CardTotalText(std::uint64_t kb) {
    char text[48];
    std::snprintf(text, sizeof text, "%.1fGB", static_cast<double>(kb / 1024) / 1024.0);
    return text;
}

bool HasUserBin(const std::string& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().filename() != "User.bin") continue;
        std::error_code kindError;
        if (!it->is_directory(kindError) && !kindError) return true;
    }
    return false;
}

}  // namespace kx
