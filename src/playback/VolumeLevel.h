#pragma once
// The volume levels of the sound renderer: hundredths of a decibel, 0 full, -10000 silence.

namespace kx {

inline constexpr int kSilentLevel = -10000;

// The level sent for a volume in percent: v = percent / 100 as a single-precision float,
// L = 1000 x log10(1e-10 + v x (1 - 1e-10)) truncated toward zero, and a level of 0 is sent as
// silence. So 0 % -> -10000, 50 % -> -301, 99 % -> -4, and 100 % -> -10000.
int VolumeLevelForPercent(int percent);

// The amplitude a level scales samples by: 10^(L / 2000), and 0 for -10000 or below.
double VolumeAmplitude(int level);

}  // namespace kx
