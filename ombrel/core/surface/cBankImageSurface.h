// A memory surface over an image of the image bank (or a caller's raw
// pixels) in the bank's row layout, usually without owning the buffer. An
// image kept in the transparency run-length form is drawn straight from its
// runs: the run-length routine row is installed and the surface serves only
// as a blit source; every other use reads an expanded copy or answers 0.
#pragma once

#include <cstdint>

#include "surface/ImageEntry.h"
#include "surface/cSurfaceImpl.h"

// Bytes of pixels in the bank layout (64-bit): 8 -> ((w + 1) & ~1) x h;
// 15, 16 -> 2 w h; 24 -> ((w + 1) & ~1) x 3 h; 32 -> 4 w h; other -> w h.
uint64_t BankImageDataSize(int32_t width, int32_t height, int32_t bits);
// Row bytes of the bank layout at a depth (64-bit).
uint64_t BankImageRowBytes(int32_t width, int32_t bits);

class cBankImageSurface final : public cSurfaceImpl {
 public:
  cBankImageSurface() = default;

  void Delete(uint32_t flags) override;
  cSurfaceImpl* MakeInstance(int32_t width, int32_t height) override;
  int32_t IsCompressed() override;

  // Row-reading slots: on a compressed image an expanded copy answers, and
  // the slots that would write pixels refuse.
  int32_t Reallocate(int32_t width, int32_t height) override;
  // A new depth would read the block as rows of that depth.
  void SetDepth(int32_t depth) override;
  int32_t SetDepthAndPalette(int32_t depth) override;
  void PutIndex(int32_t x, int32_t y, uint32_t index) override;
  void SetPixel(int32_t x, int32_t y, uint32_t colour) override;
  int32_t GetPixelNative(int32_t x, int32_t y, uint32_t* out) override;
  int32_t GetPixel(int32_t x, int32_t y, uint32_t* out) override;
  int32_t FilterBlit(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t sx, int32_t sy,
                     int32_t width, int32_t height, int32_t kernelWidth, int32_t kernelHeight,
                     int32_t anchorX, int32_t anchorY, int32_t marginX, int32_t marginY,
                     FilterCallback callback, uint32_t user) override;
  int32_t Stretch(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx,
                  int32_t sy, int32_t sw, int32_t sh, int32_t mode, uint32_t effect,
                  uint32_t parameter, uint32_t stretchFlags) override;
  int32_t FillRectIndex(int32_t x, int32_t y, int32_t width, int32_t height,
                        uint32_t index) override;
  int32_t FillRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour) override;
  int32_t Rotate(cSurfaceImpl* dest, int32_t angle, int32_t antiAlias, uint32_t fillColour,
                 int32_t keepTransparent) override;
  int32_t RotateQuarter(cSurfaceImpl* dest, int32_t clockwise) override;
  int32_t TextOut(const char* text, int32_t length, int32_t x, int32_t y, int32_t alignment,
                  const SurfaceRect* clip, uint32_t colour, void* font, uint32_t unused,
                  uint32_t effect, uint32_t parameter, uint32_t blitFlags) override;
  int32_t DrawText(const char* text, int32_t length, SurfaceRect* rect, uint32_t format,
                   uint32_t colour, void* font, uint32_t unused, uint32_t effect,
                   uint32_t parameter, uint32_t blitFlags, int32_t leftMargin, int32_t rightMargin,
                   int32_t tabLength) override;
  int32_t IsEmpty() override;
  int32_t ReplaceColour(uint32_t newColour, uint32_t oldColour) override;
  void RemapToPalette(cPalette* palette) override;
  void RemapIndices(const uint8_t* table) override;
  // A remap (remap 1) of a compressed image is refused; without one the
  // palette changes and the indices stay.
  int32_t SetPalette(cPalette* palette, int32_t remap) override;
  int32_t ReadPixels(void* file) override;
  int32_t WritePixels(void* file) override;

  // Depth (bits) and, for 8 bits or less, the palette (a reference is
  // kept; the previous one released). The routine row becomes the normal
  // one of the depth and the key is cleared.
  void SetFormat(int32_t bits, cPalette* palette);
  // Pixels (and alpha, when flagged) of a bank entry, in place.
  void AttachImage(const ImageEntry* entry);
  // Nothing when pixels is null or the pixels would take 2^31 bytes or more.
  // The alpha rows are (w + 3) & ~3 bytes; a compressed image takes none.
  void AttachPixels(int32_t width, int32_t height, uint32_t transparent, uint8_t* pixels,
                    uint8_t* alpha, int32_t compressed);

  // Bank-layout bytes of the pixels plus the alpha plane; 0 when compressed
  // or larger than 2^31.
  uint32_t GetDataSize();
  // Writes GetDataSize bytes (pixels row by row, then alpha); bytes written,
  // 0 for a null buffer, no pixels or a compressed image.
  uint32_t CopyData(uint8_t* buffer);
  // The run-length form of the whole surface with its key (RleSize's three
  // words; RleEncode into a block that starts with them).
  void RleSize(uint32_t* out);
  void RleEncode(uint8_t* block);
  // Byte-run packing of the GetDataSize bytes; 0 when compressed.
  uint32_t PackedSize(uint32_t unitFlags);
  uint32_t Pack(uint8_t* buffer, uint32_t unitFlags);

  int32_t ownsData = 0;

 private:
  // A plain copy of the whole image (null when it cannot be made).
  cSurfaceImpl* Expanded();
};
OMB_PIN_SIZE(cBankImageSurface, 100);
