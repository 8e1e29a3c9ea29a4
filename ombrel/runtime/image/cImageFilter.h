// The base class of every image format plug-in's filter object. The plug-in
// reads and writes its format; the base holds the image description the
// library queries, the defaults of every optional slot, and the conversion of
// decoded rows to the pixel format the caller asked for (8, 15, 16, 24 and 32
// bits into each other, 8-bit output through a remap table or a nearest-colour
// cache). Exported: 96 bytes of 32-bit fields that plug-ins built elsewhere
// read and write directly, and 41 slots in this order (MSVC object model:
// slot 0 `Destruct(flags)`, slot 1 `Release()` is the plug-in's own).
#pragma once

#include <cstdint>

#include "Memory.h"
#include "OmbrelApi.h"
#include "palette/PaletteTypes.h"
#include "surface/SurfaceTypes.h"

class cByteSink;
class cByteSource;

// Image file results (0 success); a filter's own results pass through.
enum ImageFileError : int32_t {
  ImageOk = 0,
  ImageErrOutOfMemory = 1,
  ImageErrOpen = 2,
  ImageErrCreate = 3,
  ImageErrNoFilter = 5,
  ImageErrNoFile = 7,
  ImageErrUnsupported = 8,
  ImageErrNotOpen = 9,
  ImageErrDepth = 10,
  ImageErrLowDepth = 12,
  ImageErrSize = 13,
  ImageErrArgument = 14,
  ImageErrNotStarted = 15,
  ImageErrAlreadyOpen = 17,
};

// The palette block: a LOGPALETTE with room for 256 entries.
using PaletteBlock = LogPalette;

class cImageFilter {
 public:
  static constexpr uint32_t kAllDepths = 124;  // bits 2..6: 8, 15, 16, 24, 32
  static constexpr uint8_t kCacheUnknown = 253;

  // The constructor, the destructor and the slots without an exported body
  // are inline: plug-ins deriving from the class build them themselves and
  // import only exported names (the slot defaults, MemFree).
  cImageFilter() = default;
  // A copy has its own palette, remap table and cache blocks.
  cImageFilter(const cImageFilter& other);
  cImageFilter& operator=(const cImageFilter& other);
  [[gnu::used]] ~cImageFilter() {
    FreeOwned(palette);
    FreeOwned(outputPalette);
    FreeOwned(imagePaletteCopy);
    FreeOwned(remap);
    FreeOwned(cache);
  }

  // Objects live in MemAlloc blocks: bit 0 of flags frees the storage. This
  // default destroys the base part only: a filter with members of its own
  // overrides it.
  virtual void Destruct(uint32_t flags) {                                                     // 0
    this->cImageFilter::~cImageFilter();
    if (flags & 1) FreeStorage(this);
  }
  virtual void Release() = 0;                                                                 // 1
  virtual void Init(uint32_t, uint32_t) {}                                                    // 2
  virtual uint32_t GetID() = 0;                                                               // 3
  virtual const char* GetName() = 0;                                                          // 4
  virtual uint32_t GetSupportedDepths() OMB_EXPORT_AS(cImageFilter_GetSupportedDepths);       // 5
  virtual int32_t GetFlag() { return 1; }                                                     // 6
  virtual void SetOption(uint32_t value) OMB_EXPORT_AS(cImageFilter_SetOption);               // 7
  virtual int32_t CanRead(cByteSource* source) = 0;                                           // 8
  virtual int32_t CanReadImages() OMB_EXPORT_AS(cImageFilter_CanReadImages);                  // 9
  virtual int32_t CanReadAnimations() OMB_EXPORT_AS(cImageFilter_CanReadAnimations);          // 10
  virtual int32_t CanWriteImages() OMB_EXPORT_AS(cImageFilter_CanWriteImages);                // 11
  virtual int32_t CanWriteAnimations() OMB_EXPORT_AS(cImageFilter_CanWriteAnimations);        // 12
  virtual int32_t Open(cByteSource* source) = 0;                                              // 13
  virtual int32_t ReadFrame(cByteSource* source, void* bits, int32_t pitch, void* alphaRows,
                            int32_t alphaPitch) = 0;                                          // 14
  virtual int32_t Save(cByteSink* sink, const void* bits, int32_t width, int32_t height, int32_t depth,
                       int32_t pitch, const PaletteBlock* palette, const void* alphaOrColour,
                       int32_t alphaPitch) OMB_EXPORT_AS(cImageFilter_Save);                  // 15
  virtual void EndRead(cByteSource* source) OMB_EXPORT_AS(cImageFilter_EndRead);              // 16
  virtual void EndWrite(cByteSink* sink) OMB_EXPORT_AS(cImageFilter_EndWrite);                // 17
  virtual int32_t GetWidth() OMB_EXPORT_AS(cImageFilter_GetWidth);                            // 18
  virtual int32_t GetHeight() OMB_EXPORT_AS(cImageFilter_GetHeight);                          // 19
  virtual int32_t GetPitch() OMB_EXPORT_AS(cImageFilter_GetPitch);                            // 20
  virtual int32_t GetDepth() OMB_EXPORT_AS(cImageFilter_GetDepth);                            // 21
  virtual int32_t GetImageSize() OMB_EXPORT_AS(cImageFilter_GetImageSize);                    // 22
  virtual PaletteBlock* GetPalette() OMB_EXPORT_AS(cImageFilter_GetPalette);                  // 23
  virtual int32_t GetTransparentColour(uint32_t*) { return 0; }                               // 24
  virtual int32_t HasAlpha() OMB_EXPORT_AS(cImageFilter_HasAlpha);                            // 25
  virtual int32_t SetOutputFormat(int32_t depth, const PaletteBlock* palette)
      OMB_EXPORT_AS(cImageFilter_SetOutputFormat);                                           // 26
  virtual int32_t IsAnimation() OMB_EXPORT_AS(cImageFilter_IsAnimation);                      // 27
  virtual int32_t GetFrameCount() OMB_EXPORT_AS(cImageFilter_GetFrameCount);                  // 28
  virtual int32_t GetCurrentFrame() OMB_EXPORT_AS(cImageFilter_GetCurrentFrame);              // 29
  virtual void GetRect(SurfaceRect* out) OMB_EXPORT_AS(cImageFilter_GetRect);                 // 30
  virtual int32_t GetAnimInfoA() OMB_EXPORT_AS(cImageFilter_GetAnimInfoA);                    // 31
  virtual int32_t GetAnimInfoB() OMB_EXPORT_AS(cImageFilter_GetAnimInfoB);                    // 32
  virtual int32_t GetAnimInfoC() OMB_EXPORT_AS(cImageFilter_GetAnimInfoC);                    // 33
  virtual int32_t GetFrameInfo(int32_t frame) OMB_EXPORT_AS(cImageFilter_GetFrameInfo);       // 34
  virtual int32_t GetAnimInfoD() OMB_EXPORT_AS(cImageFilter_GetAnimInfoD);                    // 35
  virtual int32_t GetAnimInfoE() OMB_EXPORT_AS(cImageFilter_GetAnimInfoE);                    // 36
  virtual void Rewind() {}                                                                    // 37
  virtual int32_t BeginWrite(cByteSink* sink, int32_t width, int32_t height, int32_t depth, uint32_t v1,
                             uint32_t v2, uint32_t v3, uint32_t v4, uint32_t v5, uint32_t v6)
      OMB_EXPORT_AS(cImageFilter_BeginWrite);                                                // 38
  virtual int32_t WriteFrame(cByteSink* sink, const void* previous, const void* bits, int32_t width,
                             int32_t height, int32_t pitch, int32_t depth, const PaletteBlock* palette,
                             uint32_t f0, uint32_t f1, uint32_t f2, uint32_t f3, uint32_t f4)
      OMB_EXPORT_AS(cImageFilter_WriteFrame);                                                // 39
  virtual void AddToOutput(cByteSink* sink, uint32_t value) OMB_EXPORT_AS(cImageFilter_AddToOutput);  // 40

