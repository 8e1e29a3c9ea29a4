#include "support/PixelReference.h"

#include <algorithm>

namespace pixref {
namespace {

struct Bytes {
  uint32_t c[3];  // blue, green, red
  uint32_t x;     // byte 3
};

Bytes Split(uint32_t v) { return Bytes{{v & 0xFF, v >> 8 & 0xFF, v >> 16 & 0xFF}, v >> 24}; }
uint32_t Join(const Bytes& b) { return b.c[0] | b.c[1] << 8 | b.c[2] << 16 | b.x << 24; }

uint32_t ToNative(uint32_t colour) {
  return (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}
uint32_t ToColour(uint32_t native) { return ToNative(native); }

uint32_t Blend(uint32_t s, uint32_t d, uint32_t p) {
  const Bytes sb = Split(s), db = Split(d);
  Bytes r{{0, 0, 0}, 0};
  for (int i = 0; i < 3; ++i) r.c[i] = (sb.c[i] * (128 - p) + db.c[i] * p) >> 7;
  return Join(r);
}

bool Is32(const PixelTestImage& i) { return i.view.bytesPerPixel == 4; }
uint32_t Fit(const PixelTestImage& i, uint32_t v) { return Is32(i) ? v : v & 0xFFFFFF; }

}  // namespace

uint32_t Ink(uint32_t effect, uint32_t parameter, uint32_t s, uint32_t d, uint32_t key,
             InkPath path) {
  const Bytes sb = Split(s), db = Split(d);
  Bytes r{{0, 0, 0}, 0};
  switch (effect) {
    case 1:
      return Blend(s, d, parameter);
    case 2:
      for (int i = 0; i < 3; ++i) r.c[i] = 255 - sb.c[i];
      r.x = path == InkPath::Pixel ? sb.x : 255 - sb.x;
      return Join(r);
    case 3:
      return s ^ d;
    case 4:
      return s & d;
    case 5:
      return s | d;
    case 6: {
      const uint32_t colour = parameter & 0xFFFFFF;
      return Blend(s, d == key ? colour : d, parameter >> 24);
    }
    case 8:
      return d & ~s;
    case 9:
      for (int i = 0; i < 3; ++i) r.c[i] = std::min(sb.c[i] + db.c[i], 255u);
      return Join(r);
    case 10: {
      const uint32_t g = (2 * sb.c[0] + 9 * sb.c[1] + 5 * sb.c[2]) >> 4;
      r.c[0] = r.c[1] = r.c[2] = g;
      return Join(r);
    }
    case 11:
      for (int i = 0; i < 3; ++i) r.c[i] = db.c[i] > sb.c[i] ? db.c[i] - sb.c[i] : 0;
      return Join(r);
    case 12:
      return d == ToNative(parameter & 0xFFFFFF) ? d : Blend(s, d, parameter >> 24);
    default:
      return d;
  }
}

uint32_t InkKeyFill(uint32_t effect, uint32_t parameter, uint32_t d, uint32_t key) {
  switch (effect) {
    case 3:
    case 5:
    case 8:
    case 9:
    case 11:
      if (key == 0) return d;
      break;
    default:
      break;
  }
  return Ink(effect, parameter, key, d, key, InkPath::Span);
}

uint32_t AlphaMix(uint32_t rv, uint32_t dv, uint32_t a) {
  const Bytes rb = Split(rv), db = Split(dv);
  Bytes out{{0, 0, 0}, 0};
  for (int i = 0; i < 3; ++i) out.c[i] = (rb.c[i] * a + db.c[i] * (256 - a)) >> 8;
  return Join(out);
}

namespace {

// Keyed or alpha-weighted walk shared by BlitKeyed and BlitKeyedInk.
template <class Effect>
void KeyedWalk(PixelTestImage& dest, int32_t dx, int32_t dy, const PixelTestImage& src,
               int32_t sx, int32_t sy, int32_t w, int32_t h, Effect effect) {
  const uint32_t key = src.view.transparentValue;
  const bool hasAlpha = src.view.alphaFirstRow != nullptr;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t s = src.Raw(sx + x, sy + y);
      const uint32_t d = dest.Raw(dx + x, dy + y);
      if (hasAlpha) {
        const uint32_t a = src.Alpha(sx + x, sy + y);
        if (a == 0) continue;
        const uint32_t r = effect(s, d);
        dest.SetRaw(dx + x, dy + y, Fit(dest, a == 255 ? r : AlphaMix(r, d, a)));
      } else if (s != key) {
        dest.SetRaw(dx + x, dy + y, Fit(dest, effect(s, d)));
      }
    }
}

}  // namespace

void BlitKeyed(PixelTestImage& dest, int32_t dx, int32_t dy, const PixelTestImage& src,
               int32_t sx, int32_t sy, int32_t w, int32_t h) {
  KeyedWalk(dest, dx, dy, src, sx, sy, w, h, [](uint32_t s, uint32_t) { return s; });
}

void BlitKeyedInk(PixelTestImage& dest, int32_t dx, int32_t dy, const PixelTestImage& src,
                  int32_t sx, int32_t sy, int32_t w, int32_t h, uint32_t effect,
                  uint32_t parameter) {
  const uint32_t key = src.view.transparentValue;
  KeyedWalk(dest, dx, dy, src, sx, sy, w, h, [&](uint32_t s, uint32_t d) {
    return Ink(effect, parameter, s, d, key, InkPath::Pixel);
  });
}

void BlitInk(PixelTestImage& dest, int32_t dx, int32_t dy, const PixelTestImage& src, int32_t sx,
             int32_t sy, int32_t w, int32_t h, uint32_t effect, uint32_t parameter) {
  const uint32_t key = src.view.transparentValue;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      dest.SetRaw(dx + x, dy + y,
                  Fit(dest, Ink(effect, parameter, src.Raw(sx + x, sy + y),
                                dest.Raw(dx + x, dy + y), key, InkPath::Span)));
}

void Copy(PixelTestImage& dest, int32_t dx, int32_t dy, const PixelTestImage& src, int32_t sx,
          int32_t sy, int32_t w, int32_t h) {
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) dest.SetRaw(dx + x, dy + y, src.Raw(sx + x, sy + y));
}

