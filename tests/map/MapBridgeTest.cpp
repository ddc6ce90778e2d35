// The bridge's parsing and the position command, without a browser.

#include "map/MapBridge.h"
#include "map/WebEngineSetup.h"
#include "telemetry/TelemetryLookup.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

using Args = std::vector<std::string>;

struct ParseCase {
    const char* command;
    const char* function;
    Args arguments;
};

TEST(MapBridge, ParsesCommandsIntoANameAndStringTokens) {
    const ParseCase cases[] = {
        {"javascript:positionChange('37.508333', '9.504167')", "positionChange",
         {"37.508333", "9.504167"}},
        {"javascript:positionChange('-33.856784', '-151.215297')", "positionChange",
         {"-33.856784", "-151.215297"}},
        {"  track ( \"1\",2;\t3 ) ", "track", {"1", "2", "3"}},
        {"prefix javascript:f()", "f", {}},
        {"f(a b)(c)", "f", {"a", "b", "c"}},
        {"g(x\\y)", "g", {"x\\y"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const auto call = ParseScriptCommand(c.command);
        ASSERT_TRUE(call);
        EXPECT_EQ(call->function, c.function);
        EXPECT_EQ(call->arguments, c.arguments);
    }
}

TEST(MapBridge, CallsNothingWithoutAFunction) {
    for (const char* command : {"", "javascript:", "positionChange", "javascript:  ('1')", "(1)"}) {
        SCOPED_TRACE(command);
        EXPECT_FALSE(ParseScriptCommand(command));
    }
}

TEST(MapBridge, PositionOfAFixIsSentWithSixDecimals) {
    const double latitude = NmeaToDegrees(3730.5);
    const double longitude = NmeaToDegrees(930.25);
    EXPECT_EQ(PositionCommand(latitude, longitude),
              "javascript:positionChange('37.508333', '9.504167')");
    const auto call = ParseScriptCommand(PositionCommand(latitude, longitude));
    ASSERT_TRUE(call);
    EXPECT_EQ(call->arguments, (Args{"37.508333", "9.504167"}));

    const auto south = ParseScriptCommand(PositionCommand(NmeaToDegrees(-3730.5), -0.5));
    ASSERT_TRUE(south);
    EXPECT_EQ(south->arguments, (Args{"-37.508333", "-0.500000"}));
}

TEST(MapBridge, ScriptPassesNameAndArgumentsAsStringsOnly) {
    const std::string script = ScriptCallText({"f\");alert(1);//", {"a\\b", "c\nd"}});
    EXPECT_NE(script.find("window[\"f\\\");alert(1);//\"]"), std::string::npos) << script;
    EXPECT_NE(script.find("f(\"a\\\\b\",\"c\\x0ad\")"), std::string::npos) << script;
}

TEST(WebEngineSetup, NoSandboxOnlyForRoot) {
    EXPECT_EQ(ChromiumFlags("", false, "--disable-gpu"), "--disable-gpu");
    EXPECT_EQ(ChromiumFlags("", true, "--disable-gpu"), "--no-sandbox --disable-gpu");
    EXPECT_EQ(ChromiumFlags("--no-sandbox --x", true, "--x"), "--no-sandbox --x");
}

}  // namespace
}  // namespace kx
