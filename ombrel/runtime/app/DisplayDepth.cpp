#include "app/DisplayDepth.h"

namespace {

constexpr int32_t kUnreadDisplayCode = 8;
constexpr int32_t kOptionDirectDrawDepth = 0x20;

}  // namespace

int32_t DepthCodeFromDisplay(const DisplayFormat& format) {
  const int32_t bits = format.bits;
  if (bits <= 0) return kUnreadDisplayCode;
  if (bits == 16) {
    if (format.modeBits != 0) return format.modeBits == 15 ? 6 : 7;
    return format.greenProbe == 0 ? 6 : 7;
  }
  if (bits <= 4) return 2;
  if (bits <= 8) return 3;
  if (bits < 16) return 6;
  if (bits <= 24) return 4;
  return 8;
}

int32_t DepthCodeFromDirectDrawBits(int32_t bits) {
  if (bits <= 0 || bits > 32) return 0;
  if (bits <= 8) return 3;
  if (bits <= 15) return 6;
  if (bits == 16) return 7;
  if (bits <= 24) return 4;
  return 8;
}

uint16_t ChooseAppDepthWord(int32_t value, int32_t screenCode, int32_t directDrawBits) {
  int32_t code = value & 0xF;
  if (code == 0) code = screenCode;
  switch (code) {
    case 3: case 4: case 6: case 7: case 8:
      break;
    default:
      code = 3;
      break;
  }
  if ((value & kOptionDirectDrawDepth) != 0) {
    const int32_t ddCode = DepthCodeFromDirectDrawBits(directDrawBits);
    if (ddCode != 0) return uint16_t(ddCode | (value & 0xFFF0));
  }
  return uint16_t(code);
}
