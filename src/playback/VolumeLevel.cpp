#include "playback/VolumeLevel.h"

#include <cmath>

namespace kx {

int VolumeLevelForPercent(int percent) {
    const double v = static_cast<double>(static_cast<float>(percent) / 100.0f);
    const int level = static_cast<int>(1000.0 * std::log10(1e-10 + v * (1.0 - 1e-10)));
    return level == 0 ? kSilentLevel : level;
}

double VolumeAmplitude(int level) {
    if (level <= kSilentLevel) return 0.0;
    return std::pow(10.0, level / 2000.0);
}

}  // namespace kx
