#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "palette/PaletteApi.h"
#include "surface/cMemSurface.h"
#include "BlitTestSurfaces.h"

namespace {

// Surfaces of every depth, made as the library makes them: a prototype of
// the depth, then MakeInstance.
class SurfaceBase : public SurfaceTest {};

TEST_F(SurfaceBase, MemorySurfaceLayout) {
  cSurfaceImpl* s = Make(15, 33, 2);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->view.rowBytes, 68u);
  EXPECT_EQ(s->view.pitch, 68);
  EXPECT_EQ(s->view.bytesPerPixel, 2);
  EXPECT_EQ(s->view.depthIndex, 1);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(s->view.firstRow) % 8, 0u);
  EXPECT_EQ(s->GetKind(), SurfaceKindMemory);
  EXPECT_EQ(s->Reallocate(33, 2), 1);
  EXPECT_EQ(s->view.rowBytes, 68u);
  EXPECT_EQ(s->Reallocate(5, 4), 1);
  EXPECT_EQ(s->view.rowBytes, 12u);
  int32_t cx, cy, cw, ch;
  s->GetClipRect(&cx, &cy, &cw, &ch);
  EXPECT_EQ(cw, 5);
  EXPECT_EQ(ch, 4);
  // The 8-bit prototype carries the shared default palette into its instances.
  cSurfaceImpl* s8 = Make(8, 4, 4);
  ASSERT_NE(s8, nullptr);
  EXPECT_EQ(s8->GetPalette(), defaultPalette_);
  EXPECT_EQ(PaletteRefCount(defaultPalette_), 3);  // ours, prototype's, instance's
}

TEST_F(SurfaceBase, ClipRectangleRules) {
  cSurfaceImpl* s = Make(32, 100, 100);
  ASSERT_NE(s, nullptr);
  struct Row {
    int32_t x, y, w, h;
    int32_t left, top, width, height;
  };
  const Row rows[] = {
      {-10, -10, 20, 20, 0, 0, 10, 10},
      {90, 95, 50, 50, 90, 95, 10, 5},
      {10, 10, 0, 5, 10, 10, 0, 5},      // zero width stays empty
      {-50, 0, 20, 100, 0, 0, 0, 100},   // does not reach the surface
      {200, 200, 10, 10, 100, 100, 0, 0},
      {0x7FFFFFF0, 0, 0x7FFFFFF0, 10, 100, 0, 0, 10},  // no overflow
  };
  for (const Row& r : rows) {
    s->SetClipRect(r.x, r.y, r.w, r.h);
    int32_t x, y, w, h;
    s->GetClipRect(&x, &y, &w, &h);
    EXPECT_EQ(x, r.left) << r.x;
    EXPECT_EQ(y, r.top) << r.x;
    EXPECT_EQ(w, r.width) << r.x;
    EXPECT_EQ(h, r.height) << r.x;
  }
  // Pixels outside the clip are neither written nor read.
  s->ResetClipRect();
  ASSERT_EQ(s->FillRect(0, 0, 100, 100, 0), 1);
  s->SetClipRect(-10, -10, 20, 20);
  s->SetPixel(10, 5, 0xFFFFFF);
  s->ResetClipRect();
  uint32_t colour = 1;
  ASSERT_EQ(s->GetPixel(10, 5, &colour), 1);
  EXPECT_EQ(colour, 0u);
  s->SetClipRect(0, 0, 10, 10);
  EXPECT_EQ(s->GetPixel(10, 5, &colour), 0);
  EXPECT_EQ(s->GetPixel(-1, 0, &colour), 0);
}

