#pragma once
// The play-speed factor of a slider position 0..100: 0.1 at 0, about 1.0 at 50, 2.0 at 100.

class QAbstractSlider;

namespace kx {

// 1 + (p − 50) × 0.02 above 50, else 0.1 + p × 0.018, with single-precision constants and the
// result rounded to single precision (so 50 gives 0.99999994, shown as 1.00).
float SpeedFactorFromPosition(int position);
float SpeedFactorFromSlider(const QAbstractSlider& slider);

}  // namespace kx