void Fill(PixelTestImage& image, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
  for (int32_t j = 0; j < h; ++j)
    for (int32_t i = 0; i < w; ++i) image.SetRaw(x + i, y + j, ToNative(colour));
}

void Mirror(PixelTestImage& image, int32_t x, int32_t y, int32_t w, int32_t h) {
  for (int32_t j = 0; j < h; ++j)
    for (int32_t i = 0; i < w / 2; ++i) {
      const uint32_t a = image.Raw(x + i, y + j), b = image.Raw(x + w - 1 - i, y + j);
      image.SetRaw(x + i, y + j, b);
      image.SetRaw(x + w - 1 - i, y + j, a);
    }
}

void Replace(PixelTestImage& image, int32_t x, int32_t y, int32_t w, int32_t h,
             uint32_t newColour, uint32_t oldColour) {
  for (int32_t j = 0; j < h; ++j)
    for (int32_t i = 0; i < w; ++i)
      if ((image.Raw(x + i, y + j) & 0xFFFFFF) == ToNative(oldColour & 0xFFFFFF))
        image.SetRaw(x + i, y + j, ToNative(newColour));
}

void BlitCallback(PixelTestImage& dest, int32_t dx, int32_t dy, const PixelTestImage& src,
                  int32_t sx, int32_t sy, int32_t w, int32_t h, bool keyed, Callback callback,
                  uint32_t user) {
  const uint32_t key = src.view.transparentValue;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t s = src.Raw(sx + x, sy + y);
      if (keyed && s == key) continue;
      const uint32_t d = dest.Raw(dx + x, dy + y);
      dest.SetRaw(dx + x, dy + y,
                  ToNative(callback(ToColour(d & 0xFFFFFF), ToColour(s & 0xFFFFFF), user)));
    }
}

uint32_t Convert(int32_t srcDepth, uint32_t v, int32_t destDepth) {
  const uint32_t r = v >> 16 & 0xFF, g = v >> 8 & 0xFF, b = v & 0xFF;
  const bool zero = srcDepth == 32 ? v == 0 : (v & 0xFFFFFF) == 0;
  uint32_t out = 0;
  switch (destDepth) {
    case 15:
      out = (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
      return out == 0 && !zero ? 1 : out;
    case 16:
      out = (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
      return out == 0 && !zero ? 1 : out;
    case 24:
      return v & 0xFFFFFF;
    default:
      return v & 0xFFFFFF;  // 24 to 32: byte 3 written 0
  }
}

}  // namespace pixref
