#include "app/core/LanguageTable.h"

#include "app/core/DebugLog.h"
#include "app/core/ProgramPaths.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifndef KX_DATA_DIR
#define KX_DATA_DIR "/usr/local/share/kx480-viewer"
#endif

namespace kx {

namespace {

constexpr std::array<const char*, kLanguageCount> kLanguageNames = {
    "English", "Korean", "German", "Japanese", "Chinese", "Dutch",
    "French",  "Italien", "Polish", "Portuguese", "Russian", "Spanish"};

constexpr std::size_t kMaxTableBytes = 4 << 20;
constexpr std::size_t kMaxTextChars = 1023;  // a text fills at most a 1024-character buffer

std::string Unescape(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        switch (s[++i]) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case '\\': out += '\\'; break;
            default: out += '\\'; out += s[i]; break;
        }
    }
    return out;
}

// Cuts a UTF-8 text after `maxChars` code points.
std::string CutToChars(std::string text, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (chars++ == maxChars) {
            text.resize(i);
            break;
        }
    }
    return text;
}

}  // namespace

LanguageTable LanguageTable::Parse(std::string_view text) {
    LanguageTable table;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    while (!text.empty()) {
        const auto nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        const auto eq = line.find('=');
        if (eq == 0 || eq == std::string_view::npos || eq > 5) continue;
        int number = 0;
        bool digits = true;
        for (char c : line.substr(0, eq)) {
            if (c < '0' || c > '9') digits = false;
            else number = number * 10 + (c - '0');
        }
        if (!digits || number > 65535) continue;
        table.texts_[number] = CutToChars(Unescape(line.substr(eq + 1)), kMaxTextChars);
    }
    return table;
}

std::shared_ptr<const LanguageTable> LanguageTable::Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    std::string text(kMaxTableBytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return std::make_shared<const LanguageTable>(Parse(text));
}

const std::string* LanguageTable::Find(int number) const {
    const auto it = texts_.find(number);
    return it == texts_.end() ? nullptr : &it->second;
}

const char* LanguageName(int index) {
    if (index < 0 || index >= kLanguageCount) return nullptr;
    return kLanguageNames[static_cast<std::size_t>(index)];
}

std::string LanguageFilePath(int index) {
    const char* name = LanguageName(index);
    if (!name) return {};
    const std::string file = std::string("/lang/") + name + ".lng";
    std::error_code ec;
    for (const std::string& folder : {ProgramFolder(), std::string(KX_DATA_DIR)}) {
        if (folder.empty()) continue;
        if (std::filesystem::is_regular_file(folder + file, ec)) return folder + file;
    }
    return {};
}

void LoadLanguageLibrary(ViewerOptions& options) {
    options.languageLibrary.reset();
    const std::string path = LanguageFilePath(options.languageIndex);
    if (!path.empty()) options.languageLibrary = LanguageTable::Load(path);
    if (!options.languageLibrary) DebugLog("no language table for index %d", options.languageIndex);
}

std::optional<std::string> LanguageString(int number) {
    ViewerOptions& options = TheViewerOptions();
    if (!options.languageLibrary) LoadLanguageLibrary(options);
    const std::shared_ptr<const LanguageTable> table = options.languageLibrary;
    if (!table) return std::nullopt;
    const std::string* text = table->Find(number);
    return text ? *text : std::string();
}

}  // namespace kx
