// The conversions from the library's volume, pan and frequency ranges to the
// output buffer's: volume 0..1000 to hundredths of a decibel, pan -1000..1000
// to -10000..10000, frequency 0 (the buffer's own rate) or 100..100000 Hz.
#pragma once

#include <cmath>
#include <cstdint>

inline int32_t ClampVolume(int32_t v) { return v < 0 ? 0 : (v > 1000 ? 1000 : v); }
inline int32_t ClampPan(int32_t p) { return p < -1000 ? -1000 : (p > 1000 ? 1000 : p); }

inline int32_t VolumeToHundredthsDb(int32_t volume) {
  if (volume <= 0) return -10000;
  if (volume >= 1000) return 0;
  return static_cast<int32_t>(3333.3333333333335 * std::log10(volume * 0.001));
}

inline int32_t PanToBuffer(int32_t pan) { return ClampPan(pan) * 10; }

inline int32_t ClampFrequency(int32_t hz) {
  if (hz == 0) return 0;
  return hz < 100 ? 100 : (hz > 100000 ? 100000 : hz);
}
