// Per-pixel reference model of the pixel routines, written straight from the
// formulas: one pixel at a time, one colour byte or field at a time. The
// rectangle operations follow the depth of the images they are given.
#pragma once

#include <cstdint>

#include "support/PixelTestImage.h"

class cPalette;

namespace pixref {

enum class InkPath { Pixel, Span };

// The effect's result for source s over destination d (native values of a
// 24- or 32-bit format; 24-bit values have byte 3 = 0). `key` is the
// source's key.
uint32_t Ink(uint32_t effect, uint32_t parameter, uint32_t s, uint32_t d, uint32_t key,
             InkPath path);
// What a key fill stores over destination d.
uint32_t InkKeyFill(uint32_t effect, uint32_t parameter, uint32_t d, uint32_t key);
// (r * a + d * (256 - a)) >> 8 per colour byte, byte 3 = 0.
uint32_t AlphaMix(uint32_t r, uint32_t d, uint32_t a);

// The 15- and 16-bit formats (depth 15: 5-5-5, 16: 5-6-5). Colours are
// 0x00BBGGRR; widened bytes have zero low bits.
uint32_t ColourOf16(int32_t depth, uint32_t pixel);
uint32_t Pixel16Of(int32_t depth, uint32_t colour);
// The effect's result on 15/16-bit pixels; `key` is the source's key.
uint32_t Ink16(int32_t depth, uint32_t effect, uint32_t parameter, uint32_t s, uint32_t d,
               uint32_t key);
// What a 15/16-bit key fill stores over d; `transparentColour` is the
// source's transparent colour (0x00BBGGRR) as the surface keeps it.
uint32_t InkKeyFill16(int32_t depth, uint32_t effect, uint32_t parameter, uint32_t d,
                      uint32_t key, uint32_t transparentColour);
// The 8-bit format: indices into a palette's colours (0x00BBGGRR). A colour
// resolves to an index by the inverse-table rule: black gives 0; else the
// last entry (1..255) of exactly that colour; else the last entry (1..255)
// whose colour has the colour's 15-bit key; else the entry (1..255) nearest
// to the centre of that key, ties to the later: the answer the key got when
// its centre was asked first (palettes made ready as RandomPalettes makes
// them).
struct Palette8 {
  uint32_t colour[256];
};
// The colour at the middle of a 15-bit key's cube (never black).
uint32_t KeyCentre15(uint32_t key);
Palette8 ColoursOf(const cPalette* palette);
uint32_t Resolve8(const Palette8& palette, uint32_t colour);
// The effect's result on indices; colours through the destination palette.
uint32_t Ink8(const Palette8& dest, uint32_t effect, uint32_t parameter, uint32_t s, uint32_t d);
uint32_t InkKeyFill8(const Palette8& dest, uint32_t effect, uint32_t parameter, uint32_t d,
                     uint32_t key);
// A pixel of any depth (8-bit: through `srcPalette`) converted to an 8-bit
// index of `destPalette`, and an 8-bit index converted to another depth.
uint32_t ConvertTo8(int32_t srcDepth, const cPalette* srcPalette, uint32_t srcPixel,
                    const cPalette* destPalette);
uint32_t ConvertFrom8(const cPalette* srcPalette, uint32_t index, int32_t destDepth);

// The surface's native value of a colour and the colour of a native value at
// any of the depths 15, 16, 24 and 32; at 8 bits both are the index.
uint32_t NativeOf(int32_t depth, uint32_t colour);
uint32_t ColourOfNative(int32_t depth, uint32_t native);
// The transparency test's part of a key at a depth.
uint32_t KeyPart(int32_t depth, uint32_t key);

// The rectangle operations, pixel by pixel; dest and src must be distinct.
void BlitKeyed(PixelTestImage& dest, int32_t dx, int32_t dy, const PixelTestImage& src,
               int32_t sx, int32_t sy, int32_t w, int32_t h);
void BlitKeyedInk(PixelTestImage& dest, int32_t dx, int32_t dy, const PixelTestImage& src,
                  int32_t sx, int32_t sy, int32_t w, int32_t h, uint32_t effect,
                  uint32_t parameter);
void BlitInk(PixelTestImage& dest, int32_t dx, int32_t dy, const PixelTestImage& src, int32_t sx,
             int32_t sy, int32_t w, int32_t h, uint32_t effect, uint32_t parameter);
void Copy(PixelTestImage& dest, int32_t dx, int32_t dy, const PixelTestImage& src, int32_t sx,
          int32_t sy, int32_t w, int32_t h);
void Fill(PixelTestImage& image, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
void Mirror(PixelTestImage& image, int32_t x, int32_t y, int32_t w, int32_t h);
void Replace(PixelTestImage& image, int32_t x, int32_t y, int32_t w, int32_t h,
             uint32_t newColour, uint32_t oldColour);
// Callback blit with the callback's rule (dest colour, src colour, user).
using Callback = uint32_t (*)(uint32_t destColour, uint32_t srcColour, uint32_t user);
void BlitCallback(PixelTestImage& dest, int32_t dx, int32_t dy, const PixelTestImage& src,
                  int32_t sx, int32_t sy, int32_t w, int32_t h, bool keyed, Callback callback,
                  uint32_t user);
// A blit from the run-length form by slot 6: pixels equal to the source's
// key get the key fill, the others the effect's span.
void RunLengthInk(PixelTestImage& dest, int32_t dx, int32_t dy, const PixelTestImage& src,
                  int32_t sx, int32_t sy, int32_t w, int32_t h, uint32_t effect,
                  uint32_t parameter);
// One pixel converted from a 15-, 16-, 24- or 32-bit source to 15, 16, 24
// or 32 bits.
uint32_t Convert(int32_t srcDepth, uint32_t srcPixel, int32_t destDepth);

}  // namespace pixref
