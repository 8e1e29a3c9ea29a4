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
uint32_t Fit(const PixelTestImage& i, uint32_t v) {
  return Is32(i) ? v : i.view.bytesPerPixel == 2 ? v & 0xFFFF : v & 0xFFFFFF;
}
bool Is16(int32_t depth) { return depth == 15 || depth == 16; }

struct Fields {
  uint32_t r, g, b;
};
Fields FieldsOf(int32_t depth, uint32_t v) {
  if (depth == 15) return {v >> 10 & 31, v >> 5 & 31, v & 31};
  return {v >> 11 & 31, v >> 5 & 63, v & 31};
}
uint32_t PixelOfFields(int32_t depth, Fields f) {
  return depth == 15 ? f.r << 10 | f.g << 5 | f.b : f.r << 11 | f.g << 5 | f.b;
}
uint32_t GreenMax(int32_t depth) { return depth == 15 ? 31 : 63; }

// Widened 15/16-bit pixel as a native 0x00RRGGBB value.
uint32_t Wide(int32_t depth, uint32_t v) { return ToNative(ColourOf16(depth, v)); }
uint32_t Narrow(int32_t depth, uint32_t native) { return Pixel16Of(depth, ToColour(native)); }

}  // namespace

uint32_t ColourOf16(int32_t depth, uint32_t v) {
  const Fields f = FieldsOf(depth, v);
  const uint32_t g = depth == 15 ? f.g * 8 : f.g * 4;
  return f.r * 8 | g << 8 | (f.b * 8) << 16;
}

uint32_t Pixel16Of(int32_t depth, uint32_t colour) {
  const uint32_t r = colour & 0xFF, g = colour >> 8 & 0xFF, b = colour >> 16 & 0xFF;
  return PixelOfFields(depth, {r >> 3, depth == 15 ? g >> 3 : g >> 2, b >> 3});
}

uint32_t NativeOf(int32_t depth, uint32_t colour) {
  if (depth == 8) return colour & 0xFF;
  return Is16(depth) ? Pixel16Of(depth, colour) : ToNative(colour);
}
uint32_t ColourOfNative(int32_t depth, uint32_t native) {
  if (depth == 8) return native & 0xFF;
  return Is16(depth) ? ColourOf16(depth, native) : ToColour(native & 0xFFFFFF);
}
uint32_t KeyPart(int32_t depth, uint32_t key) {
  return depth == 8 ? key & 0xFF : Is16(depth) ? key & 0xFFFF : depth == 24 ? key & 0xFFFFFF : key;
}

uint32_t Ink16(int32_t depth, uint32_t effect, uint32_t parameter, uint32_t s, uint32_t d,
               uint32_t key) {
  const Fields sf = FieldsOf(depth, s), df = FieldsOf(depth, d);
  switch (effect) {
    case 1:
      return Narrow(depth, Blend(Wide(depth, s), Wide(depth, d), parameter));
    case 2:
      return ~s & 0xFFFF;
    case 3:
      return (s ^ d) & 0xFFFF;
    case 4:
      return s & d & 0xFFFF;
    case 5:
      return (s | d) & 0xFFFF;
    case 6: {
      const uint32_t under = d == key ? ToNative(parameter & 0xFFFFFF) : Wide(depth, d);
      return Narrow(depth, Blend(Wide(depth, s), under, parameter >> 24));
    }
    case 8:
      return d & ~s & 0xFFFF;
    case 9:
      return PixelOfFields(depth, {std::min(sf.r + df.r, 31u), std::min(sf.g + df.g, GreenMax(depth)),
                                   std::min(sf.b + df.b, 31u)});
    case 10: {
      const uint32_t c = ColourOf16(depth, s);
      const uint32_t g = (5 * (c & 0xFF) + 9 * (c >> 8 & 0xFF) + 2 * (c >> 16 & 0xFF)) >> 4;
      return Pixel16Of(depth, g * 0x010101u);
    }
    case 11: {
      auto sub = [](uint32_t a, uint32_t b) { return a > b ? a - b : 0; };
      return PixelOfFields(depth, {sub(df.r, sf.r), sub(df.g, sf.g), sub(df.b, sf.b)});
    }
    case 12:
      return d == Pixel16Of(depth, parameter & 0xFFFFFF)
                 ? d
                 : Narrow(depth, Blend(Wide(depth, s), Wide(depth, d), parameter >> 24));
    default:
      return d;
  }
}

