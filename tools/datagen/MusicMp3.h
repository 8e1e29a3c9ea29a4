// MP3 encoding of the synthesised music through LAME.
#pragma once

#include <cstdint>
#include <vector>

namespace datagen {

// Mono 44.1 kHz samples to constant-bit-rate MPEG-1 layer III frames, with
// fixed settings and no tags, so the bytes depend on the samples alone.
// Empty on an encoder failure.
std::vector<std::uint8_t> EncodeMp3(const std::vector<std::int16_t>& samples);

}  // namespace datagen