TEST_F(SurfaceBase, PixelsAndFillsThroughTheRoutineRow) {
  for (int32_t depth : {24, 32}) {
    SCOPED_TRACE(depth);
    cSurfaceImpl* s = Make(depth, 9, 5);
    ASSERT_NE(s, nullptr);
    ASSERT_NE(s->view.ops, nullptr);
    ASSERT_NE(s->view.ops->PutPixel, nullptr);
    ASSERT_NE(s->view.ops->FillRect, nullptr);
    EXPECT_EQ(s->FillRect(0, 0, 9, 5, 0x00112233), 1);
    s->SetPixel(4, 2, 0x00ABCDEF);
    uint32_t c = 0;
    ASSERT_EQ(s->GetPixel(4, 2, &c), 1);
    EXPECT_EQ(c, 0x00ABCDEFu);
    ASSERT_EQ(s->GetPixel(0, 0, &c), 1);
    EXPECT_EQ(c, 0x00112233u);
    // Native order in memory: blue first.
    const uint8_t* p = s->view.firstRow + 2 * s->view.pitch + 4 * s->view.bytesPerPixel;
    EXPECT_EQ(p[0], 0xAB);
    EXPECT_EQ(p[1], 0xCD);
    EXPECT_EQ(p[2], 0xEF);
    // A fill hanging over the clip edge is cut to it; width 0 draws nothing.
    s->SetClipRect(2, 1, 5, 3);
    EXPECT_EQ(s->FillRect(-5, -5, 100, 100, 0x000000FF), 1);
    EXPECT_EQ(s->FillRect(3, 2, 0, 1, 0x00FFFFFF), 0);
    s->ResetClipRect();
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 9; ++x) {
        const bool inside = x >= 2 && x < 7 && y >= 1 && y < 4;
        ASSERT_EQ(s->GetPixelFast(x, y), inside ? 0x000000FFu : (x == 4 && y == 2 ? 0x00ABCDEFu : 0x00112233u))
            << x << "," << y;
      }
    ASSERT_NE(s->view.ops->ReplaceColour, nullptr);
    EXPECT_EQ(s->ReplaceColour(0x00445566, 0x000000FF), 1);
    EXPECT_EQ(s->GetPixelFast(3, 2), 0x00445566u);
    EXPECT_EQ(s->GetPixelFast(0, 0), 0x00112233u);
  }
}

TEST_F(SurfaceBase, EightBitPixelsNameEntriesDirectly) {
  cSurfaceImpl* s = Make(8, 6, 3);
  ASSERT_NE(s, nullptr);
  s->FillRect(0, 0, 6, 3, 0x01000000 + 7);
  uint32_t v = 0;
  ASSERT_EQ(s->GetPixelNative(5, 2, &v), 1);
  EXPECT_EQ(v, 7u);
  s->SetPixel(1, 1, 0x01000105);  // masked to 0..255
  ASSERT_EQ(s->GetPixelNative(1, 1, &v), 1);
  EXPECT_EQ(v, 5u);
  ASSERT_EQ(s->GetPixel(1, 1, &v), 1);  // read back as the entry's colour
  EXPECT_EQ(v, EntryColour(defaultPalette_->log.entries[5]));
  // Ordinary colours go to the nearest entry; white is entry 255.
  s->SetPixel(2, 1, 0x00FFFFFF);
  EXPECT_EQ(s->view.firstRow[s->view.pitch + 2], 255);
  EXPECT_EQ(s->NearestIndex(0x01000009), 9);
  s->SetTransparentColour(0x01000009);
  EXPECT_EQ(s->GetTransparentNative(), 9u);
  EXPECT_EQ(s->GetTransparentColour(), EntryColour(defaultPalette_->log.entries[9]));
  EXPECT_EQ(s->ReplaceColour(0x01000003, 0x01000007), 1);
  ASSERT_EQ(s->GetPixelNative(0, 0, &v), 1);
  EXPECT_EQ(v, 3u);
  ASSERT_EQ(s->GetPixelNative(1, 1, &v), 1);
  EXPECT_EQ(v, 5u);
  // PutIndex and FillRectIndex count bytes.
  s->PutIndex(0, 2, 200);
  EXPECT_EQ(s->FillRectIndex(4, 0, 10, 1, 42), 1);
  EXPECT_EQ(s->view.firstRow[2 * s->view.pitch], 200);
  EXPECT_EQ(s->view.firstRow[5], 42);
  EXPECT_EQ(s->view.firstRow[3], 3);
}

TEST_F(SurfaceBase, TransparentColourNativeValues) {
  struct Row {
    int32_t depth;
    uint32_t colour, stored, native;
  };
  const Row rows[] = {
      {15, 0x00FFFFFF, 0x00F8F8F8, 0x7FFF},
      {16, 0x00FFFFFF, 0x00F8FCF8, 0xFFFF},
      {15, 0x000000FF, 0x000000F8, 0x7C00},   // red in bits 10..14
      {16, 0x0000FF00, 0x0000FC00, 0x07E0},
      {24, 0xAA123456, 0xAA123456, 0x563412}, // kept as given, native 0x00RRGGBB
      {32, 0x00123456, 0x00123456, 0x563412},
      {8, 0x00FFFFFF, 0x00FFFFFF, 255},
      {8, 0, 0, 0},
      {32, 0, 0, 0},
  };
  for (const Row& r : rows) {
    cSurfaceImpl* s = Make(r.depth, 2, 2);
    ASSERT_NE(s, nullptr);
    s->SetTransparentColour(r.colour);
    EXPECT_EQ(s->GetTransparentColour(), r.stored) << r.depth << " " << std::hex << r.colour;
    EXPECT_EQ(s->GetTransparentNative(), r.native) << r.depth << " " << std::hex << r.colour;
  }
}

