#include "ArgParser.h"

#include <charconv>

namespace kx::tool {

ArgParser::ArgParser(const std::vector<std::string>& args, std::set<std::string> valued, std::set<std::string> flags) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0 || a.size() == 2) {
            positional_.push_back(a);
            continue;
        }
        const std::string name = a.substr(2);
        if (flags.count(name)) {
            flags_.insert(name);
        } else if (valued.count(name)) {
            if (i + 1 == args.size()) {
                error_ = "option " + a + " needs a value";
                return;
            }
            values_[name] = args[++i];
        } else {
            error_ = "unknown option " + a;
            return;
        }
    }
}

std::optional<std::string> ArgParser::value(const std::string& name) const {
    const auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::optional<long long> ParseWholeNumber(const std::string& text) {
    long long v = 0;
    const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || p != text.data() + text.size() || text.empty()) return std::nullopt;
    return v;
}

std::optional<double> ParseRealNumber(const std::string& text) {
    double v = 0;
    const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || p != text.data() + text.size() || text.empty()) return std::nullopt;
    return v;
}

}  // namespace kx::tool
