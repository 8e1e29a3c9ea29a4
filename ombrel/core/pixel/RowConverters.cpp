#include "pixel/RowConverters.h"

#include "palette/cPalette.h"
#include "pixel/PixelFormat.h"
#include "pixel/PixelFormat16.h"

namespace pixel {
namespace {

// Colour bytes of a 15- or 16-bit pixel from a native 0x00RRGGBB value; a
// zero result for a non-zero source becomes 1 so that only black keys stay 0.
inline uint16_t To555(uint32_t v, bool sourceZero) {
  const uint32_t r = v >> 16 & 0xFF, g = v >> 8 & 0xFF, b = v & 0xFF;
  const uint32_t w = (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
  return static_cast<uint16_t>(w == 0 && !sourceZero ? 1 : w);
}
inline uint16_t To565(uint32_t v, bool sourceZero) {
  const uint32_t r = v >> 16 & 0xFF, g = v >> 8 & 0xFF, b = v & 0xFF;
  const uint32_t w = (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
  return static_cast<uint16_t>(w == 0 && !sourceZero ? 1 : w);
}
inline void Store16(uint8_t* p, uint16_t w) { std::memcpy(p, &w, 2); }

// Colours to the palette's indices: the inverse table read in place where it
// alone decides (24- and 32-bit pixels give their key without becoming
// colours first), everything else (black, misses, keys several entries
// share) through PaletteColourToIndex, a run of one such colour once.
template <class F>
inline int32_t TableAnswer(const uint8_t* inverse, uint32_t v) {
  if constexpr (F::kBytes >= 3) {
    const uint32_t n = v & 0x00FFFFFFu;  // native 0x00RRGGBB
    if (n == 0) return -1;
    return InverseTableAnswerOfKey(inverse, (n >> 9 & 0x7C00u) | (n >> 6 & 0x3E0u) | (n >> 3 & 0x1Fu));
  } else {
    const uint32_t colour = F::ToColour(v);
    if (colour == 0) return -1;
    return InverseTableAnswerOfKey(inverse, ColourKey(colour));
  }
}

// Slow answers (PaletteColourToIndex), a run of one colour asked once.
struct SlowAnswers {
  const cPalette* palette;
  uint32_t lastColour = 0;
  uint8_t lastIndex = 0;
  bool known = false;
  uint8_t Of(uint32_t colour) {
    if (!known || colour != lastColour) {
      lastIndex = static_cast<uint8_t>(PaletteColourToIndex(palette, colour));
      lastColour = colour;
      known = true;
    }
    return lastIndex;
  }
};

template <class F>
void ToIndexed(const uint8_t* s, uint8_t* d, int32_t n, const cPalette* palette) {
  SlowAnswers slow{palette};
  const uint8_t* inverse = palette != nullptr ? palette->inverse : nullptr;
  if constexpr (F::kBytes >= 3) {
    if (inverse != nullptr) {
      // A block's keys first (a loop the compiler makes vector code of;
      // black gets a key past the table), then their answers.
      constexpr int32_t kBlock = 256;
      constexpr uint32_t kBlack = 0x8000u;
      uint16_t keys[kBlock];
      while (n > 0) {
        const int32_t m = n < kBlock ? n : kBlock;
        for (int32_t i = 0; i < m; ++i) {
          const uint32_t v = F::Load(s + i * F::kBytes) & 0x00FFFFFFu;  // native 0x00RRGGBB
          const uint32_t key = (v >> 9 & 0x7C00u) | (v >> 6 & 0x3E0u) | (v >> 3 & 0x1Fu);
          keys[i] = static_cast<uint16_t>(v == 0 ? kBlack : key);
        }
        for (int32_t i = 0; i < m; ++i) {
          const int32_t answer = keys[i] == kBlack ? -1 : InverseTableAnswerOfKey(inverse, keys[i]);
          d[i] = answer >= 0 ? static_cast<uint8_t>(answer) : slow.Of(F::ToColour(F::Load(s + i * F::kBytes)));
        }
        s += m * F::kBytes;
        d += m;
        n -= m;
      }
      return;
    }
  }
  for (; n > 0; --n, s += F::kBytes, ++d) {
    const uint32_t v = F::Load(s);
    const int32_t answer = inverse != nullptr ? TableAnswer<F>(inverse, v) : -1;
    *d = answer >= 0 ? static_cast<uint8_t>(answer) : slow.Of(F::ToColour(v));
  }
}

template <class F>
void To15(const uint8_t* s, uint8_t* d, int32_t n, const cPalette*) {
  for (; n > 0; --n, s += F::kBytes, d += 2) {
    const uint32_t v = F::Load(s);
    Store16(d, To555(v, v == 0));
  }
}

template <class F>
void To16(const uint8_t* s, uint8_t* d, int32_t n, const cPalette*) {
  for (; n > 0; --n, s += F::kBytes, d += 2) {
    const uint32_t v = F::Load(s);
    Store16(d, To565(v, v == 0));
  }
}

void SameFormat(const uint8_t*, uint8_t*, int32_t, const cPalette*) {}

void From24To32(const uint8_t* s, uint8_t* d, int32_t n, const cPalette*) {
  // Whole words for all but the last pixel (its fourth byte would lie past
  // the row), then the last one byte by byte.
  for (; n > 1; --n, s += 3, d += 4) StoreU32(d, LoadU32(s) & 0x00FFFFFFu);
  if (n == 1) StoreU32(d, Fmt24::Load(s));
}

void From32To24(const uint8_t* s, uint8_t* d, int32_t n, const cPalette*) {
  // Four pixels make three words; the tail goes byte by byte.
  for (; n >= 4; n -= 4, s += 16, d += 12) {
    const uint32_t p0 = LoadU32(s) & 0xFFFFFFu, p1 = LoadU32(s + 4) & 0xFFFFFFu;
    const uint32_t p2 = LoadU32(s + 8) & 0xFFFFFFu, p3 = LoadU32(s + 12) & 0xFFFFFFu;
    StoreU32(d, p0 | p1 << 24);
    StoreU32(d + 4, p1 >> 8 | p2 << 16);
    StoreU32(d + 8, p2 >> 16 | p3 << 8);
  }
  for (; n > 0; --n, s += 4, d += 3) Fmt24::Store(d, LoadU32(s));
}

// The 32-bit source's 15/16-bit rule looks at the whole word, byte 3 included.
void From32To15(const uint8_t* s, uint8_t* d, int32_t n, const cPalette*) {
  for (; n > 0; --n, s += 4, d += 2) {
    const uint32_t w = LoadU32(s);
    Store16(d, To555(w, w == 0));
  }
}
void From32To16(const uint8_t* s, uint8_t* d, int32_t n, const cPalette*) {
  for (; n > 0; --n, s += 4, d += 2) {
    const uint32_t w = LoadU32(s);
    Store16(d, To565(w, w == 0));
  }
}

// Between 5-5-5 and 5-6-5 on the word: red and blue stay, green gains or
// loses its lowest bit; bit 15 of a 5-5-5 source is dropped.
void From15To16(const uint8_t* s, uint8_t* d, int32_t n, const cPalette*) {
  for (; n > 0; --n, s += 2, d += 2) {
    const uint32_t v = Fmt555::Load(s);
    Fmt565::Store(d, (v & 0x7FE0u) << 1 | (v & 0x1Fu));
  }
}
void From16To15(const uint8_t* s, uint8_t* d, int32_t n, const cPalette*) {
  for (; n > 0; --n, s += 2, d += 2) {
    const uint32_t v = Fmt565::Load(s);
    const uint32_t w = (v >> 1 & 0x7FE0u) | (v & 0x1Fu);
    Fmt555::Store(d, w == 0 && v != 0 ? 1 : w);
  }
}

template <class F>
void Widened16To24(const uint8_t* s, uint8_t* d, int32_t n, const cPalette*) {
  for (; n > 0; --n, s += 2, d += 3) Fmt24::Store(d, F::Widen(F::Load(s)));
}
template <class F>
void Widened16To32(const uint8_t* s, uint8_t* d, int32_t n, const cPalette*) {
  for (; n > 0; --n, s += 2, d += 4) StoreU32(d, F::Widen(F::Load(s)));
}

// From palette indices: the palette here is the source's.
uint32_t SourceColour(const cPalette* palette, uint8_t index) {
  return palette == nullptr ? 0 : EntryColour(palette->log.entries[index]);
}
template <int GreenBits>
void From8To16(const uint8_t* s, uint8_t* d, int32_t n, const cPalette* palette) {
  for (; n > 0; --n, ++s, d += 2) {
    const uint32_t c = ColourToNative(SourceColour(palette, *s));
    Store16(d, GreenBits == 5 ? To555(c, c == 0) : To565(c, c == 0));
  }
}
void From8To24(const uint8_t* s, uint8_t* d, int32_t n, const cPalette* palette) {
  for (; n > 0; --n, ++s, d += 3) Fmt24::Store(d, ColourToNative(SourceColour(palette, *s)));
}
void From8To32(const uint8_t* s, uint8_t* d, int32_t n, const cPalette* palette) {
  for (; n > 0; --n, ++s, d += 4) StoreU32(d, ColourToNative(SourceColour(palette, *s)));
}

const RowConverter kFrom8[5] = {&SameFormat, &From8To16<5>, &From8To16<6>, &From8To24, &From8To32};
const RowConverter kFrom15[5] = {&ToIndexed<Fmt555>, &SameFormat, &From15To16,
                                 &Widened16To24<Fmt555>, &Widened16To32<Fmt555>};
const RowConverter kFrom16[5] = {&ToIndexed<Fmt565>, &From16To15, &SameFormat,
                                 &Widened16To24<Fmt565>, &Widened16To32<Fmt565>};
const RowConverter kFrom24[5] = {&ToIndexed<Fmt24>, &To15<Fmt24>, &To16<Fmt24>, &SameFormat,
                                 &From24To32};
const RowConverter kFrom32[5] = {&ToIndexed<Fmt32>, &From32To15, &From32To16, &From32To24,
                                 &SameFormat};

}  // namespace
}  // namespace pixel

const RowConverter* GetRowConverters(int32_t srcDepthIndex) {
  switch (srcDepthIndex) {
    case 0:
      return pixel::kFrom8;
    case 1:
      return pixel::kFrom15;
    case 2:
      return pixel::kFrom16;
    case 3:
      return pixel::kFrom24;
    case 4:
      return pixel::kFrom32;
    default:
      return nullptr;
  }
}
