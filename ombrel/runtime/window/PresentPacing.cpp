#include "window/PresentPacing.h"

namespace {

// Polls until the beam has left the band above `limit`. A beam that does
// not move or cannot be read ends in a wait for the vertical blank instead.
void WaitForBeam(PacingSource& source, uint32_t limit) {
  uint32_t line = 0;
  for (int32_t polls = 1;; ++polls) {
    const uint32_t previous = line;
    const int32_t result = source.GetScanLine(&line);
    if (result == kScanLineInBlank) {
      line = kBlankLine;
    } else if (result < 0 || line == 0xFFFFFFFFu) {
      source.WaitForVerticalBlank();
      return;
    }
    if (polls > 1 && line == previous) {
      source.WaitForVerticalBlank();
      return;
    }
    // Past the bottom edge, in the blank, or wrapped to a new frame.
    if (line >= limit || line < previous || polls >= kPacingMaxPolls) return;
    source.Sleep(1);
  }
}

}  // namespace

uint32_t PacePresent(PacingSource& source, int32_t limit, uint32_t lastPresent) {
  const int32_t elapsed = static_cast<int32_t>(source.Now() - lastPresent);
  if (elapsed >= 0 && elapsed < kPacingSpacingMs) {
    source.Sleep(static_cast<uint32_t>(kPacingSpacingMs - elapsed));
  }
  if (elapsed < kPacingWindowMs) WaitForBeam(source, limit < 0 ? 0u : static_cast<uint32_t>(limit));
  return source.Now();
}