  int32_t AllocPalette(int32_t count) OMB_EXPORT_AS(cImageFilter_AllocPalette);
  void ComputeLineBytes() OMB_EXPORT_AS(cImageFilter_ComputeLineBytes);
  static int32_t NearestColour(const PaletteBlock* palette, uint32_t red, uint32_t green, uint32_t blue)
      OMB_EXPORT_AS(cImageFilter_NearestColour);
  int32_t NeedsConversion() OMB_EXPORT_AS(cImageFilter_NeedsConversion);
  int32_t PrepareConversion() OMB_EXPORT_AS(cImageFilter_PrepareConversion);
  int32_t BuildRemap() OMB_EXPORT_AS(cImageFilter_BuildRemap);
  void ConvertScanline(void* destination, const void* source, int32_t count)
      OMB_EXPORT_AS(cImageFilter_ConvertScanline);

  // Fields (every one 32-bit; order and widths are part of the interface).
  int32_t width = 0;
  int32_t height = 0;
  int32_t depth = 0;
  int32_t lineBytes = 0;
  int32_t pitch = 0;
  int32_t bytesPerPixel = 0;
  int32_t hasAlpha = 0;
  uint32_t pluginData[3] = {};
  int32_t frameCount = 1;
  int32_t currentFrame = 0;
  int32_t frameInfo = 0;
  int32_t animInfoC = 0;
  PaletteBlock* palette = nullptr;
  int32_t needsConversion = 0;
  int32_t outputPaletteChanged = 0;
  int32_t outputDepth = 0;
  int32_t outputBytesPerPixel = 0;
  PaletteBlock* outputPalette = nullptr;
  PaletteBlock* imagePaletteCopy = nullptr;
  uint8_t* remap = nullptr;
  uint8_t* cache = nullptr;

 protected:
  static void FreeStorage(void* self) { MemFree(&self); }
  template <typename T>
  static void FreeOwned(T*& block) {
    if (!block) return;
    void* p = block;
    MemFree(&p);
    block = nullptr;
  }

 private:
  void FreeBlocks();
  void FreeConversionBlocks();
  void CopyFrom(const cImageFilter& other);
  uint8_t CacheIndex(uint32_t cell, uint32_t red, uint32_t green, uint32_t blue);
  static void CheckLayout();
};
OMB_PIN_SIZE(cImageFilter, 96);

// The RGB565 cell of a colour in the nearest-colour cache.
inline uint32_t CacheCell(uint32_t red, uint32_t green, uint32_t blue) {
  return (red & 0xF8) << 8 | (green & 0xFC) << 3 | blue >> 3;
}
