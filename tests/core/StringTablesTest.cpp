#include "app/core/LanguageTable.h"
#include "app/core/StringIds.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

using namespace kx;

namespace {

// Numbers the code asks for: the named ids, and any number passed to LanguageString directly.
std::set<int> NumbersUsedByTheCode() {
    std::set<int> used(std::begin(kAllStringIds), std::end(kAllStringIds));
    const std::regex literal(R"(LanguageString\(\s*(\d+))");
    for (const auto& entry : std::filesystem::recursive_directory_iterator(std::string(KX_SOURCE_DIR) + "/src")) {
        const auto ext = entry.path().extension();
        if (ext != ".cpp" && ext != ".h") continue;
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        const std::string s = text.str();
        for (std::sregex_iterator it(s.begin(), s.end(), literal), end; it != end; ++it)
            used.insert(std::stoi((*it)[1]));
    }
    return used;
}

TEST(StringTables, EveryLanguageHasEveryTextTheCodeUses) {
    const std::set<int> used = NumbersUsedByTheCode();
    ASSERT_FALSE(used.empty());
    for (int index = 0; index < kLanguageCount; ++index) {
        SCOPED_TRACE(LanguageName(index));
        const std::string path = LanguageFilePath(index);
        ASSERT_FALSE(path.empty()) << "no table file";
        const auto table = LanguageTable::Load(path);
        ASSERT_TRUE(table);
        for (int number : used) {
            const std::string* text = table->Find(number);
            EXPECT_TRUE(text && !text->empty()) << "missing string " << number;
        }
    }
}

TEST(StringTables, LanguageStringFetchesFromTheChosenLanguage) {
    ViewerOptions& o = TheViewerOptions();
    o.languageIndex = 1;
    LoadLanguageLibrary(o);
    const auto korean = LanguageString(kStrTipOpen);
    o.languageIndex = 0;
    LoadLanguageLibrary(o);
    const auto english = LanguageString(kStrTipOpen);
    ASSERT_TRUE(korean && english);
    EXPECT_EQ(*korean, "열기");
    EXPECT_NE(*english, *korean);
    EXPECT_EQ(LanguageString(9999), "");  // a number the table lacks reads as empty
    o.languageLibrary.reset();
}

}  // namespace
