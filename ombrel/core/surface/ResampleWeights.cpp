#include "surface/ResampleWeights.h"

#include <algorithm>
#include <cmath>

#include "Memory.h"

namespace {

// The cubic-like kernel of the resampler over |distance| t (scaled).
double Kernel(double t) {
  if (t >= 1.0) return 0.0;
  const double u = 1.0 - t;
  return (u + 2.0 * u * u) / 3.0;
}

}  // namespace

ResampleWeights::~ResampleWeights() { MemFree(&block_); }

bool ResampleWeights::Build(int32_t outputCount, int32_t inputCount, double scale) {
  MemFree(&block_);
  entries_ = nullptr;
  count_ = support_ = 0;
  if (outputCount < 1 || inputCount < 1 || !(scale > 0.0)) return false;
  const bool shrinking = scale < 1.0;
  const double width = shrinking ? 1.0 / scale : 1.0;
  const double filterScale = shrinking ? scale : 1.0;
  const double supportReal = 2.0 * std::ceil(width) + 1.0;
  if (supportReal > double(INT32_MAX)) return false;
  const int32_t support = int32_t(supportReal);
  // Sized in 64 bits: entries, then `support` weights for each.
  const uint64_t bytes = uint64_t(outputCount) * sizeof(Entry) +
                         uint64_t(outputCount) * uint64_t(support) * sizeof(int32_t);
  if (bytes > (uint64_t(1) << 31)) return false;
  if (!MemAlloc(uint32_t(bytes), &block_)) return false;
  entries_ = static_cast<Entry*>(block_);
  int32_t* weightArea = reinterpret_cast<int32_t*>(entries_ + outputCount);
  for (int32_t i = 0; i < outputCount; ++i) {
    int32_t* w = weightArea + int64_t(i) * support;
    const double centre = double(i) / scale;
    int64_t first = std::max<int64_t>(0, int64_t(std::floor(centre - width)));
    int64_t last = std::min<int64_t>(inputCount - 1, int64_t(std::ceil(centre + width)));
    if (last - first + 1 > support) {
      if (first < inputCount) ++first;
      else --last;
    }
    // Zero weights at either end move that end inward.
    auto weightAt = [&](int64_t k) { return filterScale * Kernel(std::fabs(filterScale * (centre - double(k)))); };
    while (first <= last && weightAt(first) == 0.0) ++first;
    while (last >= first && weightAt(last) == 0.0) --last;
    double sum = 0.0;
    for (int64_t k = first; k <= last; ++k) sum += weightAt(k);
    for (int64_t k = first; k <= last; ++k) {
      const double v = sum > 0.0 ? weightAt(k) / sum : weightAt(k);
      w[k - first] = int32_t(v * 65536.0);  // truncated toward zero
    }
    entries_[i] = Entry{w, int32_t(first), int32_t(last)};
  }
  count_ = outputCount;
  support_ = support;
  return true;
}
