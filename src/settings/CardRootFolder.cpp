#include "settings/CardRootFolder.h"

#include "card/CardDisk.h"
#include "settings/ExternalProgram.h"

#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kx::settings {

namespace {

class DirectoryCardRoot final : public CardRootFolder {
public:
    explicit DirectoryCardRoot(std::string folder) : folder_(std::move(folder)) {}

    std::optional<std::vector<std::string>> ListFiles() const override {
        std::error_code ec;
        std::vector<std::string> names;
        fs::directory_iterator it(folder_, ec), end;
        if (ec) return std::nullopt;
        for (; it != end; it.increment(ec)) {
            if (ec) return std::nullopt;
            std::error_code typeError;
            if (it->is_regular_file(typeError)) names.push_back(it->path().filename().string());
        }
        return names;
    }

    bool CopyOut(const std::string& name, const std::string& localPath) const override {
        std::error_code ec;
        return fs::copy_file(Path(name), localPath, fs::copy_options::overwrite_existing, ec) && !ec;
    }

    bool CopyIn(const std::string& localPath, const std::string& name) override {
        // A partial copy never takes the name: written beside it, then renamed over it.
        const fs::path partial = Path("." + name + ".part");
        std::error_code ec;
        if (!fs::copy_file(localPath, partial, fs::copy_options::overwrite_existing, ec) || ec) {
            fs::remove(partial, ec);
            return false;
        }
        fs::rename(partial, Path(name), ec);
        if (ec) fs::remove(partial, ec);
        return !ec;
    }

    bool Remove(const std::string& name) override {
        std::error_code ec;
        return fs::remove(Path(name), ec) && !ec;
    }

    std::string Describe() const override { return folder_; }

private:
    fs::path Path(const std::string& name) const { return fs::path(folder_) / name; }
    std::string folder_;
};

class FatCardRoot final : public CardRootFolder {
public:
    FatCardRoot(std::string image, std::uint64_t offset)
        : image_(std::move(image)), drive_(image_ + "@@" + std::to_string(offset)) {}

    std::optional<std::vector<std::string>> ListFiles() const override {
        std::string out;
        if (RunProgram({"mdir", "-b", "-a", "-i", drive_, "::/"}, &out) != 0) return std::nullopt;
        std::vector<std::string> names;
        std::istringstream lines(out);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("::/", 0) != 0) continue;
            const std::string name = line.substr(3);
            // Folders are listed with their contents below them; only plain root entries count.
            if (!name.empty() && name.find('/') == std::string::npos) names.push_back(name);
        }
        return names;
    }

    bool CopyOut(const std::string& name, const std::string& localPath) const override {
        std::error_code ec;
        fs::remove(localPath, ec);
        return RunProgram({"mcopy", "-n", "-i", drive_, "::/" + name, localPath}) == 0 && fs::is_regular_file(localPath, ec);
    }

    bool CopyIn(const std::string& localPath, const std::string& name) override {
        return RunProgram({"mcopy", "-o", "-i", drive_, localPath, "::/" + name}) == 0;
    }

    bool Remove(const std::string& name) override { return RunProgram({"mdel", "-i", drive_, "::/" + name}) == 0; }

    std::string Describe() const override { return image_ + " (partition 1)"; }

private:
    std::string image_;
    std::string drive_;
};

}  // namespace

std::unique_ptr<CardRootFolder> MakeDirectoryCardRoot(const std::string& folder) {
    return std::make_unique<DirectoryCardRoot>(folder);
}

std::unique_ptr<CardRootFolder> MakeFatCardRoot(const std::string& image, std::uint64_t offsetBytes) {
    return std::make_unique<FatCardRoot>(image, offsetBytes);
}

std::optional<FirstPartition> ReadFirstPartition(const std::string& disk) {
    const auto card = card::CardDisk::Open(disk, false);
    if (!card) return std::nullopt;
    const auto table = card->ReadPartitions();
    if (!table || !(*table)[0].used()) return std::nullopt;
    const card::Partition& p = (*table)[0];
    if (p.firstSector == 0 || p.firstSector + p.sectors > card->Sectors()) return std::nullopt;
    return FirstPartition{p.firstSector, p.sectors};
}

}  // namespace kx::settings