TEST_F(SurfaceBase, PaletteSlots) {
  cSurfaceImpl* s8 = Make(8, 4, 2);
  cSurfaceImpl* s32 = Make(32, 4, 2);
  ASSERT_NE(s8, nullptr);
  ASSERT_NE(s32, nullptr);
  EXPECT_EQ(s32->GetBlackIndex(), 4);
  EXPECT_EQ(s8->GetBlackIndex(), 245);
  EXPECT_EQ(s32->SetPalette(defaultPalette_, 0), 0);
  EXPECT_EQ(s8->SetPalette(defaultPalette_, 1), 1);  // already set
  EXPECT_EQ(s32->GetPaletteEntries(nullptr, 0, 0), 0);

  PaletteEntry out[10];
  std::memset(out, 0xCD, sizeof out);
  EXPECT_EQ(s8->GetPaletteEntries(out, 250, 10), 10);
  EXPECT_EQ(EntryColour(out[5]), 0x00FFFFFFu);
  EXPECT_EQ(out[6].red, 0xCD);  // only 6 copied
  EXPECT_EQ(s8->GetPaletteEntries(out, 256, 1), 0);
  EXPECT_EQ(s8->GetPaletteEntries(nullptr, 0, 0), 256);
  EXPECT_EQ(s8->IndexToRGB(255), 0x00FFFFFFu);
  EXPECT_EQ(s8->IndexToRGB(256), 0u);
  EXPECT_EQ(s8->IndexToRGB(-1), 0u);

  // A new palette with remap keeps the picture's colours.
  LogPalette reversed = defaultPalette_->log;
  for (int i = 1; i < 256; ++i) reversed.entries[i] = defaultPalette_->log.entries[256 - i];
  s8->FillRect(0, 0, 4, 2, 0x01000000 + 255);  // white
  s8->SetPixel(0, 0, 0x01000000 + 249);        // FF0000 RRGGBB: red
  ASSERT_EQ(s8->SetLogPalette(&reversed, 1), 1);
  EXPECT_NE(s8->GetPalette(), defaultPalette_);
  uint32_t c = 0;
  ASSERT_EQ(s8->GetPixel(0, 0, &c), 1);
  EXPECT_EQ(c, 0x000000FFu);
  ASSERT_EQ(s8->GetPixel(3, 1, &c), 1);
  EXPECT_EQ(c, 0x00FFFFFFu);
  EXPECT_EQ(s8->view.firstRow[0], 7);  // 256 - 249
  EXPECT_EQ(PaletteRefCount(s8->GetPalette()), 1);  // held by the surface alone

  // Remapping to another palette keeps the surface's own palette.
  s8->RemapToPalette(defaultPalette_);
  LogPalette log;
  EXPECT_EQ(s8->GetLogPalette(&log), 256);
  EXPECT_EQ(EntryColour(log.entries[1]), 0x00FFFFFFu);
  EXPECT_EQ(s32->GetLogPalette(&log), 0);
  // SetPaletteFrom takes another 8-bit surface's palette only.
  EXPECT_EQ(s8->SetPaletteFrom(s32, 0), 0);
  cSurfaceImpl* other8 = Make(8, 1, 1);
  ASSERT_EQ(s8->SetPaletteFrom(other8, 0), 1);
  EXPECT_EQ(s8->GetPalette(), defaultPalette_);

  const uint8_t table[256] = {};  // everything to 0
  s8->RemapIndices(table);
  EXPECT_EQ(s8->view.firstRow[0], 0);
}

