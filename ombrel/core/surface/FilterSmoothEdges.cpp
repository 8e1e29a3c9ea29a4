#include "surface/FilterSmoothEdges.h"

namespace {

uint32_t SmoothOver(const uint32_t* b, const uint32_t* s, uint32_t key) {
  if (s[4] != key || (s[1] == key && s[7] == key) || (s[3] == key && s[5] == key)) return b[4];
  static constexpr uint32_t kWeight[9] = {1, 2, 1, 2, 12, 2, 1, 2, 1};
  uint32_t result = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t centre = b[4] >> shift & 0xFF;
    uint32_t sum = 0;
    for (int i = 0; i < 9; ++i) {
      const uint32_t channel = i != 4 && s[i] == key ? centre : b[i] >> shift & 0xFF;
      sum += kWeight[i] * channel;
    }
    result |= (sum / 24) << shift;
  }
  return result;
}

}  // namespace

uint32_t OMB_STDCALL SmoothEdgeKeyed(const uint32_t* background, const uint32_t* source,
                                     uint32_t key) {
  return SmoothOver(background, source, key);
}

uint32_t OMB_STDCALL SmoothEdgeOverColour(const uint32_t* background, const uint32_t* source,
                                          uint32_t colour) {
  uint32_t b[9];
  for (int i = 0; i < 9; ++i) b[i] = background[i] == 0 && colour != 0 ? colour : background[i];
  return SmoothOver(b, source, 0);
}
