#include "settings/TextLines.h"

#include <filesystem>
#include <fstream>

namespace kx::settings {

bool ReadTextLine(std::istream& in, std::string& line) {
    line.clear();
    bool any = false;
    bool full = false;
    for (int c; (c = in.get()) != std::char_traits<char>::eof();) {
        any = true;
        if (c == '\r' && in.peek() == '\n') continue;  // CR LF reads as "\n"
        if (!full) {
            line.push_back(static_cast<char>(c));
            full = line.size() == kMaxLineChars;
        }
        if (c == '\n') break;
    }
    return any;
}

bool WriteFileBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    return static_cast<bool>(out);
}

bool OpenTextFile(const std::string& path, std::ifstream& in) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return false;
    in.open(path, std::ios::binary);
    return in.is_open();
}

}  // namespace kx::settings
