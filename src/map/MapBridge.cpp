#include "map/MapBridge.h"

#include <cstdio>

namespace kx {
namespace {

constexpr std::string_view kScheme = "javascript:";
constexpr std::string_view kSeparators = " ,'\"\t();";
constexpr std::string_view kBlank = " \t\r\n\v\f";

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(kBlank);
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(kBlank);
    return text.substr(first, last - first + 1);
}

// A JavaScript string literal: quotes, backslashes and control characters escaped, so that any
// token or name arrives on the page exactly as it was written.
std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

}  // namespace

std::optional<ScriptCall> ParseScriptCommand(std::string_view command) {
    if (command.empty()) return std::nullopt;
    if (const auto scheme = command.find(kScheme); scheme != std::string_view::npos)
        command.remove_prefix(scheme + kScheme.size());
    const auto open = command.find('(');
    if (open == std::string_view::npos) return std::nullopt;
    ScriptCall call;
    call.function = std::string(Trim(command.substr(0, open)));
    if (call.function.empty()) return std::nullopt;
    std::string_view rest = command.substr(open + 1);
    while (!rest.empty()) {
        const auto start = rest.find_first_not_of(kSeparators);
        if (start == std::string_view::npos) break;
        rest.remove_prefix(start);
        const auto end = rest.find_first_of(kSeparators);
        call.arguments.emplace_back(rest.substr(0, end));
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end);
    }
    return call;
}

std::string ScriptCallText(const ScriptCall& call) {
    std::string args;
    for (const auto& argument : call.arguments) {
        if (!args.empty()) args += ',';
        args += Quoted(argument);
    }
    return "(function(){var f=window[" + Quoted(call.function) +
           "];if(typeof f!=='function')return null;var r=f(" + args +
           ");return r===undefined||r===null?null:String(r);})()";
}

std::string PositionCommand(double latitude, double longitude) {
    char text[128];
    std::snprintf(text, sizeof text, "javascript:positionChange('%lf', '%lf')", latitude,
                  longitude);
    return text;
}

}  // namespace kx
