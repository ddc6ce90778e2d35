#pragma once
// Registry values the video decoder reads before the first recording is opened.

#include <string_view>

namespace kx {

// The decoder's whitelist: executable names, each followed by ";". The viewer's own name is
// the last entry.
std::string_view DecoderWhitelist();

// Writes the decoder's values under the current user's keys "Software\GNU\ffdshow" and
// "Software\KX\ffdshow". Every failure is ignored.
void PrepareDecoderRegistry();

}  // namespace kx
