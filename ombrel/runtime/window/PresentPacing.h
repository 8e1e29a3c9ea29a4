// Paces a window's present on the display beam so that the copy does not
// tear: presents closer than 5 ms are spread to 5 ms, and while the previous
// paced present is under 20 ms old the beam is polled (1 ms steps, at most 40
// polls) until it has passed the window's bottom edge.
#pragma once

#include <cstdint>

// What the pacing reads and waits on: the millisecond clock, the display's
// scan line and vertical blank. The DLL binds it to the thread's DirectDraw
// object; tests script it.
class PacingSource {
 public:
  virtual uint32_t Now() = 0;
  virtual void Sleep(uint32_t milliseconds) = 0;
  // A DirectDraw result; the line is written on success.
  virtual int32_t GetScanLine(uint32_t* line) = 0;
  virtual void WaitForVerticalBlank() = 0;

 protected:
  ~PacingSource() = default;
};

// The scan-line query's answer while the beam is in the vertical blank.
constexpr int32_t kScanLineInBlank = static_cast<int32_t>(0x88760219u);
// The line that answer counts as: past every window's bottom edge.
constexpr uint32_t kBlankLine = 32000;
constexpr int32_t kPacingSpacingMs = 5;
constexpr int32_t kPacingWindowMs = 20;
constexpr int32_t kPacingMaxPolls = 40;

// Paces one present of a window whose bottom edge is at screen line
// `limit`; returns the new time of the last paced present.
uint32_t PacePresent(PacingSource& source, int32_t limit, uint32_t lastPresent);
