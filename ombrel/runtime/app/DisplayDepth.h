// The display's pixel format as the application objects see it: the depth
// code a host gets when it asks for "the screen's format", and the bit depth
// the DirectDraw layer reports. Both come through a DisplaySource, so the
// rules can be checked against displays the test machine does not have.
#pragma once

#include <cstdint>

// What the platform tells about the display.
struct DisplayFormat {
  int32_t bits = 0;        // bits per pixel times planes; 0 when the display could not be read
  int32_t modeBits = 0;    // bits per pixel of the current display mode; 0 when not known
  int32_t greenProbe = -1; // a screen pixel set to green 4 read back (0 on a 5-5-5 display); -1 untested
};

// The depth code of a display: 8 (32 bits) when it could not be read; 16
// bits give 6 (5-5-5) or 7 (5-6-5) by the mode's bit count or, without one,
// by the green probe; otherwise up to 4 bits 2, up to 8 bits 3, below 16 6,
// up to 24 4, above 24 8.
int32_t DepthCodeFromDisplay(const DisplayFormat& format);
// The depth code of a bit depth as the DirectDraw layer reports it: up to 8
// bits 3, 9-15 6, 16 7, 17-24 4, 25-32 8; 0 for other values.
int32_t DepthCodeFromDirectDrawBits(int32_t bits);

class DisplaySource {
 public:
  // The display's depth code (the library keeps the one found first).
  virtual int32_t ScreenDepthCode() = 0;
  // The display's bit depth as DirectDraw knows it; 0 when DirectDraw is not
  // usable or does not know it.
  virtual int32_t DirectDrawBits() = 0;

 protected:
  ~DisplaySource() = default;
};

// The real display (detected on first use, then kept).
DisplaySource& SystemDisplay();

// The depth word AppSetDepth gives for a requested `value`: the code in the
// low nibble (0 = the screen's; 1, 2, 5 and 9-15 become 3); with option 0x20
// and a nonzero DirectDraw bit depth, the DirectDraw depth's code with the
// option bits of `value` kept.
uint16_t ChooseAppDepthWord(int32_t value, int32_t screenCode, int32_t directDrawBits);
