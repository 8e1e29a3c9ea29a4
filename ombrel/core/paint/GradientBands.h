// The bands of a two-colour gradient: how many, their colours, and where
// they lie along the gradient's axis. Pure arithmetic, so the geometry is
// the same whatever draws the bands.
#pragma once

#include <cstdint>

// n = the largest channel difference (at least 1) bands, band k of colour
// c1 + k (c2 - c1) / n per channel (double precision, truncated).
class GradientRamp {
 public:
  // With `shape`, each band's colour follows the near-black rule.
  GradientRamp(uint32_t colour1, uint32_t colour2, bool shape);
  int32_t Count() const { return count_; }
  // The colour of band k; k outside 0..n-1 gives the nearer end's colour.
  uint32_t Colour(int64_t k) const;

 private:
  double start_[3];
  double step_[3];
  int32_t count_;
  bool shape_;
};

// The bands of `Fill` across [from, to): band k covers
// from + trunc(k (to - from) / n) to from + trunc((k + 1) (to - from) / n);
// empty bands are skipped. Calls visit(start, end, colour) in order.
template <class Visit>
void SpanBands(const GradientRamp& ramp, int32_t from, int32_t to, Visit visit) {
  const int64_t length = int64_t(to) - from, n = ramp.Count();
  if (length <= 0) return;
  for (int64_t k = 0; k < n; ++k) {
    const int64_t start = from + k * length / n, end = from + (k + 1) * length / n;
    if (end > start) visit(int32_t(start), int32_t(end), ramp.Colour(k));
  }
}

// The bands of `FillAll`: a shape `extent` long shown from `origin` on.
// Band height b = extent / n; the band holding the origin is
// i = floor(origin / b); the first drawn band ends at trunc(b - (origin mod
// b)) (floored remainder), each later boundary b further (truncated), the
// colours going on i + 1, i + 2 ...; bands whose truncated boundaries meet
// are skipped; the last ends at `extent`. Nothing for an empty extent.
// Boundaries are exact fractions (n times each is an integer), so a boundary
// on a whole row is never lost to rounding.
template <class Visit>
void ShapeBands(const GradientRamp& ramp, int32_t extent, int32_t origin, Visit visit) {
  if (extent <= 0) return;
  const int64_t n = ramp.Count(), shown = int64_t(origin) * n;  // n times the origin
  int64_t first = shown / extent;
  if (shown % extent != 0 && shown < 0) --first;  // floored
  int64_t start = 0;
  for (int64_t j = 0; start < extent; ++j) {
    // n times boundary j, taken relative to the origin (always positive).
    const int64_t edge = (first + j + 1) * extent - shown;
    const int64_t end = edge >= int64_t(extent) * n ? extent : edge / n;
    if (end > start) {
      visit(int32_t(start), int32_t(end), ramp.Colour(first + j));
      start = end;
    }
  }
}
