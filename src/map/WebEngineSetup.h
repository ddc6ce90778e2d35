#pragma once
// What the web engine needs before the QApplication exists: shared OpenGL contexts, and
// Chromium's --no-sandbox when (and only when) the process runs as root, where Chromium's
// sandbox refuses to start. Extra Chromium flags (tests add --disable-gpu) can be appended.

#include <string>

namespace kx {

void PrepareWebEngine(const std::string& extraChromiumFlags = {});

// The Chromium flags for a process that is root or not, added to `existing` (flags already in
// QTWEBENGINE_CHROMIUM_FLAGS) without repeating one that is there.
std::string ChromiumFlags(const std::string& existing, bool root, const std::string& extra);

}  // namespace kx
