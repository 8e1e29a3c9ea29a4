#include "paint/GradientBands.h"

#include <algorithm>
#include <cmath>

#include "paint/PaintColour.h"

namespace {
double Channel(uint32_t colour, int i) { return double((colour >> (8 * i)) & 0xFF); }
}  // namespace

GradientRamp::GradientRamp(uint32_t colour1, uint32_t colour2, bool shape) : shape_(shape) {
  double largest = 1;
  for (int i = 0; i < 3; ++i) largest = std::max(largest, std::fabs(Channel(colour2, i) - Channel(colour1, i)));
  count_ = int32_t(largest);
  for (int i = 0; i < 3; ++i) {
    start_[i] = Channel(colour1, i);
    step_[i] = (Channel(colour2, i) - Channel(colour1, i)) / count_;
  }
}

uint32_t GradientRamp::Colour(int64_t k) const {
  k = std::clamp<int64_t>(k, 0, count_ - 1);
  uint32_t colour = 0;
  for (int i = 0; i < 3; ++i) {
    // Between the two end channels, so the truncation stays in a byte.
    const double c = start_[i] + double(k) * step_[i];
    colour |= (uint32_t(int32_t(c)) & 0xFF) << (8 * i);
  }
  return shape_ ? AwayFromBlack(colour) : colour;
}
