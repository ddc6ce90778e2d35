// kx480-tool card format: a card image formatted as the settings dialog formats a card.

#include "RunCommand.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kx::test;

namespace {

CommandResult Tool(const std::string& args) {
    return RunCommand(std::string(KX_TOOL_PATH) + " " + args + " 2>&1");
}

}  // namespace

TEST(CardFormatTool, FormatsACameraCardAndKeepsItsSettings) {
    TempDir dir;
    ScopedEnv cache("XDG_CACHE_HOME", dir / "cache");  // where the files wait during the format
    const std::string image = dir / "card.img";
    ASSERT_EQ(Tool("gen-card " + image + " --size 256M --recordings 2 --seconds 1").status, 0);
    ASSERT_NE(Tool("card ls " + image + " NORMAL").output, "");
    const std::string setupBefore = RunCommand("MTOOLS_SKIP_CHECK=1 mtype -i " + image + "@@1048576 ::/setup.cfg").output;
    ASSERT_NE(setupBefore, "");

    const CommandResult r = Tool("card format " + image + " --label KX480 --program-folder " + dir.path());
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "The SD card has been formatted.\nmessage=279 partition=1000 done=1\n");
    for (const char* folder : {"NORMAL", "EVENT", "PARKING"}) {
        const CommandResult ls = Tool("card ls " + image + " " + folder);
        EXPECT_EQ(ls.status, 0) << folder << ": " << ls.output;
        EXPECT_EQ(ls.output, "") << folder;
    }
    EXPECT_EQ(RunCommand("MTOOLS_SKIP_CHECK=1 mtype -i " + image + "@@1048576 ::/setup.cfg").output, setupBefore);
    EXPECT_EQ(RunCommand("MTOOLS_SKIP_CHECK=1 mdir -b -i " + image + "@@1048576 ::/ | sort").output,
              "::/KX480 Viewer.msi\n::/setup.cfg\n");
    // Nothing left behind in the save folder, which is removed again.
    EXPECT_TRUE(std::filesystem::is_empty(dir / "cache/kx480-viewer"));
}

TEST(CardFormatTool, ReportsAFailedFormatAndRefusesDevices) {
    TempDir dir;
    ScopedEnv cache("XDG_CACHE_HOME", dir / "cache");
    const std::string image = dir / "small.img";
    WriteFileBytes(image, "");
    std::filesystem::resize_file(image, 1 << 20);  // no room for the 100 MB partition 1
    const CommandResult failed = Tool("card format " + image + " --label KX480 --program-folder " + dir.path());
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.output.find("Formatting the SD card failed.\n"), std::string::npos) << failed.output;
    EXPECT_NE(failed.output.find("message=278 partition=1003 done=0\n"), std::string::npos) << failed.output;

    const CommandResult device = Tool("card format /dev/null");
    EXPECT_EQ(device.status, 1);
    EXPECT_NE(device.output.find("not a card image file"), std::string::npos) << device.output;
    EXPECT_EQ(Tool("card format").status, 1);
}
