// "time.cfg": two "%s/%s/%s" lines from the six clock lists, and the prefix selection that
// reads them back.

#include "TempDir.h"
#include "settings/CameraSettings.h"
#include "settings/TimeFile.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace kx::settings;
using kx::test::ReadFileBytes;
using kx::test::TempDir;
using kx::test::WriteFileBytes;

namespace {

ClockFields At(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    ClockFields clock;
    SetClockFields(clock, t);
    return clock;
}

std::string Texts(const ClockFields& c) {
    std::string out;
    for (std::size_t i = 0; i < kClockFieldCount; ++i) out += ClockText(c, static_cast<ClockField>(i)) + " ";
    return out;
}

ClockFields ReadText(const std::string& text, ClockFields clock) {
    std::istringstream in(text);
    ReadTimeLines(in, clock);
    return clock;
}

}  // namespace

TEST(TimeFile, ListsHoldTheDialogsEntries) {
    const std::tuple<ClockField, std::size_t, const char*, const char*> lists[] = {
        {ClockField::Year, 20, "2011", "2030"}, {ClockField::Month, 12, "01", "12"},
        {ClockField::Day, 31, "01", "31"},      {ClockField::Hour, 24, "00", "23"},
        {ClockField::Minute, 60, "00", "59"},   {ClockField::Second, 60, "00", "59"},
    };
    for (const auto& [field, size, first, last] : lists) {
        const auto entries = ClockEntries(field);
        ASSERT_EQ(entries.size(), size);
        EXPECT_EQ(entries.front(), first);
        EXPECT_EQ(entries.back(), last);
    }
}

TEST(TimeFile, WritesTwoLinesWithTheShortYear) {
    TempDir dir;
    ASSERT_TRUE(WriteTimeFile(dir / "time.cfg", At(2030, 12, 31, 23, 59, 59), true));
    EXPECT_EQ(ReadFileBytes(dir / "time.cfg"), "30/12/31\r\n23/59/59\r\n");
    ASSERT_TRUE(WriteTimeFile(dir / "time.cfg", At(2024, 3, 7, 9, 5, 0), true));
    EXPECT_EQ(ReadFileBytes(dir / "time.cfg"), "24/03/07\r\n09/05/00\r\n");
    // Lists without a selection write empty texts.
    EXPECT_EQ(FormatTimeFile(ClockFields{}), "//\r\n//\r\n");
}

TEST(TimeFile, UncheckedBoxWritesNothingAndAnUnwritablePathFails) {
    TempDir dir;
    WriteFileBytes(dir / "time.cfg", "old");
    EXPECT_TRUE(WriteTimeFile(dir / "time.cfg", At(2030, 1, 1, 0, 0, 0), false));
    EXPECT_EQ(ReadFileBytes(dir / "time.cfg"), "old");
    EXPECT_FALSE(WriteTimeFile(dir / "no/such/folder/time.cfg", At(2030, 1, 1, 0, 0, 0), true));
}

TEST(TimeFile, WriteThenReadSelectsTheSameEntries) {
    TempDir dir;
    const ClockFields written = At(2030, 12, 31, 23, 59, 59);
    ASSERT_TRUE(WriteTimeFile(dir / "time.cfg", written, true));
    ClockFields read;
    ASSERT_TRUE(ReadTimeFile(dir / "time.cfg", read));
    EXPECT_EQ(Texts(read), "2030 12 31 23 59 59 ");
    EXPECT_EQ(read.selected, written.selected);
}

TEST(TimeFile, OneLineSetsTheDateAndSelectsTheSecondTimeEntries) {
    const ClockFields c = ReadText("24/03/07\r\n", At(2020, 6, 6, 6, 6, 6));
    EXPECT_EQ(Texts(c), "2024 03 07 01 01 01 ");
    // An empty file: the year "20" and the empty values all select the second entry.
    EXPECT_EQ(Texts(ReadText("", At(2020, 6, 6, 6, 6, 6))), "2012 02 02 01 01 01 ");
}

TEST(TimeFile, ValuesAreSelectedByPrefixOrLeaveTheirList) {
    const ClockFields before = At(2020, 6, 6, 6, 6, 6);
    // Year "2005" and month "13" are in no list: those two stay as they were.
    EXPECT_EQ(Texts(ReadText("05/13/07\r\n09/05/00\r\n", before)), "2020 06 07 09 05 00 ");
    // A line cut after "1": the first day after "01" that begins with "1" is "10".
    EXPECT_EQ(Texts(ReadText("24/03/1", before)), "2024 03 10 01 01 01 ");
    // Values are fixed columns: a four-digit year shifts month and day onto "4/" and "3/".
    EXPECT_EQ(Texts(ReadText("2024/03/07\r\n", before)), "2020 06 06 01 01 01 ");
}

TEST(TimeFile, MissingFileLeavesTheListsAndGivesFalse) {
    TempDir dir;
    ClockFields c = At(2020, 6, 6, 6, 6, 6);
    EXPECT_FALSE(ReadTimeFile(dir / "time.cfg", c));
    EXPECT_EQ(Texts(c), "2020 06 06 06 06 06 ");
}

TEST(TimeFile, CameraDefaultsSetTheClockToTheGivenTime) {
    CameraSettings s;
    s.modelName = "KX480";
    ClockFields c;
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 10;
    t.tm_hour = 15;
    t.tm_min = 4;
    t.tm_sec = 59;
    ApplyCameraDefaults(s, c, t);
    EXPECT_EQ(Texts(c), "2026 12 10 15 04 59 ");
    EXPECT_EQ(s.triggerIndex, 3);
    // A year the list lacks leaves the year list alone.
    t.tm_year = 2031 - 1900;
    SetClockFields(c, t);
    EXPECT_EQ(ClockText(c, ClockField::Year), "2026");
}
