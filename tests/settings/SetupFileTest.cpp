// "setup.cfg": the twelve labelled lines, the read rules and the defaults.

#include "TempDir.h"
#include "settings/CameraOptions.h"
#include "settings/SetupFile.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace kx::settings;
using kx::test::ReadFileBytes;
using kx::test::TempDir;
using kx::test::WriteFileBytes;

namespace {

// The file the camera defaults write, byte for byte.
constexpr const char* kDefaultFile =
    "Product Name            : KX480\r\n"
    "H/W Version             : V1.0.0\r\n"
    "S/W Version             : \r\n"
    "Acc Trigger Level       : 3\r\n"
    "REC Video Qulity        : 3\r\n"
    "REC Audio Enable        : 1\r\n"
    "SPK Vol                 : 3\r\n"
    "Video Channles          : 2\r\n"
    "Car Battery Volt        : 0\r\n"
    "Battery CutOff Volt     : 3\r\n"
    "Power Off Timer         : 2\r\n"
    "LCD Off Time            : 1\r\n";

CameraSettings Camera() {
    CameraSettings s;
    s.modelName = "KX480";
    return s;
}

CameraSettings Defaults() {
    CameraSettings s = Camera();
    ApplyCameraDefaults(s);
    return s;
}

// Lines of `values` under their labels, in file order, each ended by CR LF.
std::string SetupLines(std::initializer_list<const char*> values) {
    std::string out;
    std::size_t i = 0;
    for (const char* v : values) out += std::string(kSetupLabels[i++]) + v + "\r\n";
    return out;
}

CameraSettings ReadText(const std::string& text, CameraSettings s) {
    std::istringstream in(text);
    ReadSetupLines(in, s);
    return s;
}

}  // namespace

TEST(SetupFile, LabelsAreTwentySixCharactersWithTheKeyPaddedToTwentyFour) {
    for (const auto label : kSetupLabels) {
        EXPECT_EQ(label.size(), 26u) << label;
        EXPECT_EQ(label.substr(24), ": ") << label;
    }
}

TEST(SetupFile, DefaultsWriteTheTwelveLinesByteForByte) {
    TempDir dir;
    ASSERT_TRUE(WriteSetupFile(dir / "setup.cfg", Defaults()));
    EXPECT_EQ(ReadFileBytes(dir / "setup.cfg"), kDefaultFile);
}

TEST(SetupFile, DefaultsOnlyApplyToTheCameraModel) {
    CameraSettings none;  // no model selected
    ApplyCameraDefaults(none);
    EXPECT_EQ(none.triggerIndex, -1);
    EXPECT_FALSE(none.audioEnabled);
    // Without selections the index values write -1 and the index + 1 values 0.
    EXPECT_EQ(FormatSetupFile(none), SetupLines({"", "V1.0.0", "", "-1", "0", "0", "-1", "0", "0", "-1", "0", "-1"}));
}

TEST(SetupFile, WriteThenReadGivesTheSameValuesAndTheSameBytes) {
    CameraSettings s = Camera();
    s.softwareVersion = "V2.1.7";
    s.triggerIndex = 6;
    s.qualityIndex = 0;
    s.audioEnabled = false;
    s.speakerIndex = 5;
    s.channelIndex = 0;
    SelectVoltageSystem(s, true);
    s.cutOffIndex = 4;
    s.powerOffIndex = 3;
    s.lcdOffIndex = 4;
    TempDir dir;
    ASSERT_TRUE(WriteSetupFile(dir / "a.cfg", s));

    CameraSettings back = Defaults();
    ASSERT_TRUE(ReadSetupFile(dir / "a.cfg", back));
    EXPECT_EQ(back.productName, "KX480");
    EXPECT_EQ(back.softwareVersion, "V2.1.7");
    EXPECT_EQ(back.triggerIndex, 6);
    EXPECT_EQ(back.qualityIndex, 0);
    EXPECT_FALSE(back.audioEnabled);
    EXPECT_EQ(back.speakerIndex, 5);
    EXPECT_EQ(back.channelIndex, 0);
    EXPECT_TRUE(back.volt24);
    EXPECT_EQ(back.cutOffIndex, 4);
    EXPECT_EQ(back.powerOffIndex, 3);
    EXPECT_EQ(back.lcdOffIndex, 4);
    ASSERT_TRUE(WriteSetupFile(dir / "b.cfg", back));
    EXPECT_EQ(ReadFileBytes(dir / "b.cfg"), ReadFileBytes(dir / "a.cfg"));
}

