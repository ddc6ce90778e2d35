#include "app/core/ProgramPaths.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kx {

namespace {

constexpr const char* kAppFolderName = "kx480-viewer";

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && *pw->pw_dir) return pw->pw_dir;
    return {};
}

// An XDG base folder: the variable when it holds an absolute path, else home + fallback.
std::string XdgBase(const char* variable, const char* fallback) {
    if (const char* v = std::getenv(variable); v && *v == '/') return v;
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + "/" + fallback;
}

bool IsWritableFolder(const std::string& folder) {
    return !folder.empty() && access(folder.c_str(), W_OK | X_OK) == 0;
}

// The documents entry of user-dirs.dirs: XDG_DOCUMENTS_DIR="$HOME/Documents".
std::string DocumentsFromUserDirs(const std::string& home) {
    const std::string config = XdgBase("XDG_CONFIG_HOME", ".config");
    if (config.empty()) return {};
    std::ifstream in(config + "/user-dirs.dirs");
    std::string line;
    constexpr std::string_view key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) != 0) continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
        if (!value.empty() && value.front() == '/') return value;
    }
    return {};
}

}  // namespace

std::string ProgramFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || !exe.has_parent_path()) return {};
    return exe.parent_path().string();
}

std::string UserConfigFolder() {
    const std::string base = XdgBase("XDG_CONFIG_HOME", ".config");
    return base.empty() ? base : base + "/" + kAppFolderName;
}

std::string UserCacheFolder() {
    const std::string base = XdgBase("XDG_CACHE_HOME", ".cache");
    return base.empty() ? base : base + "/" + kAppFolderName;
}

std::string OptionsPath() {
    std::error_code ec;
    const std::string program = ProgramFolder();
    if (!program.empty() && fs::is_directory(program + "/config", ec))
        return program + "/config/option.ini";
    const std::string user = UserConfigFolder();
    if (user.empty()) return {};
    fs::create_directories(user, ec);
    return user + "/option.ini";
}

std::string TempFolder() {
    const std::string program = ProgramFolder();
    if (!program.empty()) {
        const std::string temp = program + "/temp";
        std::error_code ec;
        if (fs::is_directory(temp, ec) ? IsWritableFolder(temp) : IsWritableFolder(program))
            return temp;
    }
    const std::string cache = UserCacheFolder();
    return cache.empty() ? cache : cache + "/temp";
}

std::string DocumentsFolder() {
    const std::string home = HomeFolder();
    if (home.empty()) return {};
    std::string documents = DocumentsFromUserDirs(home);
    return documents.empty() ? home + "/Documents" : documents;
}

std::string DefaultCaptureFolder() {
    const std::string documents = DocumentsFolder();
    if (documents.empty()) return {};
    const std::string folder = documents + "/CAM_CAPTURE";
    std::error_code ec;
    fs::create_directories(folder, ec);  // an existing folder is no error; a failure is silent
    return folder;
}

}  // namespace kx
