// Random 256-entry palettes for the 8-bit pixel tests, shared through the
// palette context that the object starts and shuts down.
#pragma once

#include <cstddef>
#include <cstdint>

class cPalette;

// Three palettes with exact duplicates, distinct colours sharing a 15-bit key
// and a near-black entry, their inverse tables built and every key of them
// answered by asking the key's centre colour (see pixref::Resolve8).
class RandomPalettes {
 public:
  explicit RandomPalettes(uint32_t seed);
  ~RandomPalettes();
  RandomPalettes(const RandomPalettes&) = delete;
  RandomPalettes& operator=(const RandomPalettes&) = delete;
  cPalette* operator[](size_t i) const { return palettes_[i % 3]; }

 private:
  cPalette* defaultPalette_ = nullptr;
  cPalette* palettes_[3] = {};
};