TEST_F(SurfaceBase, AlphaChannel) {
  cSurfaceImpl* s = Make(32, 5, 3);
  ASSERT_NE(s, nullptr);
  uint8_t* alpha = s->CreateAlpha();
  ASSERT_NE(alpha, nullptr);
  EXPECT_EQ(s->view.alphaRowBytes, 8u);  // 5 rounded up to 4
  EXPECT_EQ(s->view.alphaPitch, 8);
  EXPECT_TRUE(s->view.flags & kPixelFlagOwnsAlpha);
  EXPECT_EQ(s->IsEmpty(), 1);  // zeroed channel
  alpha[2 * 8 + 4] = 9;
  EXPECT_EQ(s->IsEmpty(), 0);

  // Bottom-up source: a negative pitch walks upwards from the given row.
  uint8_t source[3][6];
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) source[y][x] = uint8_t(10 * y + x);
  EXPECT_EQ(s->SetAlpha(&source[2][0], -6), 3);
  EXPECT_EQ(s->view.alphaFirstRow[0], 20);
  EXPECT_EQ(s->view.alphaFirstRow[8 + 1], 11);
  EXPECT_EQ(s->view.alphaFirstRow[16 + 5], 5);  // min(6, 8) bytes a row

  // Attached memory is used, not owned, and not freed.
  uint8_t mine[3 * 6] = {};
  s->AttachAlpha(&mine[12], -6);
  EXPECT_FALSE(s->view.flags & kPixelFlagOwnsAlpha);
  EXPECT_EQ(s->view.alphaBlock, &mine[0]);
  EXPECT_EQ(s->view.alphaRowBytes, 6u);
  EXPECT_EQ(s->IsEmpty(), 1);
  s->FreeAlpha();
  EXPECT_EQ(s->view.alphaFirstRow, nullptr);

  // Without a channel, IsEmpty compares every pixel with the transparent value.
  ASSERT_NE(s->view.ops->FillRect, nullptr);
  EXPECT_EQ(s->FillRect(0, 0, 5, 3, 0x00FF00FF), 1);
  s->SetTransparentColour(0x00FF00FF);
  EXPECT_EQ(s->IsEmpty(), 1);
  s->SetTransparentColour(0x00FF00FE);
  EXPECT_EQ(s->IsEmpty(), 0);
  s->CreateAlpha();  // freed by Delete (checked by the leak sanitizer)
}

// Rows inside the surface's own channel are not caller memory: attaching
// them must not free the block under the new view.
TEST_F(SurfaceBase, AttachingRowsOfTheOwnChannelKeepsIt) {
  cSurfaceImpl* s = Make(8, 5, 3);
  ASSERT_NE(s, nullptr);
  uint8_t* alpha = s->CreateAlpha();
  ASSERT_NE(alpha, nullptr);
  alpha[2 * 8 + 4] = 7;
  s->AttachAlpha(alpha, 8);
  EXPECT_EQ(s->view.alphaFirstRow, alpha);
  EXPECT_EQ(s->view.alphaFirstRow[2 * 8 + 4], 7);
  EXPECT_EQ(s->IsEmpty(), 0);
  // The same block seen bottom-up.
  s->AttachAlpha(alpha + 2 * 8, -8);
  EXPECT_EQ(s->view.alphaFirstRow[4], 7);
  EXPECT_EQ(s->view.alphaRowBytes, 8u);
  EXPECT_TRUE(s->view.flags & kPixelFlagOwnsAlpha);  // still freed by Delete
}

TEST_F(SurfaceBase, SmallSlotsOfTheBase) {
  cSurfaceImpl* s = Make(24, 3, 3);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->MakeBackBuffer(), nullptr);
  EXPECT_EQ(s->GetScanLine(), -1);
  EXPECT_EQ(s->WaitVBlank(), 0);
  EXPECT_EQ(s->HasDC(), 0);
  EXPECT_EQ(s->GetDC(), nullptr);
  EXPECT_EQ(s->IsDCOnly(), 0);
  EXPECT_EQ(s->Lock(), 1);
  EXPECT_EQ(s->AttachWindow(nullptr), 1);
  EXPECT_EQ(s->IsCompressed(), 0);
  EXPECT_EQ(s->GetDCOrigin(), 0u);
  // Slot 0 without bit 0 cleans up but keeps the storage; with bit 0 it frees.
  cSurfaceImpl* t = Make(8, 2, 2);
  ASSERT_NE(t, nullptr);
  const int32_t before = PaletteRefCount(defaultPalette_);
  made_.pop_back();
  t->Delete(0);
  EXPECT_EQ(PaletteRefCount(defaultPalette_), before - 1);
  EXPECT_EQ(t->view.palette, nullptr);
  EXPECT_EQ(t->view.buffer, nullptr);
  t->Delete(1);  // storage freed; buffer already released (ASan checks both)
}

}  // namespace
