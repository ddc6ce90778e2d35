#include "app/core/Registry.h"

#include "app/core/ProgramPaths.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kx {

namespace {

constexpr std::size_t kMaxHiveBytes = 4 << 20;

// Registry key names compare without regard to case.
std::string KeyName(std::string path) {
    std::transform(path.begin(), path.end(), path.begin(), [](unsigned char c) {
        return static_cast<char>(c == '/' ? '\\' : std::tolower(c));
    });
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

std::string Escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

std::string Unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) { out += s[i]; continue; }
        const char c = s[++i];
        out += c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    return out;
}

// A whole hive: key name -> (value name -> value).
using Hive = std::map<std::string, std::map<std::string, RegistryKey::Value>>;

std::optional<Hive> ReadHive(const std::string& file) {
    Hive hive;
    std::error_code ec;
    if (!fs::exists(file, ec)) return hive;
    if (fs::file_size(file, ec) > kMaxHiveBytes || ec) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string line;
    std::map<std::string, RegistryKey::Value>* key = nullptr;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            key = &hive[KeyName(line.substr(1, line.size() - 2))];
            continue;
        }
        const auto eq = line.find('=');
        if (!key || eq == std::string::npos) continue;
        const std::string name = Unescape(line.substr(0, eq));
        const std::string data = line.substr(eq + 1);
        if (data.rfind("dword:", 0) == 0) {
            (*key)[name] = static_cast<std::uint32_t>(std::strtoul(data.c_str() + 6, nullptr, 10));
        } else if (data.rfind("sz:", 0) == 0) {
            (*key)[name] = Unescape(data.substr(3));
        }
    }
    return hive;
}

bool WriteHive(const std::string& file, const Hive& hive) {
    std::error_code ec;
    fs::create_directories(fs::path(file).parent_path(), ec);
    const std::string temp = file + ".tmp" + std::to_string(getpid());
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        for (const auto& [keyName, values] : hive) {
            out << '[' << keyName << "]\n";
            for (const auto& [name, value] : values) {
                out << Escape(name) << '=';
                if (const auto* dword = std::get_if<std::uint32_t>(&value)) out << "dword:" << *dword;
                else out << "sz:" << Escape(std::get<std::string>(value));
                out << '\n';
            }
        }
        if (!out.flush()) return false;
    }
    fs::rename(temp, file, ec);
    if (ec) fs::remove(temp, ec);
    return !ec;
}

bool KeyExists(const Hive& hive, const std::string& key) {
    const auto it = hive.lower_bound(key);
    if (it == hive.end()) return false;
    return it->first == key || it->first.rfind(key + "\\", 0) == 0;
}

}  // namespace

std::string RegistryHivePath(RegistryHive hive) {
    if (const char* dir = std::getenv("KX480_REGISTRY_DIR"); dir && *dir)
        return std::string(dir) + (hive == RegistryHive::CurrentUser ? "/user.reg" : "/machine.reg");
    if (hive == RegistryHive::LocalMachine) return "/etc/kx480-viewer/registry.ini";
    const std::string user = UserConfigFolder();
    return user.empty() ? user : user + "/registry.ini";
}

std::optional<RegistryKey> RegistryKey::Open(RegistryHive hive, const std::string& path) {
    const std::string file = RegistryHivePath(hive);
    if (file.empty()) return std::nullopt;
    const std::optional<Hive> contents = ReadHive(file);
    if (!contents || !KeyExists(*contents, KeyName(path))) return std::nullopt;
    return RegistryKey(hive, KeyName(path));
}

std::optional<RegistryKey> RegistryKey::Create(RegistryHive hive, const std::string& path) {
    const std::string file = RegistryHivePath(hive);
    if (file.empty()) return std::nullopt;
    std::optional<Hive> contents = ReadHive(file);
    if (!contents) return std::nullopt;
    const std::string key = KeyName(path);
    if (!KeyExists(*contents, key)) {
        (*contents)[key];
        if (!WriteHive(file, *contents)) return std::nullopt;
    }
    return RegistryKey(hive, key);
}

bool RegistryKey::Set(const std::string& name, Value value) const {
    const std::string file = RegistryHivePath(hive_);
    std::optional<Hive> contents = ReadHive(file);
    if (!contents) return false;
    (*contents)[path_][name] = std::move(value);
    return WriteHive(file, *contents);
}

std::optional<RegistryKey::Value> RegistryKey::Query(const std::string& name) const {
    const std::optional<Hive> contents = ReadHive(RegistryHivePath(hive_));
    if (!contents) return std::nullopt;
    const auto key = contents->find(path_);
    if (key == contents->end()) return std::nullopt;
    const auto value = key->second.find(name);
    if (value == key->second.end()) return std::nullopt;
    return value->second;
}

bool RegistryKey::SetDword(const std::string& name, std::uint32_t value) const { return Set(name, value); }
bool RegistryKey::SetString(const std::string& name, const std::string& value) const { return Set(name, value); }

std::optional<std::uint32_t> RegistryKey::QueryDword(const std::string& name) const {
    const auto v = Query(name);
    if (!v) return std::nullopt;
    if (const auto* dword = std::get_if<std::uint32_t>(&*v)) return *dword;
    return std::nullopt;
}

std::optional<std::string> RegistryKey::QueryString(const std::string& name) const {
    const auto v = Query(name);
    if (!v) return std::nullopt;
    if (const auto* text = std::get_if<std::string>(&*v)) return *text;
    return std::nullopt;
}

}  // namespace kx
