// Natively there is no display to ask: a 32-bit screen without DirectDraw.
#include "app/DisplayDepth.h"

namespace {

class NoDisplay final : public DisplaySource {
 public:
  int32_t ScreenDepthCode() override { return DepthCodeFromDisplay(DisplayFormat{}); }
  int32_t DirectDrawBits() override { return 0; }
};

}  // namespace

DisplaySource& SystemDisplay() {
  static NoDisplay display;
  return display;
}
