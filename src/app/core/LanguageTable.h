#pragma once
// User-visible texts by number. Each language has a table file "lang/<Name>.lng" of UTF-8
// lines "number=text" ("\n", "\t" and "\\" escapes; lines starting with "#" are comments).
// Without a table there are no texts, and whatever needed one (a message, a tooltip) is
// skipped by its caller.

#include "app/core/ViewerOptions.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kx {

class LanguageTable {
public:
    // Parses a table; lines that are not "number=text" with a number of 0..65535 are skipped.
    static LanguageTable Parse(std::string_view text);
    // Reads and parses a file; nullptr when it cannot be read.
    static std::shared_ptr<const LanguageTable> Load(const std::string& path);

    // The text of `number`, or nullptr when the table has none.
    const std::string* Find(int number) const;
    std::size_t size() const { return texts_.size(); }
    const std::map<int, std::string>& entries() const { return texts_; }

private:
    std::map<int, std::string> texts_;
};

inline constexpr int kLanguageCount = 12;

// The table's base name for a language index ("English", "Korean", ... "Italien" spelled so);
// nullptr outside 0..11.
const char* LanguageName(int index);

// Where the table of `index` is found: <program folder>/lang, then the installed data folder.
// Empty when the index is out of range or no file exists.
std::string LanguageFilePath(int index);

// Frees the loaded table, then loads the one for options.languageIndex (none for an index
// outside 0..11 or a missing file).
void LoadLanguageLibrary(ViewerOptions& options);

// The text of string `number` from the current language, loading the table on first use.
// nullopt when no table can be loaded: the caller then skips whatever needed the text.
// A number missing from a loaded table gives an empty text. Texts are at most 1023 characters.
std::optional<std::string> LanguageString(int number);

}  // namespace kx
