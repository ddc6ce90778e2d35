#pragma once
// The viewer's own options: one record for the whole run, read from and written to a small
// text file ("option.ini") of fifteen CR LF lines.

#include <memory>
#include <string>
#include <string_view>

namespace kx {

class LanguageTable;

struct ViewerOptions {
    std::string saveFolder;          // SAVE_DIRECTORY: folder for snapshots (UTF-8)
    int jumpSeconds = 5;             // PLAY_VALUE: step of rewind / fast-forward
    bool rearMirror = false;         // REAR_MIRROR: show channel 2 mirrored
    int languageIndex = 0;           // LANGUAGE: selects the string table and button images
    int defaultLanguage = 0;         // DEFAULT_LANGUAGE: read and written back, no other use
    int modelIndex = 0;              // MODEL: camera model chosen in the settings dialog
    bool speedInMiles = false;       // SPEED: show speeds in mph
    std::shared_ptr<const LanguageTable> languageLibrary;  // loaded string table, or none
};

// The process-wide record every part of the viewer reads.
ViewerOptions& TheViewerOptions();

// Applies the text of an options file to `options`. Keys that do not occur keep their values.
void ParseOptionsText(std::string_view text, ViewerOptions& options);

// Reads the file at `path` into `options`; false (and `options` unchanged) when it cannot be
// opened.
bool LoadOptions(const std::string& path, ViewerOptions& options);

// The fifteen lines SaveOptions writes, CR LF ended.
std::string FormatOptionsText(const ViewerOptions& options);

// Rewrites the whole file; false when it cannot be created (nothing is written then).
bool SaveOptions(const std::string& path, const ViewerOptions& options);

// `atoi` semantics without its undefined behaviour: leading blanks, a sign, digits up to the
// first non-digit, no digits gives 0; values beyond int saturate.
int ParseLeadingInt(std::string_view text);

}  // namespace kx
