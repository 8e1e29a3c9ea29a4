// The 28 sample converters between the PCM shapes the library plays (8-bit
// unsigned with silence 0x80 or 16-bit signed, mono or stereo, frames left
// then right): 4 repeaters that only change the rate, and for each of the 4
// source shapes the same bits with the other channel count, the other bits to
// mono and the other bits to stereo, each frame by frame (same rate) and in a
// rate form that takes every step-th source frame and writes it repeat times.
#pragma once

#include <cstdint>

#include "sound/SoundFormat.h"

// Converts `frames` source frames into `out` and returns the bytes written.
// Same-rate forms ignore step and repeat.
using SampleConverter = uint32_t (*)(const uint8_t* in, uint32_t frames, uint8_t* out, uint32_t step,
                                     uint32_t repeat);

// The converter for a pair of playable formats; null when they have the same
// channels, bits and rate (nothing to convert) or either is not playable.
SampleConverter FindSampleConverter(const SoundFormat& source, const SoundFormat& output);

// Output bytes that `frames` source frames convert to (step and repeat are 1
// for the same-rate forms).
uint32_t ConvertedBytes(uint32_t frames, uint32_t step, uint32_t repeat, uint32_t outFrameBytes);
