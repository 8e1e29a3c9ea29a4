// The pixel fields of a surface as the per-format pixel routines see them,
// and the row of routines (`PixelOps`) that works on them.
//
// `cSurfaceImpl` embeds a `PixelView` right after its virtual table; byte
// views and alpha views are `PixelView`s over other memory. The field order
// and the 32-bit layout on i686 are part of the library's binary shape.
#pragma once

#include <cstddef>
#include <cstdint>

#include "OmbrelApi.h"

class cPalette;
struct PixelOps;

// Surface flag bits kept in `PixelView::flags`.
// Bits 0..7 are a copy of the processor feature word (`CpuFeatures`).
constexpr uint32_t kPixelFlagVector = 0x1;       // run the vectorised pixel routines
constexpr uint32_t kPixelFlagOwnsAlpha = 0x100;  // the alpha block is freed by the surface

struct PixelView {
  int32_t width;
  int32_t height;
  int32_t clipLeft;
  int32_t clipTop;
  int32_t clipRight;   // exclusive
  int32_t clipBottom;  // exclusive
  int32_t depth;       // bits per pixel: 8, 15, 16, 24 or 32
  int32_t depthIndex;  // 0..4 for 8, 15, 16, 24, 32 bits
  uint32_t transparentColour;  // 0x00BBGGRR
  uint32_t transparentValue;   // the key in the surface's native form
  uint32_t flags;
  cPalette* palette;  // 8-bit surfaces only; one reference held by the surface
  uint8_t* buffer;    // non-null: pixels reachable without a lock
  uint8_t* firstRow;  // row 0 as displayed
  uint32_t rowBytes;
  int32_t pitch;  // signed step from row y to row y + 1
  int32_t bytesPerPixel;
  int32_t bottomUp;
  uint8_t* alphaBlock;     // lowest address of the alpha plane, or null
  uint8_t* alphaFirstRow;  // alpha row 0, or null when there is no alpha plane
  uint32_t alphaRowBytes;
  int32_t alphaPitch;
  const PixelOps* ops;
};

OMB_PIN_SIZE(PixelView, 92);
OMB_PIN_OFFSET(PixelView, width, 0);
OMB_PIN_OFFSET(PixelView, clipLeft, 8);
OMB_PIN_OFFSET(PixelView, depth, 24);
OMB_PIN_OFFSET(PixelView, transparentColour, 32);
OMB_PIN_OFFSET(PixelView, flags, 40);
OMB_PIN_OFFSET(PixelView, palette, 44);
OMB_PIN_OFFSET(PixelView, buffer, 48);
OMB_PIN_OFFSET(PixelView, firstRow, 52);
OMB_PIN_OFFSET(PixelView, rowBytes, 56);
OMB_PIN_OFFSET(PixelView, pitch, 60);
OMB_PIN_OFFSET(PixelView, bytesPerPixel, 64);
OMB_PIN_OFFSET(PixelView, bottomUp, 68);
OMB_PIN_OFFSET(PixelView, alphaBlock, 72);
OMB_PIN_OFFSET(PixelView, alphaFirstRow, 76);
OMB_PIN_OFFSET(PixelView, alphaRowBytes, 80);
OMB_PIN_OFFSET(PixelView, alphaPitch, 84);
OMB_PIN_OFFSET(PixelView, ops, 88);

// The per-pixel callback of the callback blits: (destination colour, source
// colour, user value) -> colour, all 0x00BBGGRR. The callee pops its
// arguments on i686, as applications supply it.
using PixelCallback = uint32_t(OMB_STDCALL*)(uint32_t destColour, uint32_t srcColour,
                                             uint32_t user);

// The routines never clip, lock, allocate or report: the caller passes
// rectangles inside both views. Blit slots are taken from the source's row.
struct PixelOps {
  void (*PutPixel)(PixelView* surface, int32_t x, int32_t y, uint32_t colour);
  uint32_t (*GetPixel)(const PixelView* surface, int32_t x, int32_t y);
  void (*FillRect)(PixelView* surface, int32_t x, int32_t y, int32_t pitch, int32_t width,
                   int32_t height, uint32_t colour);
  void (*BlitKeyed)(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src, int32_t sx,
                    int32_t sy, int32_t width, int32_t height);
  // Ink blits return 0 for an effect or weight they refuse (effect 7, effect
  // above 12, weight above 128), else 1.
  int32_t (*BlitKeyedInk)(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src,
                          int32_t sx, int32_t sy, int32_t width, int32_t height, uint32_t effect,
                          uint32_t parameter);
  void (*Copy)(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src, int32_t sx,
               int32_t sy, int32_t width, int32_t height);
  int32_t (*BlitInk)(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src, int32_t sx,
                     int32_t sy, int32_t width, int32_t height, uint32_t effect,
                     uint32_t parameter);
  void (*BlitCallbackKeyed)(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src,
                            int32_t sx, int32_t sy, int32_t width, int32_t height,
                            PixelCallback callback, uint32_t user);
  void (*BlitCallback)(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src, int32_t sx,
                       int32_t sy, int32_t width, int32_t height, PixelCallback callback,
                       uint32_t user);
  void (*MirrorRows)(PixelView* surface, int32_t x, int32_t y, int32_t pitch, int32_t width,
                     int32_t height);
  void (*ReplaceColour)(PixelView* surface, int32_t x, int32_t y, int32_t width, int32_t height,
                        int32_t rowBytes, uint32_t newColour, uint32_t oldColour);
  void (*ConvertRows)(PixelView* dest, int32_t dx, int32_t dy, int32_t destRowBytes,
                      const PixelView* src, int32_t sx, int32_t sy, int32_t width,
                      int32_t height);
  // Run-length form of a keyed image: out = {total size, codes offset, pixels offset}.
  void (*RleSize)(uint32_t* out, const uint8_t* pixels, int32_t width, int32_t height,
                  int32_t pitch, uint32_t key);
  void (*RleEncode)(uint8_t* block, const uint8_t* pixels, int32_t width, int32_t height,
                    int32_t pitch, uint32_t key);
};

OMB_PIN_SIZE(PixelOps, 56);

// The routine row of a depth index (0..4 for 8, 15, 16, 24, 32 bits); null
// for an index outside 0..4. Slots a format does not provide yet are null:
// callers test the slot before calling it.
const PixelOps* GetPixelOps(int32_t depthIndex);
