// The PCM format record sounds travel with: the 18 bytes of a Win32
// WAVEFORMATEX, packed (callers pass it in a 20-byte record whose last two
// bytes carry nothing). Only PCM with 1 or 2 channels of 8 or 16 bits plays.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"

#pragma pack(push, 1)
struct SoundFormat {
  uint16_t formatTag;
  uint16_t channels;
  uint32_t samplesPerSec;
  uint32_t avgBytesPerSec;
  uint16_t blockAlign;
  uint16_t bitsPerSample;
  uint16_t extraSize;
};
#pragma pack(pop)
OMB_PIN_SIZE(SoundFormat, 18);

inline constexpr uint16_t kSoundFormatPcm = 1;

// Inline: decoder plug-ins use these too.
inline uint64_t RingBytes64(const SoundFormat& f) {
  return uint64_t{f.channels} * (f.bitsPerSample / 8u) * f.samplesPerSec * 120u / 100u;
}

// A PCM format the converters and buffers handle: 1 or 2 channels, 8 or 16
// bits, a rate above 0, block alignment = channels x bytes per sample, and a
// 1.2-second buffer below 2 GiB.
inline bool IsPlayableFormat(const SoundFormat& f) {
  if (f.formatTag != kSoundFormatPcm) return false;
  if (f.channels != 1 && f.channels != 2) return false;
  if (f.bitsPerSample != 8 && f.bitsPerSample != 16) return false;
  if (f.samplesPerSec == 0) return false;
  if (f.blockAlign != f.channels * f.bitsPerSample / 8) return false;
  return RingBytes64(f) <= 0x7FFFFFFFu;
}

// Bytes of 1.2 seconds of the format (channels x bytes x rate x 120 / 100,
// in that order), the size of a streaming ring; 0 when it cannot play.
inline uint32_t RingBytes(const SoundFormat& f) {
  return IsPlayableFormat(f) ? static_cast<uint32_t>(RingBytes64(f)) : 0;
}

// A PCM format with its derived fields filled in.
inline SoundFormat MakePcmFormat(uint16_t channels, uint32_t rate, uint16_t bits) {
  SoundFormat f{};
  f.formatTag = kSoundFormatPcm;
  f.channels = channels;
  f.samplesPerSec = rate;
  f.bitsPerSample = bits;
  f.blockAlign = static_cast<uint16_t>(channels * bits / 8);
  f.avgBytesPerSec = rate * f.blockAlign;
  return f;
}

inline bool SameShape(const SoundFormat& a, const SoundFormat& b) {
  return a.channels == b.channels && a.samplesPerSec == b.samplesPerSec && a.bitsPerSample == b.bitsPerSample;
}
