#include "playback/PinCount.h"

namespace kx {

int CountVideoPins(const StreamParseFilter& filter) {
    int count = 0;
    for (const OutputPin& pin : filter.Pins())
        if (pin.name.find("Video") != std::string::npos) ++count;
    return count;
}

int CountAudioPins(const StreamParseFilter& filter) {
    int count = 0;
    for (const OutputPin& pin : filter.Pins()) {
        if (pin.name.find("Audio") == std::string::npos) continue;
        count += pin.pcm ? 1 + kPcmAudioPins : 1;
    }
    return count;
}

}  // namespace kx
