// RIFF WAVE files of 16-bit PCM, the format the game's sample loader takes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

constexpr int kSampleRate = 44100;

// The bytes of a mono 16-bit PCM WAVE file.
std::vector<std::uint8_t> EncodeWav(const std::vector<std::int16_t>& samples, int sampleRate = kSampleRate);

bool WriteBinaryFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace datagen
