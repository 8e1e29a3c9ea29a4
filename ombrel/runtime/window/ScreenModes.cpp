#include "window/ScreenModes.h"

namespace {

const DisplayModeRecord kModes[] = {
    {8, 8, 3, {}},
    {16, 15, 6, {}},
    {24, 24, 4, {}},
    {8, 8, 3, {}},
};
const DisplayModeRecord kSystemPaletteMode = {8, 8, 3 | kSystemPaletteOption, {}};

}  // namespace

int32_t ListDisplayModes(DisplayModeRecord* out, int32_t max, int32_t options,
                         int32_t displayBits) {
  if (out == nullptr || max <= 0) return 0;
  int32_t written = 0;
  for (const DisplayModeRecord& mode : kModes) {
    if ((mode.depthCode & kSystemPaletteOption) != (options & kSystemPaletteOption)) continue;
    out[written++] = mode;
    if (written == max) return max;
  }
  if ((options & kSystemPaletteOption) && displayBits == 8) out[written++] = kSystemPaletteMode;
  return written;
}

OMB_FLAT int32_t OMB_STDCALL ScreenListModes(DisplayModeRecord* out, int32_t max, int32_t options) {
  if (out == nullptr || max <= 0) return 0;
  return ListDisplayModes(out, max, options, DisplayBitsPerPixel());
}
