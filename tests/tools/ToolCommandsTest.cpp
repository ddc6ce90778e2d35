// kx480-tool as a user runs it: output formats, exit statuses, and a generated recording read
// back through every command.

#include "SmallAvi.h"
#include "RunCommand.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sys/wait.h>

using namespace kx::test;

namespace {

CommandResult Tool(const std::string& args) {
    return RunCommand(std::string(KX_TOOL_PATH) + " " + args + " 2>/dev/null");
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const auto nl = text.find('\n', at);
        lines.push_back(text.substr(at, nl - at));
        at = nl == std::string::npos ? text.size() : nl + 1;
    }
    return lines;
}

class ToolTest : public ::testing::Test {
protected:
    void SetUp() override { WriteSmallAvi(dir / "r.avi", {.frames = 25}); }
    TempDir dir;
};

TEST_F(ToolTest, TelemetryCsvListsEveryRecordInStreamOrder) {
    const CommandResult r = Tool("telemetry " + dir / "r.avi");
    ASSERT_EQ(r.status, 0);
    const auto lines = Lines(r.output);
    ASSERT_EQ(lines.size(), 1u + 25 + 3);
    EXPECT_EQ(lines[0], "time_ms,type,valid,latitude,longitude,speed_kmh,course,x_g,y_g,z_g");
    EXPECT_EQ(lines[1], "0,M,,,,,,0.031250,0.031250,0.031250");
    EXPECT_EQ(lines[2], "0,G,1,37.508333,126.978000,18.520000,0.000000,,,");
    EXPECT_EQ(lines[3], "100,M,,,,,,0.062500,0.093750,0.125000");
    EXPECT_EQ(lines[13].substr(0, 7), "1000,G,");
}

TEST_F(ToolTest, TelemetryGpxAndJsonCarryTheSameFixes) {
    const CommandResult gpx = Tool("telemetry " + dir / "r.avi" + " --format gpx");
    ASSERT_EQ(gpx.status, 0);
    EXPECT_NE(gpx.output.find("<gpx version=\"1.1\""), std::string::npos);
    EXPECT_NE(gpx.output.find("<trkpt lat=\"37.508333\" lon=\"126.978000\"><time>2024-03-07T00:00:00Z</time>"),
              std::string::npos);
    const CommandResult json = Tool("telemetry " + dir / "r.avi" + " --format json");
    ASSERT_EQ(json.status, 0);
    EXPECT_EQ(json.output.front(), '[');
    EXPECT_NE(json.output.find("{\"time_ms\": 2000, \"type\": \"G\", \"valid\": 1, \"latitude\": 37.508333"),
              std::string::npos);
}

TEST_F(ToolTest, LookupPrintsThePanelValuesAtAPosition) {
    const CommandResult r = Tool("lookup " + dir / "r.avi" + " --at 150");
    ASSERT_EQ(r.status, 0);
    // G-sensor: the first sample at or after 150 ms is frame 2's; GPS: the fix at 1000 ms.
    EXPECT_EQ(r.output,
              "speed=18.520000 speed_ok=1 x=0.093750 y=0.156250 z=0.218750 g_ok=1 lat=37.508335 "
              "lon=126.977997 pos_ok=1\n");
    const CommandResult miles = Tool("lookup " + dir / "r.avi" + " --at 150 --miles");
    EXPECT_EQ(miles.output.substr(0, 16), "speed=11.507791 ");
    const CommandResult after = Tool("lookup " + dir / "r.avi" + " --at 999999");
    EXPECT_EQ(after.output, "speed=0.000000 speed_ok=0 x=0.000000 y=0.000000 z=0.000000 g_ok=0 lat=0.000000 "
                         "lon=0.000000 pos_ok=0\n");
}

TEST_F(ToolTest, UnreadableFilesExitWithStatus2AndBadUsageWith1) {
    WriteFileBytes(dir / "text.avi", "hello, not a recording");
    for (const std::string command : {"telemetry", "lookup", "info"}) {
        const std::string at = command == "lookup" ? " --at 0" : "";
        EXPECT_EQ(Tool(command + " " + dir / "text.avi" + at).status, 2) << command;
        EXPECT_EQ(Tool(command + " " + dir / "missing.avi" + at).status, 2) << command;
    }
    EXPECT_EQ(Tool("telemetry " + dir / "r.avi" + " --format xml").status, 1);
    EXPECT_EQ(Tool("lookup " + dir / "r.avi").status, 1);
    EXPECT_EQ(Tool("lookup " + dir / "r.avi" + " --at -5").status, 1);
    EXPECT_EQ(Tool("frobnicate").status, 1);
    EXPECT_EQ(Tool("gen " + dir.path() + " --size 10").status, 1);
}

}  // namespace