TEST(SetupFile, AnotherProductKeepsTheSoftwareVersionAndIsNotWrittenBack) {
    CameraSettings s = Defaults();
    s.softwareVersion = "V1.0.3";
    s = ReadText(SetupLines({"KX999", "V9.9.9", "V7.7.7", "5"}), s);
    EXPECT_EQ(s.productName, "KX999");
    EXPECT_EQ(s.softwareVersion, "V1.0.3");
    EXPECT_EQ(s.triggerIndex, 5);  // the other values are still read
    EXPECT_EQ(FormatSetupFile(s).substr(0, 33), "Product Name            : KX480\r\n");
    // The comparison is exact: letter case matters.
    s = ReadText(SetupLines({"kx480", "", "V7.7.7"}), s);
    EXPECT_EQ(s.softwareVersion, "V1.0.3");
    s = ReadText(SetupLines({"KX480", "", "V7.7.7"}), s);
    EXPECT_EQ(s.softwareVersion, "V7.7.7");
}

TEST(SetupFile, FiveLinesSetFiveValuesAndLeaveTheRest) {
    CameraSettings s = Defaults();
    s = ReadText(SetupLines({"KX480", "V1.0.0", "V3", "0", "1"}), s);
    EXPECT_EQ(s.softwareVersion, "V3");
    EXPECT_EQ(s.triggerIndex, 0);
    EXPECT_EQ(s.qualityIndex, 0);
    const CameraSettings d = Defaults();
    EXPECT_EQ(s.audioEnabled, d.audioEnabled);
    EXPECT_EQ(s.speakerIndex, d.speakerIndex);
    EXPECT_EQ(s.channelIndex, d.channelIndex);
    EXPECT_EQ(s.volt24, d.volt24);
    EXPECT_EQ(s.cutOffIndex, d.cutOffIndex);
    EXPECT_EQ(s.powerOffIndex, d.powerOffIndex);
    EXPECT_EQ(s.lcdOffIndex, d.lcdOffIndex);
}

TEST(SetupFile, LabelOnlyLineReadsAsZeroAndAShortLastLineStopsTheRead) {
    // "REC Audio Enable" with only its label: an empty value is 0, the sound is off.
    CameraSettings s = ReadText(SetupLines({"KX480", "", "", "1", "1", ""}), Defaults());
    EXPECT_FALSE(s.audioEnabled);
    EXPECT_EQ(s.triggerIndex, 1);

    // "SPK Vol" is 26 characters with no line end: the read stops before it, as it does at a
    // line of 25 characters with its line end.
    const std::string head = SetupLines({"KX480", "", "", "1", "1", "0"});
    s = ReadText(head + "SPK Vol                 : ", Defaults());
    EXPECT_EQ(s.speakerIndex, 3);
    s = ReadText(head + "SPK Vol                 :\r\n" + "Video Channles          : 1\r\n", Defaults());
    EXPECT_EQ(s.speakerIndex, 3);
    EXPECT_EQ(s.channelIndex, 1);  // not reached
    // One character more is a value.
    s = ReadText(head + "SPK Vol                 : 5", Defaults());
    EXPECT_EQ(s.speakerIndex, 5);
}

TEST(SetupFile, VoltageSystemIsReadBeforeTheCutOffIndex) {
    CameraSettings s = ReadText(SetupLines({"KX480", "", "", "3", "3", "1", "3", "2", "1", "6"}), Defaults());
    ASSERT_TRUE(s.volt24);
    ASSERT_EQ(s.cutOffIndex, 6);
    EXPECT_EQ(CutOffOptions(s.volt24, true)[static_cast<std::size_t>(s.cutOffIndex)].text, "24.4V");
    // The same index in the 12 V system.
    s = ReadText(SetupLines({"KX480", "", "", "3", "3", "1", "3", "2", "0", "6"}), s);
    EXPECT_FALSE(s.volt24);
    EXPECT_EQ(CutOffOptions(s.volt24, true)[static_cast<std::size_t>(s.cutOffIndex)].text, "12.5V");
}

