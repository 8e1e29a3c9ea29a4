// WAV files built in memory for the sound tests: PCM data in a RIFF/WAVE
// file, and sound data whose samples count up so skips and repeats show.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "sound/SoundFormat.h"

using SoundBytes = std::vector<uint8_t>;

// A RIFF/WAVE file of the format holding `data`.
inline SoundBytes WavFile(const SoundFormat& f, const SoundBytes& data) {
  SoundBytes out;
  out.reserve(44 + data.size());
  auto put32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  auto put16 = [&](uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
  };
  auto tag = [&](const char* t) { out.insert(out.end(), t, t + 4); };
  tag("RIFF");
  put32(static_cast<uint32_t>(36 + data.size()));
  tag("WAVE");
  tag("fmt ");
  put32(16);
  put16(f.formatTag);
  put16(f.channels);
  put32(f.samplesPerSec);
  put32(f.avgBytesPerSec);
  put16(f.blockAlign);
  put16(f.bitsPerSample);
  tag("data");
  put32(static_cast<uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

// Sound data whose every 16-bit sample (or byte, for 8 bits) differs from its
// neighbour: sample i of the whole stream is i + seed, so a skip, a repeat or
// foreign bytes show in a comparison.
inline SoundBytes RampData(const SoundFormat& f, uint32_t bytes, uint32_t seed = 1) {
  SoundBytes out(bytes);
  if (f.bitsPerSample == 16) {
    for (uint32_t i = 0; i + 1 < bytes; i += 2) {
      const uint16_t v = static_cast<uint16_t>(i / 2 + seed);
      std::memcpy(&out[i], &v, 2);
    }
  } else {
    for (uint32_t i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>(i + seed);
  }
  return out;
}
