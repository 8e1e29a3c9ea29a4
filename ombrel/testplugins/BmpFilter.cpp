// bmp.ift: BMP files through the library's filter base (a C++ plug-in built
// against the library's class headers, linking Ombrel.dll by name). Variants
// of the same source (compile definitions, one folder each) test the
// registry: PLUGIN_PRIORITY, PLUGIN_NO_ID, PLUGIN_NO_CAN_READ,
// PLUGIN_CAN_READ_REFUSES, PLUGIN_CREATE_NULL, PLUGIN_READ_ONLY,
// PLUGIN_NO_EXTS, PLUGIN_DEPTHS (supported save depths), PLUGIN_ID and
// PLUGIN_NAME.
#include <new>

#include "BmpCodec.h"
#include "StreamCalls.h"
#include "image/cImageFilter.h"

#ifndef PLUGIN_ID
#define PLUGIN_ID 0x20504D42u  // "BMP "
#endif
#ifndef PLUGIN_NAME
#define PLUGIN_NAME "BMP"
#endif
#ifndef PLUGIN_DEPTHS
#define PLUGIN_DEPTHS ((1u << 2) | (1u << 5) | (1u << 6))
#endif

namespace {

class BmpFilter final : public cImageFilter {
 public:
  void Release() override { Destruct(1); }
  uint32_t GetID() override { return PLUGIN_ID; }
  const char* GetName() override { return PLUGIN_NAME; }
  uint32_t GetSupportedDepths() override { return PLUGIN_DEPTHS; }
  int32_t CanRead(cByteSource* source) override { return BmpLooksLike(source); }
  int32_t CanReadImages() override { return 1; }
#ifndef PLUGIN_READ_ONLY
  int32_t CanWriteImages() override { return 1; }
#endif

  int32_t Open(cByteSource* source) override {
    const int32_t e = BmpReadHeader(source, &info_);
    if (e != 0) return e;
    width = info_.width;
    height = info_.height;
    depth = info_.depth;
    hasAlpha = depth == 32;
    ComputeLineBytes();
    pitch = static_cast<int32_t>(info_.rowBytes);
    currentFrame = -1;
    if (info_.paletteCount) {
      if (!AllocPalette(static_cast<int32_t>(info_.paletteCount))) return ImageErrOutOfMemory;
      for (uint32_t i = 0; i < info_.paletteCount; ++i)
        palette->entries[i] = {info_.palette[i][0], info_.palette[i][1], info_.palette[i][2], 0};
    }
    return ImageOk;
  }

  int32_t ReadFrame(cByteSource* source, void* bits, int32_t rowPitch, void* alphaRows, int32_t alphaPitch) override {
    if (!bits) return ImageErrArgument;
    const int32_t e = BmpReadRows(source, &info_, static_cast<uint8_t*>(bits), rowPitch,
                                  static_cast<uint8_t*>(alphaRows), alphaPitch, NeedsConversion() ? Convert : nullptr,
                                  this);
    if (e == 0) currentFrame = 0;
    return e;
  }

  int32_t GetTransparentColour(uint32_t* out) override {
    if (!info_.hasKey || !out) return 0;
    *out = info_.key;
    return 1;
  }

#ifndef PLUGIN_READ_ONLY
  int32_t Save(cByteSink* sink, const void* bits, int32_t w, int32_t h, int32_t d, int32_t rowPitch,
               const PaletteBlock* pal, const void* alphaOrColour, int32_t alphaPitch) override {
    return BmpWrite(sink, static_cast<const uint8_t*>(bits), w, h, d, rowPitch, pal, alphaOrColour, alphaPitch);
  }
#endif

 private:
  static void Convert(void* self, uint8_t* destination, const uint8_t* row, int32_t count) {
    static_cast<BmpFilter*>(self)->ConvertScanline(destination, row, count);
  }

  BmpInfo info_{};
};

const char* const kExtensions[] = {"bmp", "dib", nullptr};

}  // namespace

extern "C" {

PLUGIN_EXPORT void* PLUGIN_STDCALL CreateFilter(uintptr_t) {
#ifdef PLUGIN_CREATE_NULL
  return nullptr;
#else
  void* block = nullptr;
  if (!MemAlloc(sizeof(BmpFilter), &block)) return nullptr;
  return static_cast<cImageFilter*>(new (block) BmpFilter());
#endif
}

PLUGIN_EXPORT const char* PLUGIN_STDCALL GetFilterName() { return PLUGIN_NAME; }

#ifndef PLUGIN_NO_ID
PLUGIN_EXPORT uint32_t PLUGIN_STDCALL GetFilterID() { return PLUGIN_ID; }
#endif

#ifndef PLUGIN_NO_EXTS
PLUGIN_EXPORT const char* const* PLUGIN_STDCALL GetFilterExts() { return kExtensions; }
#endif

#ifndef PLUGIN_NO_CAN_READ
PLUGIN_EXPORT int32_t PLUGIN_STDCALL CanReadFile(cByteSource* source) {
#ifdef PLUGIN_CAN_READ_REFUSES
  BmpLooksLike(source);
  return 0;
#else
  return BmpLooksLike(source);
#endif
}
#endif

#ifdef PLUGIN_PRIORITY
PLUGIN_EXPORT uint32_t PLUGIN_STDCALL GetPriority() { return PLUGIN_PRIORITY; }
#endif
}
