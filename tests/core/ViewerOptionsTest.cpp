#include "app/core/ViewerOptions.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kx;
using kx::test::ReadFileBytes;
using kx::test::ScopedEnv;
using kx::test::TempDir;
using kx::test::WriteFileBytes;

namespace {

ViewerOptions Parse(const std::string& text) {
    ViewerOptions o;
    ParseOptionsText(text, o);
    return o;
}

TEST(ViewerOptions, DefaultsBeforeAnyFileIsRead) {
    const ViewerOptions o;
    EXPECT_EQ(o.saveFolder, "");
    EXPECT_EQ(o.jumpSeconds, 5);
    EXPECT_FALSE(o.rearMirror);
    EXPECT_EQ(o.languageIndex, 0);
    EXPECT_EQ(o.modelIndex, 0);
    EXPECT_FALSE(o.speedInMiles);
}

TEST(ViewerOptions, ReadsValuesByTheirRules) {
    struct Case {
        const char* text;
        int jump;
        bool mirror;
        bool miles;
        int language;
    };
    const Case cases[] = {
        {"REAR_MIRROR=2\r\n", 5, false, false, 0},        // only exactly 1 mirrors
        {"REAR_MIRROR=1\r\n", 5, true, false, 0},
        {"SPEED=2\r\n", 5, false, true, 0},               // any non-zero is miles
        {"PLAY_VALUE=abc\r\n", 0, false, false, 0},       // letters read as 0
        {"PLAY_VALUE=  -7x\r\n", -7, false, false, 0},    // atoi: blanks, sign, stops at x
        {"[DIRECTORY]\r\nPLAY_VALUE=9\r\n", 9, false, false, 0},  // sections do not scope keys
        {"PLAY_VALUE = 9\r\n", 5, false, false, 0},       // "PLAY_VALUE " matches nothing
        {"PLAY_VALUE=9\t\r\n", 9, false, false, 0},       // trailing tab and CR trimmed
        {"\bLANGUAGE=3\n", 5, false, false, 3},           // backspace trimmed too
        {"language=3\nLANGUAGE\n[LANGUAGE=4]\n", 5, false, false, 0},  // case, no '=', header
        {"LANGUAGE=99999999999\n", 5, false, false, 2147483647},          // saturates, no UB
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const ViewerOptions o = Parse(c.text);
        EXPECT_EQ(o.jumpSeconds, c.jump);
        EXPECT_EQ(o.rearMirror, c.mirror);
        EXPECT_EQ(o.speedInMiles, c.miles);
        EXPECT_EQ(o.languageIndex, c.language);
    }
}

TEST(ViewerOptions, ALongSaveFolderIsReadWholeNotSplitIntoLines) {
    // A save folder longer than 255 bytes whose tail looks like another key.
    const std::string folder = "/media/" + std::string(260, 'd') + "PLAY_VALUE=42";
    const ViewerOptions o = Parse("SAVE_DIRECTORY=" + folder + "\r\nPLAY_VALUE=7\r\n");
    EXPECT_EQ(o.saveFolder, folder);
    EXPECT_EQ(o.jumpSeconds, 7);
}

TEST(ViewerOptions, SavesTheFifteenLinesByteForByte) {
    TempDir dir;
    ViewerOptions o;
    o.saveFolder = "/home/kim/사진";
    o.jumpSeconds = 10;
    o.rearMirror = true;
    o.languageIndex = 1;
    o.defaultLanguage = 2;
    o.modelIndex = 3;
    o.speedInMiles = true;
    ASSERT_TRUE(SaveOptions(dir / "option.ini", o));
    EXPECT_EQ(ReadFileBytes(dir / "option.ini"),
              "[DIRECTORY]\r\nROOT_DIRECTORY=KX_DRAVIK\r\nEVENT_DIRECTORY=MP4_EVENT\r\n"
              "CONTINUOS_DIRECTORY=MP4_INFINITE\r\n[OPTION]\r\nSAVE_DIRECTORY=/home/kim/사진\r\n"
              "PLAY_VALUE=10\r\nUSE_LOG=FALSE\r\nLOG_LEVEL=3\r\nLOG_TYPE=3\r\nREAR_MIRROR=1\r\n"
              "LANGUAGE=1\r\nDEFAULT_LANGUAGE=2\r\nMODEL=3\r\nSPEED=1\r\n");

    ViewerOptions back;
    ASSERT_TRUE(LoadOptions(dir / "option.ini", back));
    EXPECT_EQ(back.saveFolder, o.saveFolder);
    EXPECT_EQ(back.jumpSeconds, 10);
    EXPECT_TRUE(back.rearMirror);
    EXPECT_EQ(back.languageIndex, 1);
    EXPECT_EQ(back.defaultLanguage, 2);
    EXPECT_EQ(back.modelIndex, 3);
    EXPECT_TRUE(back.speedInMiles);
}

TEST(ViewerOptions, MissingOrUnwritableFilesFailAndChangeNothing) {
    TempDir dir;
    ViewerOptions o;
    o.jumpSeconds = 11;
    EXPECT_FALSE(LoadOptions(dir / "absent.ini", o));
    EXPECT_EQ(o.jumpSeconds, 11);
    EXPECT_FALSE(LoadOptions("", o));
    EXPECT_FALSE(SaveOptions(dir / "no-such-folder/option.ini", o));
    EXPECT_FALSE(std::filesystem::exists(dir / "no-such-folder"));
}

TEST(ViewerOptions, AnEmptySaveFolderBecomesTheDefaultCaptureFolderWhichIsCreated) {
    TempDir home;
    ScopedEnv h("HOME", home.path());
    ScopedEnv c("XDG_CONFIG_HOME", home / ".config");
    WriteFileBytes(home / "option.ini", "SAVE_DIRECTORY=\r\n");
    ViewerOptions o;
    ASSERT_TRUE(LoadOptions(home / "option.ini", o));
    EXPECT_EQ(o.saveFolder, home / "Documents/CAM_CAPTURE");
    EXPECT_TRUE(std::filesystem::is_directory(o.saveFolder));
}

}  // namespace
