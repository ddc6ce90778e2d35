#pragma once
// The program's trace: failures that the user is not told about are written here. Off unless
// the environment variable KX480_LOG is 1; then each line goes to stderr.

namespace kx {

bool DebugLogEnabled();

// printf-style; a newline is added.
void DebugLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kx