uint32_t InkKeyFill16(int32_t depth, uint32_t effect, uint32_t parameter, uint32_t d,
                      uint32_t key, uint32_t transparentColour) {
  switch (effect) {
    case 1:
      return Narrow(depth, Blend(ToNative(transparentColour & 0xFFFFFF), Wide(depth, d), parameter));
    case 6:
    case 12:
      return d;
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
  return Ink16(depth, effect, parameter, key, d, key);
}

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

// The alpha mix of a new pixel r over d. At 8 bits r is read through the
// source's palette for a plain copy and through the destination's for an ink
// result; d through the destination's.
uint32_t MixPixel(const PixelTestImage& dest, const PixelTestImage& src, uint32_t r, uint32_t d,
                  uint32_t a, bool inkResult) {
  const int32_t depth = src.view.depth;
  if (depth == 8) {
    const Palette8 to = ColoursOf(dest.view.palette);
    const Palette8 from = inkResult ? to : ColoursOf(src.view.palette);
    return Resolve8(to, ToColour(AlphaMix(ToNative(from.colour[r]), ToNative(to.colour[d]), a)));
  }
  if (Is16(depth)) return Narrow(depth, AlphaMix(Wide(depth, r), Wide(depth, d), a));
  return AlphaMix(r, d, a);
}

// Keyed or alpha-weighted walk shared by BlitKeyed and BlitKeyedInk.
template <class Effect>
void KeyedWalk(PixelTestImage& dest, int32_t dx, int32_t dy, const PixelTestImage& src,
               int32_t sx, int32_t sy, int32_t w, int32_t h, bool inkResult, Effect effect) {
  const uint32_t key = KeyPart(src.view.depth, src.view.transparentValue);
  const bool hasAlpha = src.view.alphaFirstRow != nullptr;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t s = src.Raw(sx + x, sy + y);
      const uint32_t d = dest.Raw(dx + x, dy + y);
      if (hasAlpha) {
        const uint32_t a = src.Alpha(sx + x, sy + y);
        if (a == 0) continue;
        const uint32_t r = effect(s, d);
        dest.SetRaw(dx + x, dy + y, Fit(dest, a == 255 ? r : MixPixel(dest, src, r, d, a, inkResult)));
      } else if (s != key) {
        dest.SetRaw(dx + x, dy + y, Fit(dest, effect(s, d)));
      }
    }
}

}  // namespace

void BlitKeyed(PixelTestImage& dest, int32_t dx, int32_t dy, const PixelTestImage& src,
               int32_t sx, int32_t sy, int32_t w, int32_t h) {
  KeyedWalk(dest, dx, dy, src, sx, sy, w, h, false, [](uint32_t s, uint32_t) { return s; });
}

void BlitKeyedInk(PixelTestImage& dest, int32_t dx, int32_t dy, const PixelTestImage& src,
                  int32_t sx, int32_t sy, int32_t w, int32_t h, uint32_t effect,
                  uint32_t parameter) {
  const int32_t depth = src.view.depth;
  const uint32_t key = KeyPart(depth, src.view.transparentValue);
  const Palette8 palette = depth == 8 ? ColoursOf(dest.view.palette) : Palette8{};
  KeyedWalk(dest, dx, dy, src, sx, sy, w, h, true, [&](uint32_t s, uint32_t d) {
    return depth == 8  ? Ink8(palette, effect, parameter, s, d)
           : Is16(depth) ? Ink16(depth, effect, parameter, s, d, key)
                         : Ink(effect, parameter, s, d, key, InkPath::Pixel);
  });
}

void BlitInk(PixelTestImage& dest, int32_t dx, int32_t dy, const PixelTestImage& src, int32_t sx,
             int32_t sy, int32_t w, int32_t h, uint32_t effect, uint32_t parameter) {
  const int32_t depth = src.view.depth;
  const uint32_t key = KeyPart(depth, src.view.transparentValue);
  const Palette8 palette = depth == 8 ? ColoursOf(dest.view.palette) : Palette8{};
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t s = src.Raw(sx + x, sy + y), d = dest.Raw(dx + x, dy + y);
      dest.SetRaw(dx + x, dy + y,
                  Fit(dest, depth == 8  ? Ink8(palette, effect, parameter, s, d)
                            : Is16(depth) ? Ink16(depth, effect, parameter, s, d, key)
                                          : Ink(effect, parameter, s, d, key, InkPath::Span)));
    }
}

