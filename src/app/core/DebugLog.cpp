#include "app/core/DebugLog.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace kx {

bool DebugLogEnabled() {
    static const bool enabled = [] {
        const char* v = std::getenv("KX480_LOG");
        return v && std::strcmp(v, "1") == 0;
    }();
    return enabled;
}

void DebugLog(const char* format, ...) {
    if (!DebugLogEnabled()) return;
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    std::fputs("kx480: ", stderr);
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputc('\n', stderr);
}

}  // namespace kx
