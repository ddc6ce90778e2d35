#include "controls/SpeedFactor.h"

#include <QAbstractSlider>

namespace kx {

float SpeedFactorFromPosition(int p) {
    if (p > 50) return static_cast<float>(1.0 + (p - 50) * static_cast<double>(0.02f));
    return static_cast<float>(static_cast<double>(0.1f) + p * static_cast<double>(0.018f));
}

float SpeedFactorFromSlider(const QAbstractSlider& slider) {
    return SpeedFactorFromPosition(slider.value());
}

}  // namespace kx