void Copy(PixelTestImage& dest, int32_t dx, int32_t dy, const PixelTestImage& src, int32_t sx,
          int32_t sy, int32_t w, int32_t h) {
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) dest.SetRaw(dx + x, dy + y, src.Raw(sx + x, sy + y));
}

void Fill(PixelTestImage& image, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
  for (int32_t j = 0; j < h; ++j)
    for (int32_t i = 0; i < w; ++i) image.SetRaw(x + i, y + j, NativeOf(image.view.depth, colour));
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
  const int32_t depth = image.view.depth;
  const uint32_t mask = depth == 8 ? 0xFF : Is16(depth) ? 0xFFFF : 0xFFFFFF;
  for (int32_t j = 0; j < h; ++j)
    for (int32_t i = 0; i < w; ++i)
      if ((image.Raw(x + i, y + j) & mask) == NativeOf(depth, oldColour & 0xFFFFFF))
        image.SetRaw(x + i, y + j, NativeOf(depth, newColour & 0xFFFFFF));
}

void BlitCallback(PixelTestImage& dest, int32_t dx, int32_t dy, const PixelTestImage& src,
                  int32_t sx, int32_t sy, int32_t w, int32_t h, bool keyed, Callback callback,
                  uint32_t user) {
  const int32_t depth = src.view.depth;
  const uint32_t key = KeyPart(depth, src.view.transparentValue);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t s = src.Raw(sx + x, sy + y);
      if (keyed && s == key) continue;
      const uint32_t d = dest.Raw(dx + x, dy + y);
      if (depth == 8) {
        const Palette8 p = ColoursOf(dest.view.palette);
        dest.SetRaw(dx + x, dy + y, Resolve8(p, callback(p.colour[d], p.colour[s], user)));
        continue;
      }
      const uint32_t r = callback(ColourOfNative(depth, d), ColourOfNative(depth, s), user);
      dest.SetRaw(dx + x, dy + y, NativeOf(depth, r & 0xFFFFFF));
    }
}

void RunLengthInk(PixelTestImage& dest, int32_t dx, int32_t dy, const PixelTestImage& src,
                  int32_t sx, int32_t sy, int32_t w, int32_t h, uint32_t effect,
                  uint32_t parameter) {
  const int32_t depth = src.view.depth;
  const uint32_t key = KeyPart(depth, src.view.transparentValue);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t s = src.Raw(sx + x, sy + y), d = dest.Raw(dx + x, dy + y);
      uint32_t r;
      if (depth == 8)
        r = s == key ? InkKeyFill8(ColoursOf(dest.view.palette), effect, parameter, d, key)
                     : Ink8(ColoursOf(dest.view.palette), effect, parameter, s, d);
      else if (s == key)
        r = Is16(depth) ? InkKeyFill16(depth, effect, parameter, d, key, src.view.transparentColour)
                        : InkKeyFill(effect, parameter, d, key);
      else
        r = Is16(depth) ? Ink16(depth, effect, parameter, s, d, key)
                        : Ink(effect, parameter, s, d, key, InkPath::Span);
      dest.SetRaw(dx + x, dy + y, Fit(dest, r));
    }
}

uint32_t Convert(int32_t srcDepth, uint32_t v, int32_t destDepth) {
  if (Is16(srcDepth)) {
    const Fields f = FieldsOf(srcDepth, v);
    if (srcDepth == 15 && destDepth == 16) return PixelOfFields(16, {f.r, f.g * 2, f.b});
    if (srcDepth == 16 && destDepth == 15) {
      const uint32_t out = PixelOfFields(15, {f.r, f.g / 2, f.b});
      return out == 0 && v != 0 ? 1 : out;
    }
    return ToNative(ColourOf16(srcDepth, v));  // widened bytes, byte 3 written 0
  }
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
