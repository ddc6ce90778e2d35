#pragma once
// The map page's script bridge without a browser: a command text such as
// "javascript:positionChange('37.508333', '9.504167')" becomes a function name and its string
// arguments, and then the script text that calls it. Plain C++ so that tests and the tool can
// check the parsing without a web engine.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

struct ScriptCall {
    std::string function;
    std::vector<std::string> arguments;
};

// Everything up to and including "javascript:" is dropped; the function name is the text before
// the first "(", trimmed; the arguments are the tokens after it, split at blank, comma,
// apostrophe, quotation mark, tab, "(", ")" and ";" with empty tokens dropped. nullopt for an
// empty command, a command without "(" and an empty function name: nothing is called then.
std::optional<ScriptCall> ParseScriptCommand(std::string_view command);

// The script that calls `call` on the page with every argument as a string, looked up by name
// on the page's global object so that a name can never inject code. It evaluates to the
// function's return value as text, or null when the page has no such function or it returned
// nothing.
std::string ScriptCallText(const ScriptCall& call);

// The position command the map view sends: latitude and longitude in decimal degrees with six
// decimals, a minus sign for south and west.
std::string PositionCommand(double latitude, double longitude);

}  // namespace kx
