// The seeded mutations of the file-reader fuzz tests: header fields set to
// edge values, flipped bits, truncations and random bytes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <random>
#include <vector>

inline void Mutate(std::vector<uint8_t>& bytes, std::mt19937& rng) {
  static const uint32_t kValues[] = {0, 1, 2, 4, 8, 15, 16, 24, 32, 255, 0x7FFF, 0xFFFF, 16384, 16385,
                                     0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu, 0xFFFFC000u};
  auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
  for (size_t m = 1 + pick(3); m > 0; --m) {
    switch (pick(4)) {
      case 0: {  // a header field at a 2-byte boundary
        const size_t at = 2 * pick(std::min<size_t>(bytes.size(), 60) / 2);
        const uint32_t v = kValues[pick(std::size(kValues))];
        for (size_t b = 0; b < 4 && at + b < bytes.size(); ++b) bytes[at + b] = static_cast<uint8_t>(v >> (8 * b));
        break;
      }
      case 1:
        if (!bytes.empty()) bytes[pick(std::min<size_t>(bytes.size(), 64))] ^= static_cast<uint8_t>(1u << pick(8));
        break;
      case 2:
        bytes.resize(pick(bytes.size() + 1));
        break;
      default:
        if (!bytes.empty()) bytes[pick(bytes.size())] = static_cast<uint8_t>(pick(256));
    }
  }
}
