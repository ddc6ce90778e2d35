#pragma once
// Getting a card recording ready to play. A complete recording plays straight from the card.
// One cut off by power loss (RIFF size 0), or one made without sound (video and text only), is
// first copied into the scratch folder as two work files, the header and the rest, and rebuilt
// there into "<name>_REPAIR.avi" or "<name>_AddAudio.avi", which is then played instead.

#include <cstdint>
#include <string>

namespace kx {

// Reads a recording from its start, a piece at a time (a file on a card, or on disk).
class RecordingReader {
public:
    virtual ~RecordingReader() = default;
    // Reads up to `size` bytes; returns how many, 0 or less at the end or on an error.
    virtual long long Read(void* buffer, std::size_t size) = 0;
    // Copies everything not yet read to the file `fd` when the reader can do that faster than
    // Read (a file on disk: a copy inside the kernel). False when it cannot; then nothing was
    // copied or `copied` says how much was.
    virtual bool CopyRestTo(int fd, std::uint64_t& copied) {
        (void)fd;
        copied = 0;
        return false;
    }
};

// A recording file on disk.
class FileRecordingReader final : public RecordingReader {
public:
    ~FileRecordingReader() override;
    bool Open(const std::string& path);
    long long Read(void* buffer, std::size_t size) override;
    bool CopyRestTo(int fd, std::uint64_t& copied) override;

private:
    int fd_ = -1;
};

struct PreparedRecording {
    enum class Play { Original, Rebuilt, Failed };
    Play play = Play::Failed;
    std::string path;   // the rebuilt file, when play is Rebuilt
    std::string error;  // why, when play is Failed
};

// The message shown when the work files cannot be made.
inline constexpr char kTextCannotRepair[] = "손상된 파일을 복구할 수 없습니다.";

// Decides from the recording's first bytes whether it can play as it is, and otherwise
// rebuilds it in `scratchFolder` (created when missing). `fileName` is the recording's name on
// the card; the work files and the target are named after it and always land inside the
// scratch folder. An existing, complete "_AddAudio.avi" target is reused as it is.
PreparedRecording PrepareCardRecording(RecordingReader& reader, const std::string& fileName,
                                       const std::string& scratchFolder);

// A card file name made safe to name files in the scratch folder with: no folder separators,
// no "..", no control characters, and not longer than a card file name can be.
std::string ScratchFileName(const std::string& cardName);

}  // namespace kx
