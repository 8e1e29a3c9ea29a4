// The mix a listener would hear: captured buffers played through their
// cursors with the gains set on them, against the source samples mixed with
// the volumes and pans asked for (both 16-bit mono sounds, summed per side).
#pragma once

#include <cmath>
#include <cstring>
#include <vector>

#include "FakeSoundSystem.h"

// Linear amplitude of an attenuation in hundredths of a decibel.
inline double AmplitudeOf(double hundredthsDb) { return std::pow(10.0, hundredthsDb / 2000.0); }

// What one voice should sound like: its source samples, a volume 0..1000
// and a pan -1000..1000 as the sound object takes them.
struct ExpectedVoice {
  std::vector<int16_t> samples;
  int32_t volume;
  int32_t pan;
};

// Largest difference, in sample units, between the captured and the expected
// mix over the first `frames` frames of each side.
inline double MixDifference(const std::vector<const FakeSoundBuffer*>& buffers,
                            const std::vector<ExpectedVoice>& voices, size_t frames) {
  double worst = 0;
  for (size_t i = 0; i < frames; ++i) {
    double capturedL = 0, capturedR = 0, expectL = 0, expectR = 0;
    for (size_t v = 0; v < buffers.size(); ++v) {
      const FakeSoundBuffer* b = buffers[v];
      int16_t sample = 0;
      if (2 * i + 1 < b->heard.size()) std::memcpy(&sample, &b->heard[2 * i], 2);
      const double g = AmplitudeOf(b->volume);
      capturedL += sample * g * AmplitudeOf(b->pan > 0 ? -b->pan : 0);
      capturedR += sample * g * AmplitudeOf(b->pan < 0 ? b->pan : 0);
      const ExpectedVoice& e = voices[v];
      const double db = e.volume >= 1000 ? 0.0
                        : e.volume <= 0  ? -10000.0
                                         : std::trunc(10000.0 / 3.0 * std::log10(e.volume / 1000.0));
      const double s = e.samples[i] * AmplitudeOf(db);
      expectL += s * AmplitudeOf(e.pan > 0 ? -e.pan * 10.0 : 0.0);
      expectR += s * AmplitudeOf(e.pan < 0 ? e.pan * 10.0 : 0.0);
    }
    worst = std::max(worst, std::max(std::fabs(capturedL - expectL), std::fabs(capturedR - expectR)));
  }
  return worst;
}
