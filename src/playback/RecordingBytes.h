#pragma once
// Opens the bytes of a recording for the parse stage. A file on disk is named by its path with
// the source (0, -1). A recording that stays on a camera card is named by the card library's
// open device (context) and the file's identifier (locator); the card layer registers an opener
// for those, and the recording is then read in place, never copied first.

#include "app/avi/ByteSource.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kx {

inline constexpr std::uintptr_t kDiskContext = 0;
inline constexpr std::int32_t kDiskLocator = -1;

// Returns the card file's bytes, or nullptr when it cannot be opened. Reads of the returned
// source are serialised by the graph, so the card library is never entered from two threads.
using CardFileOpener = std::function<std::unique_ptr<ByteSource>(std::uintptr_t context, std::int32_t locator)>;

// Registers the card layer's opener (an empty function removes it).
void SetCardFileOpener(CardFileOpener opener);

// The bytes of the recording: the file at `path` for (0, -1), else the card file. nullptr with
// `error` set when it cannot be opened.
std::unique_ptr<ByteSource> OpenRecordingBytes(const std::string& path, std::uintptr_t context,
                                               std::int32_t locator, std::string& error);

}  // namespace kx
