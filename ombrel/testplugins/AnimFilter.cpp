// anim.ift: the project's own multi-frame format, read and written through
// the filter base: "ZANM", width, height, depth, frame count (32-bit little
// endian), a 256-entry palette (red, green, blue, 0) when the depth is 8,
// then every frame's rows top row first, each of the packed line length.
#include <cstring>
#include <new>
#include <vector>

#include "StreamCalls.h"
#include "image/cImageFilter.h"

namespace {

constexpr uint32_t kAnimId = 0x4D494E41;  // "ANIM"
constexpr int32_t kMaxSide = 16384;
constexpr int32_t kMaxFrames = 100000;
constexpr uint32_t kHeaderBytes = 20;
constexpr uint32_t kPaletteBytes = 1024;

bool ReadU32(void* source, uint32_t* out) {
  uint8_t b[4];
  if (SourceRead(source, b, 4) != 0) return false;
  *out = b[0] | b[1] << 8 | b[2] << 16 | uint32_t{b[3]} << 24;
  return true;
}

bool WriteU32(void* sink, uint32_t v) {
  const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                        static_cast<uint8_t>(v >> 24)};
  return SinkWrite(sink, b, 4) == 0;
}

bool IsDepth(uint32_t d) { return d == 8 || d == 15 || d == 16 || d == 24 || d == 32; }

class AnimFilter final : public cImageFilter {
 public:
  void Destruct(uint32_t flags) override {
    this->~AnimFilter();
    if (flags & 1) FreeStorage(this);
  }
  void Release() override { Destruct(1); }
  uint32_t GetID() override { return kAnimId; }
  const char* GetName() override { return "Animation"; }
  int32_t CanRead(cByteSource* source) override {
    char magic[4] = {};
    return SourceRead(source, magic, 4) == 0 && std::memcmp(magic, "ZANM", 4) == 0;
  }
  int32_t CanReadImages() override { return 1; }
  int32_t CanReadAnimations() override { return 1; }
  int32_t CanWriteAnimations() override { return 1; }
  int32_t IsAnimation() override { return 1; }

