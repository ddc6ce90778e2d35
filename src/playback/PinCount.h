#pragma once
// How the graph counts the parse stage's pins: by the names of its output pins.

#include "playback/StreamParseFilter.h"

namespace kx {

// Output pins whose name contains "Video" (case-sensitive).
int CountVideoPins(const StreamParseFilter& filter);

// 1 for every output pin whose name contains "Audio", and a further 1000 when that pin's first
// media type has the PCM subtype: 1000 or more means a PCM pin exists, 1..999 compressed sound
// only, 0 no sound.
int CountAudioPins(const StreamParseFilter& filter);

inline constexpr int kPcmAudioPins = 1000;

}  // namespace kx
