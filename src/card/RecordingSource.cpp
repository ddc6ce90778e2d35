#include "card/RecordingSource.h"

#include "app/core/DebugLog.h"
#include "app/core/LanguageTable.h"
#include "card/CardFileReader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <filesystem>
#include <iostream>
#include <map>

namespace fs = std::filesystem;

namespace kx {

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// "a<sep>b<sep>c" with a of `firstDigits` digits and b, c of two, zero-padded; a hot loop
// when a large card is listed, so no printf.
std::string Joined(int a, int firstDigits, char separator, int b, int c) {
    std::string out;
    const auto put = [&out](int value, int digits) {
        if (value < 0) {  // rare: printf's width counts the sign
            char text[16];
            std::snprintf(text, sizeof text, "%0*d", digits, value);
            out += text;
            return;
        }
        const std::string text = std::to_string(value);
        if (static_cast<int>(text.size()) < digits) out.append(static_cast<std::size_t>(digits) - text.size(), '0');
        out += text;
    };
    put(a, firstDigits);
    out += separator;
    put(b, 2);
    out += separator;
    put(c, 2);
    return out;
}

}  // namespace

CRecordingSource::CRecordingSource() { KX_Vork_Start(); }

CRecordingSource::~CRecordingSource() {
    CloseDevice();
    KX_Vork_Stop();
}

void CRecordingSource::CloseDevice() {
    if (deviceOpen_) KX_Vork_Device_Close(block_.data());
    block_.fill(0);
    deviceOpen_ = false;
}

bool CRecordingSource::AddFolderName(const std::string& name) {
    if (std::find(folderNames_.begin(), folderNames_.end(), name) != folderNames_.end()) return false;
    folderNames_.push_back(name);
    return true;
}

bool CRecordingSource::AddExtension(const std::string& extension) {
    const std::string lower = Lower(extension);
    if (std::find(extensions_.begin(), extensions_.end(), lower) != extensions_.end()) return false;
    extensions_.push_back(lower);
    return true;
}

int CRecordingSource::DiscoverDrives() {
    drives_ = DiscoverRemovableDrives(roots_, images_);
    SourceDrive computer;
    computer.index = static_cast<int>(drives_.size());
    computer.root = kComputerEntryName;
    computer.kind = SourceKind::Computer;
    drives_.push_back(computer);
    return static_cast<int>(drives_.size());
}

bool CRecordingSource::PassesExtension(const std::string& name) const {
    const auto dot = name.rfind('.');
    if (name.empty() || dot == std::string::npos) return false;
    const std::string_view ext = std::string_view(name).substr(dot + 1);
    return std::any_of(extensions_.begin(), extensions_.end(), [ext](const std::string& known) {
        return known.size() == ext.size() &&
               std::equal(ext.begin(), ext.end(), known.begin(), [](char a, char b) {
                   return std::tolower(static_cast<unsigned char>(a)) == b;
               });
    });
}

void CRecordingSource::AddRecording(std::string path, std::string name, std::uint64_t sizeKb, int group) {
    RecordingInfo r;
    r.group = group;
    r.time = TimeFromName(name);
    r.name = std::move(name);
    r.fullPath = std::move(path);
    r.sizeKb = sizeKb;
    recordings_.push_back(std::move(r));
}

std::uint64_t CRecordingSource::SizeKbOf(const RecordingInfo& r) const {
    if (r.sizeKb != kSizeUnknown) return r.sizeKb;
    struct stat st {};
    return ::stat(r.fullPath.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) / 1024 : 0;
}

bool CRecordingSource::AddFile(const std::string& path, int group) {
    std::string name = fs::path(path).filename().string();
    if (!PassesExtension(name)) return false;
    std::error_code ec;
    const auto bytes = fs::file_size(path, ec);
    AddRecording(path, std::move(name), ec ? 0 : bytes / 1024, group);
    return true;
}