TEST(SetupFile, OutOfRangeValuesLeaveTheirFieldAsItWas) {
    struct Case {
        std::size_t line;
        const char* value;
        int CameraSettings::*field;
        int expected;  // the default when the value is refused
    };
    const Case cases[] = {
        {3, "7", &CameraSettings::triggerIndex, 3},     {3, "-1", &CameraSettings::triggerIndex, 3},
        {3, "6", &CameraSettings::triggerIndex, 6},     {4, "0", &CameraSettings::qualityIndex, 2},
        {4, "4", &CameraSettings::qualityIndex, 2},     {4, "1", &CameraSettings::qualityIndex, 0},
        {6, "6", &CameraSettings::speakerIndex, 3},     {6, "0", &CameraSettings::speakerIndex, 0},
        {7, "3", &CameraSettings::channelIndex, 1},     {7, "1", &CameraSettings::channelIndex, 0},
        {9, "7", &CameraSettings::cutOffIndex, 3},      {10, "0", &CameraSettings::powerOffIndex, 1},
        {10, "5", &CameraSettings::powerOffIndex, 1},   {10, "4", &CameraSettings::powerOffIndex, 3},
        {11, "5", &CameraSettings::lcdOffIndex, 1},     {11, "4", &CameraSettings::lcdOffIndex, 4},
        {3, "2abc", &CameraSettings::triggerIndex, 2},  {3, "abc", &CameraSettings::triggerIndex, 0},
        {3, " 5\t\r", &CameraSettings::triggerIndex, 5}, {3, "99999999999", &CameraSettings::triggerIndex, 3},
    };
    for (const Case& c : cases) {
        std::string text;
        for (std::size_t i = 0; i < 12; ++i) {
            // Every other line holds a value that no list accepts.
            const std::string v = i == c.line ? c.value : i == 0 ? "KX480" : i == 5 || i == 8 ? "0" : "-9";
            text += std::string(kSetupLabels[i]) + v + "\r\n";
        }
        const CameraSettings s = ReadText(text, Defaults());
        EXPECT_EQ(s.*c.field, c.expected) << "line " << c.line << " value \"" << c.value << '"';
    }
}

TEST(SetupFile, MissingFileGivesTheDefaultsAndFalse) {
    TempDir dir;
    CameraSettings s = Camera();
    s.triggerIndex = 6;
    s.lcdOffIndex = 4;
    s.softwareVersion = "V1.2";
    EXPECT_FALSE(ReadSetupFile(dir / "none.cfg", s));
    EXPECT_EQ(FormatSetupFile(s), SetupLines({"KX480", "V1.0.0", "V1.2", "3", "3", "1", "3", "2", "0", "3", "2", "1"}));
    // A folder of that name cannot be read either.
    EXPECT_FALSE(ReadSetupFile(dir.path(), s));
}

TEST(SetupFile, ValuesLoseOnlyBackspaceTabAndLineEndsAtTheirEnds) {
    const CameraSettings s = ReadText(
        SetupLines({"\t KX480 \b", "", "\bV1 .2\t"}) + "Acc Trigger Level       : 4\n", Defaults());
    EXPECT_EQ(s.productName, " KX480 ");  // blanks stay: not the selected model
    EXPECT_EQ(s.softwareVersion, "");
    const CameraSettings t = ReadText(SetupLines({"KX480\t", "", "\bV1 .2\t"}), Defaults());
    EXPECT_EQ(t.softwareVersion, "V1 .2");
    EXPECT_EQ(s.triggerIndex, 4);  // a bare LF ends a line too
}

TEST(SetupFile, OverlongLineIsCutWithoutShiftingTheLinesAfterIt) {
    // A product name of 300 characters: the line keeps its first 255 characters, and the lines
    // after it keep their own numbers.
    CameraSettings s = Defaults();
    s.softwareVersion = "V1";
    s = ReadText(std::string(kSetupLabels[0]) + std::string(300, 'P') + "\r\n" +
                     SetupLines({"", "V1.0.0", "V5", "0"}).substr(28),
                 s);
    EXPECT_EQ(s.productName, std::string(255 - 26, 'P'));
    EXPECT_EQ(s.softwareVersion, "V1");
    EXPECT_EQ(s.triggerIndex, 0);
}

TEST(SetupFile, NumbersParseAsLeadingDigits) {
    const std::pair<const char*, int> cases[] = {
        {"", 0}, {"12", 12}, {"  7x", 7}, {"-3", -3}, {"+4", 4}, {"x1", 0}, {"- 1", 0},
        {"99999999999999999999", 2147483647}, {"-99999999999999999999", -2147483647 - 1},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseSetupNumber(text), value) << '"' << text << '"';
}
