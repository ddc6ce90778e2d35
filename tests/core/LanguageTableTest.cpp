#include "app/core/LanguageTable.h"

#include <gtest/gtest.h>

using namespace kx;

namespace {

TEST(LanguageTable, ParsesNumberedLinesWithEscapesAndSkipsTheRest) {
    const LanguageTable t = LanguageTable::Parse(
        "\xEF\xBB\xBF# a comment\r\n"
        "101=Open\r\n"
        "145= was saved.\\nOpen the folder?\n"
        "146=back\\\\slash\n"
        "x7=not a number\n"
        "=no number\n"
        "99999=too large\n"
        "150\n"
        "151=\n");
    ASSERT_NE(t.Find(101), nullptr);
    EXPECT_EQ(*t.Find(101), "Open");
    EXPECT_EQ(*t.Find(145), " was saved.\nOpen the folder?");
    EXPECT_EQ(*t.Find(146), "back\\slash");
    EXPECT_EQ(*t.Find(151), "");
    EXPECT_EQ(t.Find(150), nullptr);
    EXPECT_EQ(t.Find(99999), nullptr);
    EXPECT_EQ(t.size(), 4u);
}

TEST(LanguageTable, TextsAreCutToWhatA1024CharacterBufferHolds) {
    std::string longText;
    for (int i = 0; i < 1100; ++i) longText += "가";  // three bytes, one character each
    const LanguageTable t = LanguageTable::Parse("200=" + longText + "\n");
    EXPECT_EQ(t.Find(200)->size(), 1023u * 3);
}

TEST(LanguageTable, NamesFollowTheLanguageIndex) {
    EXPECT_STREQ(LanguageName(0), "English");
    EXPECT_STREQ(LanguageName(1), "Korean");
    EXPECT_STREQ(LanguageName(7), "Italien");
    EXPECT_STREQ(LanguageName(11), "Spanish");
    EXPECT_EQ(LanguageName(12), nullptr);
    EXPECT_EQ(LanguageName(-1), nullptr);
}

TEST(LanguageTable, AnIndexOutsideTheTableLoadsNoTextsSoCallersSkipThem) {
    ViewerOptions& o = TheViewerOptions();
    for (int index : {12, -1}) {
        o.languageIndex = index;
        LoadLanguageLibrary(o);
        EXPECT_EQ(o.languageLibrary, nullptr);
        EXPECT_EQ(LanguageString(101), std::nullopt);
    }
    o.languageIndex = 0;
    o.languageLibrary.reset();
}

}  // namespace