int CRecordingSource::ScanFolder(const std::string& folder, int group) {
    // POSIX directory calls: the entries' types come with the listing, and sizes are asked
    // relative to the open folder, which keeps a scan of thousands of recordings quick.
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    // The listing's own order: the sort by recording time that follows decides the playlist.
    std::vector<std::pair<std::string, unsigned char>> entries;
    while (const dirent* e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) entries.emplace_back(e->d_name, e->d_type);
    }
    int count = 0;
    for (auto& [name, type] : entries) {
        struct stat st {};
        const bool known = type != DT_UNKNOWN;
        if (!known && ::fstatat(::dirfd(dir), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        // Links are not followed: a link to a folder could lead back up the tree.
        const bool isFolder = known ? type == DT_DIR : S_ISDIR(st.st_mode);
        const bool isFile = known ? type == DT_REG : S_ISREG(st.st_mode);
        if (isFolder) {
            ScanFolder(prefix + name, group);
            ++count;  // a subfolder whose scan ran counts once, whatever it held
        } else if (isFile && PassesExtension(name)) {
            std::string path = prefix + name;
            AddRecording(std::move(path), std::move(name), known ? kSizeUnknown : static_cast<std::uint64_t>(st.st_size) / 1024,
                         group);
            ++count;
        }
    }
    ::closedir(dir);
    return count;
}

void CRecordingSource::Sort() {
    // The 15-character stamp packed into two big-endian words (zero-padded when the name is
    // short) orders exactly as the text does; sorting these keys moves no strings.
    struct Key {
        std::uint64_t high = 0, low = 0;
        std::size_t index = 0;
    };
    std::vector<Key> keys(recordings_.size());
    for (std::size_t i = 0; i < recordings_.size(); ++i) {
        const std::string_view stamp = SortStamp(recordings_[i].name);
        Key& k = keys[i];
        for (std::size_t c = 0; c < 16; ++c) {
            const std::uint64_t byte = c < stamp.size() ? static_cast<unsigned char>(stamp[c]) : 0;
            (c < 8 ? k.high : k.low) = (c < 8 ? k.high : k.low) << 8 | byte;
        }
        k.index = i;
    }
    const auto sameStamp = [](const Key& a, const Key& b) { return a.high == b.high && a.low == b.low; };
    std::stable_sort(keys.begin(), keys.end(),
                     [](const Key& a, const Key& b) { return a.high != b.high ? a.high < b.high : a.low < b.low; });
    // Equal stamps go by size: only those few recordings need their sizes now.
    for (auto run = keys.begin(); run != keys.end();) {
        auto end = run + 1;
        while (end != keys.end() && sameStamp(*end, *run)) ++end;
        if (end - run > 1) {
            for (auto it = run; it != end; ++it) recordings_[it->index].sizeKb = SizeKbOf(recordings_[it->index]);
            std::stable_sort(run, end, [this](const Key& a, const Key& b) {
                return recordings_[a.index].sizeKb < recordings_[b.index].sizeKb;
            });
        }
        run = end;
    }
    std::vector<RecordingInfo> sorted;
    sorted.reserve(recordings_.size());
    for (const Key& k : keys) sorted.push_back(std::move(recordings_[k.index]));
    recordings_ = std::move(sorted);
}

bool CRecordingSource::LoadSource(int driveIndex) {
    if (driveIndex < 0) return false;
    CloseDevice();
    if (static_cast<std::size_t>(driveIndex) >= drives_.size()) return false;
    const SourceDrive& drive = drives_[static_cast<std::size_t>(driveIndex)];
    kind_ = drive.kind;
    roots_list_.clear();
    recordings_.clear();
    displayed_.clear();
    if (drive.kind == SourceKind::RemovableDrive) {
        ScanFolder(drive.root, 0);
        roots_list_.push_back(drive.root);
    } else if (drive.kind == SourceKind::Card) {
        if (KX_Vork_Device_Open(drive.devicePath.c_str(), 130, block_.data()) != 0) {
            block_.fill(0);
            std::cout << "VORK drive cannot be opened" << std::endl;
            return false;
        }
        deviceOpen_ = true;
        for (std::size_t group = 0; group < folderNames_.size(); ++group) {
            const std::string& folder = folderNames_[group];
            int next = 1;
            for (;;) {
                std::array<std::uint8_t, kVorkListBytes> list{};
                const std::int32_t capacity = kVorkListCapacity;
                std::memcpy(list.data(), &capacity, 4);
                const int n = KX_Vork_Get_FileList(block_.data(), folder.c_str(), &next, list.data(), 0);
                if (n <= 0) break;
                for (int i = 0; i < n; ++i) {
                    const std::uint8_t* e = list.data() + 4 + i * kVorkListEntryBytes;
                    const auto* end = static_cast<const std::uint8_t*>(std::memchr(e, 0, kVorkListNameBytes));
                    RecordingInfo r;
                    r.group = static_cast<int>(group);
                    std::memcpy(&r.cardFileId, e + kVorkListIdOffset, 4);
                    std::uint32_t bytes = 0;
                    std::memcpy(&bytes, e + kVorkListSizeOffset, 4);
                    r.cardName.assign(reinterpret_cast<const char*>(e), end ? static_cast<std::size_t>(end - e) : kVorkListNameBytes);
                    r.name = r.cardName;
                    r.fullPath = r.name;
                    r.time = TimeFromName(r.name);
                    r.sizeKb = bytes / 1024;
                    DebugLog("file_size = %llu", static_cast<unsigned long long>(r.sizeKb));
                    recordings_.push_back(std::move(r));
                }
            }
            roots_list_.push_back(folder);
        }
    } else {
        return false;
    }
    Sort();
    selectedDrive_ = driveIndex;
    return true;
}

bool CRecordingSource::LoadSource(int driveIndex, const std::vector<std::string>& items, bool dropped) {
    if (driveIndex < 0) return false;
    CloseDevice();
    if (static_cast<std::size_t>(driveIndex) >= drives_.size()) return false;
    kind_ = drives_[static_cast<std::size_t>(driveIndex)].kind;
    roots_list_.clear();
    recordings_.clear();
    displayed_.clear();
    int count = 0;
    std::error_code ec;
    for (std::string item : items) {
        if (fs::is_directory(item, ec)) {
            count += ScanFolder(item, 1);
            continue;
        }
        if (!dropped && Lower(item.size() >= 4 ? item.substr(item.size() - 4) : item) != ".avi") item += ".avi";
        if (!fs::exists(item, ec)) return false;  // what was loaded so far stays, unsorted
        if (AddFile(item, 1)) ++count;
    }
    if (count <= 0) return false;
    roots_list_.push_back(items.back());
    Sort();
    selectedDrive_ = driveIndex;
    return true;
}

int CRecordingSource::Fill(bool all, RecordingKind kind, PlaylistFill& fill) {
    if (all && recordings_.empty()) return 0;
    displayed_.clear();
    fill = PlaylistFill{};
    // Each kind's label is fetched once per fill.
    std::map<int, std::string> labels;
    for (const RecordingInfo& r : recordings_) {
        const KindOfName k = ClassifyRecording(r.name);
        fill.any = true;
        fill.normal |= k.kind == RecordingKind::Normal;
        fill.event |= k.kind == RecordingKind::Event;
        fill.parking |= k.kind == RecordingKind::Parking;
        if (!all && k.kind != kind) continue;
        PlaylistRow row;
        row.number = std::to_string(displayed_.size() + 1);
        row.date = Joined(r.time.year, 4, '-', r.time.month, r.time.day);
        row.time = Joined(r.time.hour, 2, ':', r.time.minute, r.time.second);
        if (!k.labelString) {
            row.kind = kUnknownKindLabel;
        } else {
            auto label = labels.find(k.labelString);
            if (label == labels.end())
                label = labels.emplace(k.labelString, LanguageString(k.labelString).value_or("")).first;
            row.kind = label->second;
        }
        row.fullPath = r.fullPath;
        row.name = r.name;
        row.recording = &r;
        fill.rows.push_back(std::move(row));
        displayed_.push_back(&r);
    }
    return static_cast<int>(fill.rows.size());
}

int CRecordingSource::FillAll(PlaylistFill& fill) { return Fill(true, RecordingKind::Normal, fill); }
int CRecordingSource::FillKind(RecordingKind kind, PlaylistFill& fill) { return Fill(false, kind, fill); }

const RecordingInfo* CRecordingSource::RowRecording(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= displayed_.size()) return nullptr;
    return displayed_[static_cast<std::size_t>(row)];
}

