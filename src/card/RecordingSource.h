#pragma once
// The recordings of one source: a removable drive, a camera card read through the card
// library, or folders and files chosen on the computer or dropped on the window. Keeps them
// sorted by the time in their names, fills the playlist, and copies a recording to the
// computer.

#include "card/DriveDiscovery.h"
#include "card/RecordingInfo.h"
#include "card/VorkApi.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kx {

inline constexpr char kComputerEntryName[] = "내 컴퓨터에서 찾기";
inline constexpr char kUnknownKindLabel[] = "UnKnown";

// One playlist row: the six columns and the recording behind it.
struct PlaylistRow {
    std::string number, date, time, kind, fullPath, name;
    const RecordingInfo* recording = nullptr;
};

struct PlaylistFill {
    std::vector<PlaylistRow> rows;
    bool any = false, normal = false, event = false, parking = false;  // kinds seen
};

enum CopyResult { kCopied = 0, kCopyFailed = 1, kCopyCancelled = 2 };

// Told the bytes copied so far and the total; returns false to cancel.
using CopyProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

class CRecordingSource {
public:
    CRecordingSource();
    ~CRecordingSource();
    CRecordingSource(const CRecordingSource&) = delete;
    CRecordingSource& operator=(const CRecordingSource&) = delete;

    void SetDiscoveryRoots(DriveDiscoveryRoots roots) { roots_ = std::move(roots); }
    void SetCardImages(std::vector<CardImageOption> images) { images_ = std::move(images); }
    // Card folders in list order; an equal name is refused.
    bool AddFolderName(const std::string& name);
    // Extensions are kept lower case; a duplicate is refused.
    bool AddExtension(const std::string& extension);

    // Rebuilds the drive list (removable drives, card images, the computer entry last);
    // returns its count.
    int DiscoverDrives();
    const std::vector<SourceDrive>& Drives() const { return drives_; }

    // Loads a removable drive or a card.
    bool LoadSource(int driveIndex);
    // Loads chosen (or dropped) folders and files through the computer entry (or any entry).
    bool LoadSource(int driveIndex, const std::vector<std::string>& items, bool dropped);

    int FillAll(PlaylistFill& fill);
    int FillKind(RecordingKind kind, PlaylistFill& fill);
    const RecordingInfo* RowRecording(int row) const;
    const SourceDrive* SelectedDrive() const;

    SourceKind Kind() const { return kind_; }
    const std::vector<RecordingInfo>& Recordings() const { return recordings_; }
    const std::vector<std::string>& Roots() const { return roots_list_; }
    // The open card's device block (for the card library), or nullptr.
    void* DeviceBlock() { return deviceOpen_ ? block_.data() : nullptr; }
    // The recording's size in KB, asked of the file system when the load did not need it.
    std::uint64_t SizeKbOf(const RecordingInfo& recording) const;
    // "/FOLDER/NAME" of a card recording.
    std::string CardPath(const RecordingInfo& recording) const;

    // Copies the row's recording to `target`: card files through the card library in 256 KiB
    // blocks, other files as they are. A failed or cancelled copy leaves no partial target.
    CopyResult CopyToComputer(int row, const std::string& target, const CopyProgress& progress = {});
    // The name the save dialog offers for the row's recording.
    std::string DefaultCopyName(int row) const;

private:
    void CloseDevice();
    int Fill(bool all, RecordingKind kind, PlaylistFill& fill);
    int ScanFolder(const std::string& folder, int group);
    bool AddFile(const std::string& path, int group);
    void AddRecording(std::string path, std::string name, std::uint64_t bytes, int group);
    bool PassesExtension(const std::string& name) const;
    void Sort();

    DriveDiscoveryRoots roots_;
    std::vector<CardImageOption> images_;
    SourceKind kind_ = SourceKind::Nothing;
    std::vector<std::string> roots_list_;
    std::vector<RecordingInfo> recordings_;
    std::vector<SourceDrive> drives_;
    std::vector<std::string> folderNames_;
    std::vector<const RecordingInfo*> displayed_;
    std::vector<std::string> extensions_;
    std::array<std::uint8_t, kVorkBlockBytes> block_{};
    bool deviceOpen_ = false;
    int selectedDrive_ = -1;
};

}  // namespace kx
