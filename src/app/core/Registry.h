#pragma once
// A small stand-in for the Windows registry: keys and values kept in one INI file per hive.
// The current user's hive lives in the user's configuration folder, the machine's hive in
// /etc/kx480-viewer (writable by root only). Every operation reports failure by its result;
// nothing throws.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>

namespace kx {

enum class RegistryHive { CurrentUser, LocalMachine };

// The INI file that holds a hive; the KX480_REGISTRY_DIR variable moves both (tests, kiosks).
std::string RegistryHivePath(RegistryHive hive);

class RegistryKey {
public:
    using Value = std::variant<std::uint32_t, std::string>;

    // Opens an existing key; nullopt when it does not exist or the hive cannot be read.
    static std::optional<RegistryKey> Open(RegistryHive hive, const std::string& path);
    // Opens the key, creating it (and the keys above it) when missing; nullopt when the hive
    // cannot be written.
    static std::optional<RegistryKey> Create(RegistryHive hive, const std::string& path);

    bool SetDword(const std::string& name, std::uint32_t value) const;
    bool SetString(const std::string& name, const std::string& value) const;
    std::optional<std::uint32_t> QueryDword(const std::string& name) const;
    std::optional<std::string> QueryString(const std::string& name) const;

private:
    RegistryKey(RegistryHive hive, std::string path) : hive_(hive), path_(std::move(path)) {}
    bool Set(const std::string& name, Value value) const;
    std::optional<Value> Query(const std::string& name) const;

    RegistryHive hive_;
    std::string path_;
};

}  // namespace kx