const SourceDrive* CRecordingSource::SelectedDrive() const {
    if (selectedDrive_ < 0 || static_cast<std::size_t>(selectedDrive_) >= drives_.size()) return nullptr;
    return &drives_[static_cast<std::size_t>(selectedDrive_)];
}

std::string CRecordingSource::CardPath(const RecordingInfo& r) const {
    const std::string folder = r.group >= 0 && static_cast<std::size_t>(r.group) < roots_list_.size()
                                   ? roots_list_[static_cast<std::size_t>(r.group)]
                                   : std::string();
    return "/" + folder + "/" + r.cardName;
}

std::string CRecordingSource::DefaultCopyName(int row) const {
    const RecordingInfo* r = RowRecording(row);
    if (!r) return {};
    if (r->cardFileId >= 1) {
        const auto dot = r->name.rfind('.');
        return (dot == std::string::npos ? r->name : r->name.substr(0, dot)) + ".avi";
    }
    return fs::path(r->fullPath).filename().string();
}

CopyResult CRecordingSource::CopyToComputer(int row, const std::string& target, const CopyProgress& progress) {
    const RecordingInfo* r = RowRecording(row);
    if (!r || target.empty()) return kCopyFailed;
    std::error_code ec;
    const std::string partial = target + ".part";
    if (r->cardFileId >= 1) {
        if (!deviceOpen_) return kCopyFailed;
        card::CardFileReader reader(block_.data(), CardPath(*r), r->cardFileId);
        std::FILE* out = reader.IsOpen() ? std::fopen(partial.c_str(), "wb") : nullptr;
        if (!out) return kCopyFailed;
        std::vector<char> buffer(kVorkCopyBlockBytes);
        const std::uint64_t total = SizeKbOf(*r) * 1024;
        std::uint64_t done = 0;
        bool ok = true, cancelled = false;
        for (long long n; ok && (n = reader.Read(buffer.data(), buffer.size())) > 0;) {
            ok = std::fwrite(buffer.data(), 1, static_cast<std::size_t>(n), out) == static_cast<std::size_t>(n);
            done += static_cast<std::uint64_t>(n);
            if (progress && !progress(done, std::max(total, done))) cancelled = true, ok = false;
        }
        ok = std::fclose(out) == 0 && ok;
        if (ok) fs::rename(partial, target, ec);
        if (!ok || ec) {
            fs::remove(partial, ec);
            return cancelled ? kCopyCancelled : kCopyFailed;
        }
        return kCopied;
    }
    if (fs::equivalent(r->fullPath, target, ec)) return kCopyFailed;
    fs::copy_file(r->fullPath, partial, fs::copy_options::overwrite_existing, ec);
    if (!ec) fs::rename(partial, target, ec);
    if (ec) {
        fs::remove(partial, ec);
        return kCopyFailed;
    }
    if (progress) progress(1, 1);
    return kCopied;
}

}  // namespace kx