  int32_t Open(cByteSource* source) override {
    uint32_t w = 0, h = 0, d = 0, frames = 0;
    if (!CanRead(source) || !ReadU32(source, &w) || !ReadU32(source, &h) || !ReadU32(source, &d) ||
        !ReadU32(source, &frames))
      return ImageErrNoFilter;
    if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide || !IsDepth(d) || frames < 1 || frames > kMaxFrames)
      return ImageErrNoFilter;
    width = static_cast<int32_t>(w);
    height = static_cast<int32_t>(h);
    depth = static_cast<int32_t>(d);
    frameCount = static_cast<int32_t>(frames);
    ComputeLineBytes();
    pitch = lineBytes;
    if (depth == 8) {
      uint8_t entries[kPaletteBytes];
      if (SourceRead(source, entries, kPaletteBytes) != 0 || !AllocPalette(256)) return ImageErrNoFilter;
      std::memcpy(palette->entries, entries, kPaletteBytes);
    }
    source_ = source;
    dataStart_ = SourceTell(source);
    currentFrame = -1;
    return ImageOk;
  }

  int32_t ReadFrame(cByteSource* source, void* bits, int32_t rowPitch, void*, int32_t) override {
    if (!bits) return ImageErrArgument;
    if (currentFrame + 1 >= frameCount) return ImageErrUnsupported;
    std::vector<uint8_t> row(static_cast<size_t>(lineBytes));
    for (int32_t y = 0; y < height; ++y) {
      if (SourceRead(source, row.data(), static_cast<uint32_t>(lineBytes)) != 0) return ImageErrNoFilter;
      uint8_t* out = static_cast<uint8_t*>(bits) + static_cast<intptr_t>(rowPitch) * y;
      if (NeedsConversion()) ConvertScanline(out, row.data(), width);
      else std::memcpy(out, row.data(), row.size());
    }
    ++currentFrame;
    return ImageOk;
  }

  void Rewind() override {
    if (!source_) return;
    SourceSeek(source_, static_cast<int32_t>(dataStart_), 0);
    currentFrame = -1;
  }

  int32_t BeginWrite(cByteSink* sink, int32_t w, int32_t h, int32_t d, uint32_t, uint32_t, uint32_t, uint32_t,
                     uint32_t, uint32_t) override {
    if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide || !IsDepth(static_cast<uint32_t>(d)))
      return ImageErrArgument;
    width = w;
    height = h;
    depth = d;
    frameCount = 0;
    ComputeLineBytes();
    pitch = lineBytes;
    currentFrame = -1;
    start_ = SinkTell(sink);
    std::vector<uint8_t> header(kHeaderBytes + (d == 8 ? kPaletteBytes : 0), 0);
    std::memcpy(header.data(), "ZANM", 4);
    if (SinkWrite(sink, header.data(), static_cast<uint32_t>(header.size())) != 0) return ImageErrCreate;
    return ImageOk;
  }

  int32_t WriteFrame(cByteSink* sink, const void*, const void* bits, int32_t w, int32_t h, int32_t rowPitch,
                     int32_t d, const PaletteBlock* pal, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) override {
    if (w != width || h != height || d != depth || !bits) return ImageErrArgument;
    if (d == 8 && pal && paletteOut_.empty()) {
      paletteOut_.assign(kPaletteBytes, 0);
      std::memcpy(paletteOut_.data(), pal->entries, 4u * (pal->count > 256 ? 256 : pal->count));
    }
    for (int32_t y = 0; y < height; ++y) {
      const uint8_t* row = static_cast<const uint8_t*>(bits) + static_cast<intptr_t>(rowPitch) * y;
      if (SinkWrite(sink, row, static_cast<uint32_t>(lineBytes)) != 0) return ImageErrCreate;
    }
    ++frameCount;
    ++currentFrame;
    return ImageOk;
  }

  // The header's sizes and palette are known once the frames are written.
  void EndWrite(cByteSink* sink) override {
    if (!sink) return;
    SinkSeek(sink, static_cast<int32_t>(start_ + 4), 0);
    WriteU32(sink, static_cast<uint32_t>(width));
    WriteU32(sink, static_cast<uint32_t>(height));
    WriteU32(sink, static_cast<uint32_t>(depth));
    WriteU32(sink, static_cast<uint32_t>(frameCount));
    if (depth == 8 && !paletteOut_.empty()) SinkWrite(sink, paletteOut_.data(), kPaletteBytes);
    SinkSeek(sink, 0, 2);
  }

 private:
  cByteSource* source_ = nullptr;
  uint32_t dataStart_ = 0;
  uint32_t start_ = 0;
  std::vector<uint8_t> paletteOut_;
};

const char* const kExtensions[] = {"zan", nullptr};

}  // namespace

extern "C" {
PLUGIN_EXPORT void* PLUGIN_STDCALL CreateFilter(uintptr_t) {
  void* block = nullptr;
  if (!MemAlloc(sizeof(AnimFilter), &block)) return nullptr;
  return static_cast<cImageFilter*>(new (block) AnimFilter());
}
PLUGIN_EXPORT const char* PLUGIN_STDCALL GetFilterName() { return "Animation"; }
PLUGIN_EXPORT uint32_t PLUGIN_STDCALL GetFilterID() { return kAnimId; }
PLUGIN_EXPORT const char* const* PLUGIN_STDCALL GetFilterExts() { return kExtensions; }
PLUGIN_EXPORT int32_t PLUGIN_STDCALL CanReadFile(cByteSource* source) {
  char magic[4] = {};
  return SourceRead(source, magic, 4) == 0 && std::memcmp(magic, "ZANM", 4) == 0;
}
}
