// kx480-tool report: the viewer's two-page report of a moment, printed to PDF without a window.

#include "RunCommand.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kx::test;

namespace {

CommandResult Tool(const std::string& args) {
    return RunCommand(std::string(KX_TOOL_PATH) + " " + args + " 2>/dev/null");
}

}  // namespace

TEST(ReportTool, PrintsBothPagesOfAMomentAndRefusesBadInput) {
    TempDir dir;
    ScopedEnv online("KX480_ONLINE", "0");
    const std::string recording = dir / "REC_20240307_090000_2.avi";
    ASSERT_EQ(Tool("gen " + recording + " --channels 2 --seconds 2").status, 0);
    const std::string pdf = dir / "report.pdf";
    const CommandResult r = Tool("report " + recording + " --at 1000 -o " + pdf);
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("pages=2 position_ms=1000 channels=2 map=1"), std::string::npos) << r.output;
    const std::string text = RunCommand("pdftotext -layout " + pdf + " -").output;
    EXPECT_NE(text.find("Page 1 of 2"), std::string::npos) << text;
    EXPECT_NE(text.find("Page 2 of 2"), std::string::npos);
    EXPECT_NE(text.find("KX480 Viewer"), std::string::npos);
    EXPECT_EQ(RunCommand("pdfinfo " + pdf + " | awk '/^Pages:/ {print $2}'").output, "2\n");

    // Another model prints no title.
    ASSERT_EQ(Tool("report " + recording + " --at 500 --model 1 -o " + pdf).status, 0);
    EXPECT_EQ(RunCommand("pdftotext " + pdf + " -").output.find("KX480 Viewer"), std::string::npos);

    EXPECT_NE(Tool("report " + recording + " -o " + pdf).status, 0);                      // no --at
    EXPECT_NE(Tool("report " + (dir / "missing.avi") + " --at 0 -o " + pdf).status, 0);  // no recording
}
