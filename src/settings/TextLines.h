#pragma once
// The camera's files are text files with CR LF line ends, read line by line into a buffer of
// 255 characters.

#include <fstream>
#include <istream>
#include <string>
#include <string_view>

namespace kx::settings {

// The longest line kept, counting its line end.
inline constexpr std::size_t kMaxLineChars = 255;

// Reads the next line as text mode does: CR LF becomes "\n" (a lone CR stays), and the "\n" is
// part of the line. A line longer than kMaxLineChars keeps its first kMaxLineChars characters;
// the rest of it, up to and including its line end, is skipped, so it never shifts the lines
// after it. False at the end of the stream with nothing read.
bool ReadTextLine(std::istream& in, std::string& line);

// Writes `bytes` to `path`, replacing the file. False when it cannot be created or written.
bool WriteFileBytes(const std::string& path, std::string_view bytes);

// True when `path` names something that is not a directory and opens for reading.
bool OpenTextFile(const std::string& path, std::ifstream& in);

}  // namespace kx::settings
