#include "app/avi/CardRecordingRebuild.h"

#include "app/avi/RecordingRebuild.h"
#include "app/avi/RiffBytes.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace kx {

namespace {

constexpr std::size_t kCopyPieceBytes = 0x40000;  // card data are read in 256 KiB pieces
constexpr std::size_t kTextTypeOffset = 232;      // first byte of the second stream's type
constexpr std::size_t kStreamCountOffset = 56;
constexpr std::size_t kMaxNameBytes = 200;

// Reads until `size` bytes came or the reader ends.
std::size_t ReadUpTo(RecordingReader& reader, std::uint8_t* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const long long n = reader.Read(buffer + done, size - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

// A rebuilt file is complete when its RIFF size accounts for its whole length.
bool IsCompleteRecording(const std::string& path) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec || size < 12) return false;
    std::uint8_t head[12];
    FileRecordingReader reader;
    if (!reader.Open(path) || ReadUpTo(reader, head, 12) != 12) return false;
    return ReadLE32(head) == MakeFourCC("RIFF") && std::uint64_t{ReadLE32(head + 4)} + 8 == size;
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

class OutputFile {
public:
    ~OutputFile() { Close(); }
    bool Create(const std::string& path) {
        fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        return fd_ >= 0;
    }
    bool Write(const std::uint8_t* data, std::size_t size) { return WriteAll(fd_, data, size); }
    int fd() const { return fd_; }
    bool Close() {
        const bool ok = fd_ < 0 || ::close(fd_) == 0;
        fd_ = -1;
        return ok;
    }

private:
    int fd_ = -1;
};

PreparedRecording Failed(std::string why) { return {PreparedRecording::Play::Failed, {}, std::move(why)}; }

}  // namespace

FileRecordingReader::~FileRecordingReader() {
    if (fd_ >= 0) ::close(fd_);
}

bool FileRecordingReader::Open(const std::string& path) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    return fd_ >= 0;
}

long long FileRecordingReader::Read(void* buffer, std::size_t size) {
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, size);
        if (n < 0 && errno == EINTR) continue;
        return n;
    }
}

bool FileRecordingReader::CopyRestTo(int fd, std::uint64_t& copied) {
    copied = 0;
    for (;;) {
        const ssize_t n = ::copy_file_range(fd_, nullptr, fd, nullptr, std::size_t{1} << 30, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        copied += static_cast<std::uint64_t>(n);
    }
}

std::string ScratchFileName(const std::string& cardName) {
    std::string name;
    for (char c : cardName) {
        const auto u = static_cast<unsigned char>(c);
        name += (c == '/' || c == '\\' || u < 0x20 || u == 0x7F) ? '_' : c;
    }
    for (std::size_t at; (at = name.find("..")) != std::string::npos;) name.replace(at, 2, "__");
    if (name.size() > kMaxNameBytes) {
        std::size_t cut = kMaxNameBytes;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;  // whole characters
        name.resize(cut);
    }
    if (name.empty() || name == ".") name = "recording";
    return name;
}

PreparedRecording PrepareCardRecording(RecordingReader& reader, const std::string& fileName,
                                       const std::string& scratchFolder) {
    // The RIFF header and as much of the header list as the decision needs.
    std::vector<std::uint8_t> head(20);
    if (ReadUpTo(reader, head.data(), 20) != 20) return Failed("not a recording: shorter than a RIFF header");
    const std::uint64_t headerBytes = 20 + std::uint64_t{ReadLE32(head.data() + 16)};
    head.resize(static_cast<std::size_t>(std::min<std::uint64_t>(headerBytes, kTextTypeOffset + 1)));
    head.resize(20 + ReadUpTo(reader, head.data() + 20, head.size() - 20));

    const std::uint32_t riffSize = ReadLE32(head.data() + 4);
    const bool twoStreamText = head.size() > kTextTypeOffset && head[kTextTypeOffset] == 't' &&
                               ReadLE32(head.data() + kStreamCountOffset) == 2;
    if (riffSize != 0 && !twoStreamText) return {PreparedRecording::Play::Original, {}, {}};

    std::error_code ec;
    fs::create_directories(scratchFolder, ec);
    const std::string base = scratchFolder + "/" + ScratchFileName(fileName);
    const std::string headerPath = base + "_hdlr";
    const std::string moviPath = base + "_movi";
    const std::string target = base + (riffSize != 0 ? "_AddAudio.avi" : "_REPAIR.avi");

    if (riffSize != 0 && IsCompleteRecording(target)) return {PreparedRecording::Play::Rebuilt, target, {}};
    for (const std::string& path : {headerPath, moviPath, target}) fs::remove(path, ec);

    OutputFile header;
    OutputFile movi;
    if (!header.Create(headerPath) || !movi.Create(moviPath)) return Failed(kTextCannotRepair);
    // The header work file gets the RIFF header and the whole header list, the movi work file
    // everything after it.
    std::vector<std::uint8_t> piece(kCopyPieceBytes);
    bool written = header.Write(head.data(), head.size());
    for (std::uint64_t left = headerBytes - head.size(); written && left > 0;) {
        const std::size_t n = ReadUpTo(reader, piece.data(), static_cast<std::size_t>(std::min<std::uint64_t>(left, piece.size())));
        if (n == 0) break;
        written = header.Write(piece.data(), n);
        left -= n;
    }
    std::uint64_t copied = 0;
    const bool fast = written && reader.CopyRestTo(movi.fd(), copied);
    // A fast copy that failed part-way cannot be resumed by reading: the file position moved.
    if (!fast && copied > 0) written = false;
    for (long long n; written && !fast && (n = reader.Read(piece.data(), piece.size())) > 0;)
        written = movi.Write(piece.data(), static_cast<std::size_t>(n));
    written = header.Close() && movi.Close() && written;
    if (!written) return Failed(kTextCannotRepair);

    std::string error;
    if (!RebuildRecording(headerPath, moviPath, target, twoStreamText, riffSize, &error))
        return Failed(fileName + " cannot be rebuilt: " + error);
    return {PreparedRecording::Play::Rebuilt, target, {}};
}

}  // namespace kx
