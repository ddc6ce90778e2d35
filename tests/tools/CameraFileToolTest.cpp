// kx480-tool setup and clock: the camera's files written and read back from a shell.

#include "RunCommand.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace kx::test;

namespace {

CommandResult Tool(const std::string& args) {
    return RunCommand(std::string(KX_TOOL_PATH) + " " + args + " 2>&1");
}

}  // namespace

TEST(CameraFileTool, SetupWriteAppliesTheValuesOverTheDefaultsAndReadPrintsThem) {
    TempDir dir;
    const CommandResult w = Tool("setup write " + dir / "setup.cfg" + " volt24=1 cutoff=6 poweroff=4 sw_version=V1.0.3");
    ASSERT_EQ(w.status, 0) << w.output;
    EXPECT_EQ(w.output, "");
    EXPECT_EQ(ReadFileBytes(dir / "setup.cfg"),
              "Product Name            : KX480\r\n"
              "H/W Version             : V1.0.0\r\n"
              "S/W Version             : V1.0.3\r\n"
              "Acc Trigger Level       : 3\r\n"
              "REC Video Qulity        : 3\r\n"
              "REC Audio Enable        : 1\r\n"
              "SPK Vol                 : 3\r\n"
              "Video Channles          : 2\r\n"
              "Car Battery Volt        : 1\r\n"
              "Battery CutOff Volt     : 6\r\n"
              "Power Off Timer         : 4\r\n"
              "LCD Off Time            : 1\r\n");
    const CommandResult r = Tool("setup read " + dir / "setup.cfg");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.output,
              "product=KX480\nsw_version=V1.0.3\ntrigger=3\nquality=3\naudio=1\nspeaker=3\nchannels=2\n"
              "volt24=1\ncutoff=6\npoweroff=4\nlcdoff=1\n");
}

TEST(CameraFileTool, SetupReadShowsLinesTheFileLacksAsUnselected) {
    TempDir dir;
    WriteFileBytes(dir / "setup.cfg", "Product Name            : KX999\r\nH/W Version             : V1.0.0\r\n"
                                      "S/W Version             : V4\r\nAcc Trigger Level       : 6\r\n");
    const CommandResult r = Tool("setup read " + dir / "setup.cfg");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.output,
              "product=KX999\nsw_version=\ntrigger=6\nquality=0\naudio=0\nspeaker=-1\nchannels=0\n"
              "volt24=0\ncutoff=-1\npoweroff=0\nlcdoff=-1\n");
}

TEST(CameraFileTool, ClockWriteAndRead) {
    TempDir dir;
    ASSERT_EQ(Tool("clock write " + dir / "time.cfg" + " '2030-12-31 23:59:59'").status, 0);
    EXPECT_EQ(ReadFileBytes(dir / "time.cfg"), "30/12/31\r\n23/59/59\r\n");
    const CommandResult r = Tool("clock read " + dir / "time.cfg");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.output, "year=2030\nmonth=12\nday=31\nhour=23\nminute=59\nsecond=59\n");
}

TEST(CameraFileTool, BadInputGivesOneLineOnStderrAndStatus1) {
    TempDir dir;
    const std::string setup = dir / "setup.cfg";
    const std::string time = dir / "time.cfg";
    const std::string cases[] = {
        "setup read " + dir / "missing.cfg",
        "setup write " + setup + " quality=4",
        "setup write " + setup + " audio=2",
        "setup write " + setup + " speed=1",
        "setup write " + setup + " product=KX999",
        "setup write " + setup + " trigger",
        "setup write " + dir / "no/such/setup.cfg",
        "setup",
        "clock write " + time + " '2031-01-01 00:00:00'",
        "clock write " + time + " '2024-02-30 10:00:00'",
        "clock write " + time + " '2024-03-07 24:00:00'",
        "clock write " + time + " '2024-3-7 10:00:00'",
        "clock read " + dir / "missing.cfg",
        "clock read",
    };
    for (const std::string& c : cases) {
        const CommandResult r = Tool(c);
        EXPECT_EQ(r.status, 1) << c;
        ASSERT_FALSE(r.output.empty()) << c;
        EXPECT_EQ(r.output.find('\n'), r.output.size() - 1) << c << ": " << r.output;
    }
    // Nothing was written by the refused commands.
    EXPECT_EQ(ReadFileBytes(setup), "");
    EXPECT_EQ(ReadFileBytes(time), "");
}
