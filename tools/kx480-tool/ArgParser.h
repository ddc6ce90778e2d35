#pragma once
// A command's arguments: positional values and "--name value" / "--flag" options.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kx::tool {

class ArgParser {
public:
    // `valued` names the options that take a value, `flags` those that do not.
    ArgParser(const std::vector<std::string>& args, std::set<std::string> valued, std::set<std::string> flags);

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    const std::vector<std::string>& positional() const { return positional_; }
    std::optional<std::string> value(const std::string& name) const;
    bool flag(const std::string& name) const { return flags_.count(name) > 0; }

private:
    std::vector<std::string> positional_;
    std::map<std::string, std::string> values_;
    std::set<std::string> flags_;
    std::string error_;
};

// Whole decimal numbers in option values; nullopt for anything else.
std::optional<long long> ParseWholeNumber(const std::string& text);
std::optional<double> ParseRealNumber(const std::string& text);

}  // namespace kx::tool
