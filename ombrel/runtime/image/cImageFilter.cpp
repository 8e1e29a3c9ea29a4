#include "image/cImageFilter.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "ExportedTable.h"
#include "Memory.h"

OMB_EXPORT_VFTABLE(cImageFilter, "_ZTV12cImageFilter")

namespace {

constexpr uint32_t kPaletteHeader = 4;

template <typename T>
void FreeBlock(T*& block) {
  if (!block) return;
  void* p = block;
  MemFree(&p);
  block = nullptr;
}

// A zeroed palette block (version 0x300), or null.
PaletteBlock* NewPaletteBlock() {
  void* block = nullptr;
  if (!MemCalloc(sizeof(PaletteBlock), &block)) return nullptr;
  static_cast<PaletteBlock*>(block)->version = 0x300;
  return static_cast<PaletteBlock*>(block);
}

// Plug-ins fill the count: never more than the block holds.
uint32_t EntryCount(const PaletteBlock* p) { return p->count > kPaletteEntries ? kPaletteEntries : p->count; }

uint32_t Rgb(const PaletteEntry& e) { return e.red | e.green << 8 | uint32_t{e.blue} << 16; }

template <typename T>
T* Duplicate(const T* from, size_t size) {
  if (!from) return nullptr;
  void* block = nullptr;
  if (!MemAlloc(static_cast<uint32_t>(size), &block)) return nullptr;
  std::memcpy(block, from, size);
  return static_cast<T*>(block);
}

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
void PutWord(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

}  // namespace

cImageFilter::cImageFilter(const cImageFilter& other) { CopyFrom(other); }

cImageFilter& cImageFilter::operator=(const cImageFilter& other) {
  if (this != &other) {
    FreeBlocks();
    CopyFrom(other);
  }
  return *this;
}

void cImageFilter::CopyFrom(const cImageFilter& other) {
  std::memcpy(&width, &other.width, offsetof(cImageFilter, cache) + sizeof cache - offsetof(cImageFilter, width));
  palette = Duplicate(other.palette, sizeof(PaletteBlock));
  outputPalette = Duplicate(other.outputPalette, sizeof(PaletteBlock));
  imagePaletteCopy = Duplicate(other.imagePaletteCopy, sizeof(PaletteBlock));
  remap = Duplicate(other.remap, 256);
  cache = Duplicate(other.cache, 65536);
}

void cImageFilter::FreeConversionBlocks() {
  FreeBlock(outputPalette);
  FreeBlock(imagePaletteCopy);
  FreeBlock(remap);
  FreeBlock(cache);
}

void cImageFilter::FreeBlocks() {
  FreeBlock(palette);
  FreeConversionBlocks();
}

void cImageFilter::CheckLayout() {
  OMB_PIN_OFFSET(cImageFilter, width, 4);
  OMB_PIN_OFFSET(cImageFilter, lineBytes, 16);
  OMB_PIN_OFFSET(cImageFilter, hasAlpha, 28);
  OMB_PIN_OFFSET(cImageFilter, frameCount, 44);
  OMB_PIN_OFFSET(cImageFilter, palette, 60);
  OMB_PIN_OFFSET(cImageFilter, outputDepth, 72);
  OMB_PIN_OFFSET(cImageFilter, remap, 88);
  OMB_PIN_OFFSET(cImageFilter, cache, 92);
}

// Defaults of the optional slots.
uint32_t cImageFilter::GetSupportedDepths() { return kAllDepths; }
void cImageFilter::SetOption(uint32_t) {}
int32_t cImageFilter::CanReadImages() { return 0; }
int32_t cImageFilter::CanReadAnimations() { return 0; }
int32_t cImageFilter::CanWriteImages() { return 0; }
int32_t cImageFilter::CanWriteAnimations() { return 0; }
int32_t cImageFilter::Save(cByteSink*, const void*, int32_t, int32_t, int32_t, int32_t, const PaletteBlock*,
                           const void*, int32_t) {
  return ImageErrUnsupported;
}
void cImageFilter::EndRead(cByteSource*) {}
void cImageFilter::EndWrite(cByteSink*) {}
int32_t cImageFilter::GetWidth() { return width; }
int32_t cImageFilter::GetHeight() { return height; }
int32_t cImageFilter::GetPitch() { return pitch; }
int32_t cImageFilter::GetDepth() { return depth; }
int32_t cImageFilter::GetImageSize() { return pitch * height; }
PaletteBlock* cImageFilter::GetPalette() { return palette; }
int32_t cImageFilter::HasAlpha() { return hasAlpha; }
int32_t cImageFilter::IsAnimation() { return 0; }
int32_t cImageFilter::GetFrameCount() { return frameCount; }
int32_t cImageFilter::GetCurrentFrame() { return currentFrame; }
void cImageFilter::GetRect(SurfaceRect* out) {
  if (out) *out = SurfaceRect{0, 0, width, height};
}
int32_t cImageFilter::GetAnimInfoA() { return 0; }
int32_t cImageFilter::GetAnimInfoB() { return 0; }
int32_t cImageFilter::GetAnimInfoC() { return animInfoC; }
int32_t cImageFilter::GetFrameInfo(int32_t) { return frameInfo; }
int32_t cImageFilter::GetAnimInfoD() { return 1; }
int32_t cImageFilter::GetAnimInfoE() { return 0; }
int32_t cImageFilter::BeginWrite(cByteSink*, int32_t, int32_t, int32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                                 uint32_t, uint32_t) {
  return ImageErrUnsupported;
}
int32_t cImageFilter::WriteFrame(cByteSink*, const void*, const void*, int32_t, int32_t, int32_t, int32_t,
                                 const PaletteBlock*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {
  return ImageErrUnsupported;
}
void cImageFilter::AddToOutput(cByteSink*, uint32_t) {}

int32_t cImageFilter::AllocPalette(int32_t count) {
  if (palette) {
    std::memset(palette->entries, 0, sizeof palette->entries);
  } else {
    palette = NewPaletteBlock();
    if (!palette) return 0;
  }
  palette->count = static_cast<uint16_t>(count < 0 ? 0 : count > kPaletteEntries ? kPaletteEntries : count);
  return 1;
}

void cImageFilter::ComputeLineBytes() {
  bytesPerPixel = (depth + 1) / 8;
  switch (depth) {
    case 1: lineBytes = (width + 15) / 16 * 2; break;
    case 4: lineBytes = (width + 1) / 2; break;
    case 15:
    case 16: lineBytes = 2 * width; break;
    case 24: lineBytes = 3 * width; break;
    case 32: lineBytes = 4 * width; break;
    default: lineBytes = width;
  }
}

int32_t cImageFilter::NearestColour(const PaletteBlock* p, uint32_t red, uint32_t green, uint32_t blue) {
  if (!p) return 0;
  int32_t best = 0;
  uint32_t bestDistance = UINT32_MAX;
  for (uint32_t i = 0; i < EntryCount(p); ++i) {
    const PaletteEntry& e = p->entries[i];
    const uint32_t d = static_cast<uint32_t>(std::abs(static_cast<int>(red) - e.red) +
                                             std::abs(static_cast<int>(green) - e.green) +
                                             std::abs(static_cast<int>(blue) - e.blue));
    if (d == 0) return static_cast<int32_t>(i);
    if (d < bestDistance) {
      bestDistance = d;
      best = static_cast<int32_t>(i);
    }
  }
  return best;
}

int32_t cImageFilter::NeedsConversion() { return needsConversion; }

int32_t cImageFilter::SetOutputFormat(int32_t newDepth, const PaletteBlock* outPalette) {
  if (newDepth == 8) {
    outputDepth = 8;
    outputBytesPerPixel = 1;
    if (!outPalette || outPalette->count > kPaletteEntries) return ImageErrArgument;
    if (depth == 8 && outPalette == palette) {
      FreeConversionBlocks();
      needsConversion = 0;
      return ImageOk;
    }
    const size_t bytes = kPaletteHeader + 4u * outPalette->count;
    if (!outputPalette) {
      outputPalette = NewPaletteBlock();
      if (!outputPalette) return ImageErrOutOfMemory;
      outputPaletteChanged = 1;
    }
    if (outputPaletteChanged || std::memcmp(outputPalette, outPalette, bytes) != 0) {
      std::memcpy(outputPalette, outPalette, bytes);
      outputPaletteChanged = 1;
    }
  } else if (newDepth == 15 || newDepth == 16 || newDepth == 24 || newDepth == 32) {
    outputDepth = newDepth;
    outputBytesPerPixel = (newDepth + 1) / 8;
    FreeBlock(outputPalette);
  } else {
    return ImageErrArgument;
  }
  return PrepareConversion() ? ImageOk : ImageErrOutOfMemory;
}

int32_t cImageFilter::PrepareConversion() {
  needsConversion = outputDepth != depth;
  if (outputDepth != 8) return 1;
  if (depth == 8) {
    if (!outputPalette || !palette) return 1;
    auto samePalettes = [](const PaletteBlock* a, const PaletteBlock* b) {
      if (a->count != b->count) return false;
      for (uint32_t i = 0; i < EntryCount(a); ++i)
        if (Rgb(a->entries[i]) != Rgb(b->entries[i])) return false;
      return true;
    };
    if (imagePaletteCopy && !outputPaletteChanged) {
      if (imagePaletteCopy->count != palette->count) return BuildRemap();
      if (samePalettes(imagePaletteCopy, palette)) {
        needsConversion = 1;  // the remap table built for it still applies
        return 1;
      }
    }
    outputPaletteChanged = 0;
    if (samePalettes(outputPalette, palette)) {
      FreeBlock(imagePaletteCopy);
      FreeBlock(remap);
      return 1;
    }
    return BuildRemap();
  }
  if (!outputPalette) return 1;
  if (!cache) {
    void* block = nullptr;
    if (!MemCalloc(65536, &block)) return 0;
    cache = static_cast<uint8_t*>(block);
    outputPaletteChanged = 1;
  }
  if (outputPaletteChanged) {
    outputPaletteChanged = 0;
    std::memset(cache, kCacheUnknown, 65536);
    for (uint32_t i = 0; i < EntryCount(outputPalette); ++i) {
      const PaletteEntry& e = outputPalette->entries[i];
      cache[CacheCell(e.red, e.green, e.blue)] = static_cast<uint8_t>(i);
    }
  }
  return 1;
}

int32_t cImageFilter::BuildRemap() {
  needsConversion = 1;
  if (!palette) return 0;
  if (!imagePaletteCopy) imagePaletteCopy = NewPaletteBlock();
  if (!imagePaletteCopy) return 0;
  std::memcpy(imagePaletteCopy, palette, kPaletteHeader + 4u * EntryCount(palette));
  if (!remap) {
    void* block = nullptr;
    if (!MemCalloc(256, &block)) {
      FreeBlock(imagePaletteCopy);
      return 0;
    }
    remap = static_cast<uint8_t*>(block);
  }
  for (uint32_t i = 0; i < EntryCount(palette); ++i) {
    const PaletteEntry& e = palette->entries[i];
    remap[i] = static_cast<uint8_t>(NearestColour(outputPalette, e.red, e.green, e.blue));
  }
  return 1;
}

uint8_t cImageFilter::CacheIndex(uint32_t cell, uint32_t red, uint32_t green, uint32_t blue) {
  uint8_t index = cache[cell];
  if (index == kCacheUnknown) {
    index = static_cast<uint8_t>(NearestColour(outputPalette, red, green, blue));
    cache[cell] = index;
  }
  return index;
}

void cImageFilter::ConvertScanline(void* destination, const void* source, int32_t count) {
  uint8_t* out = static_cast<uint8_t*>(destination);
  const uint8_t* in = static_cast<const uint8_t*>(source);
  if (count <= 0 || !out || !in) return;
  const uint32_t n = static_cast<uint32_t>(count);
  const bool fromPalette = depth == 8;
  if (fromPalette && outputDepth != 8 && !palette) return;
  if (!fromPalette && outputDepth == 8 && !cache) return;
  if (depth != 8 && depth != 15 && depth != 16 && depth != 24 && depth != 32) return;
  if (outputDepth == depth) {
    if (depth == 8 && remap) {
      for (uint32_t i = 0; i < n; ++i) out[i] = remap[in[i]];
    } else {
      std::memmove(out, in, size_t{n} * static_cast<uint32_t>((depth + 1) / 8));
    }
    return;
  }
  const uint32_t inStep = static_cast<uint32_t>((depth + 1) / 8);
  for (uint32_t i = 0; i < n; ++i, in += inStep) {
    // The source pixel as 8-bit channels, and its 565 word where it has one.
    uint32_t r = 0, g = 0, b = 0, word = 0;
    switch (depth) {
      case 8: {
        const PaletteEntry& e = palette->entries[*in];
        r = e.red, g = e.green, b = e.blue;
        break;
      }
      case 15:
        word = Word(in);
        r = (word >> 10 & 0x1F) << 3, g = (word >> 5 & 0x1F) << 3, b = (word & 0x1F) << 3;
        word = (word & 0x7FE0) << 1 | (word & 0x1F);
        break;
      case 16:
        word = Word(in);
        r = (word >> 11) << 3, g = (word >> 5 & 0x3F) << 2, b = (word & 0x1F) << 3;
        break;
      default:
        b = in[0], g = in[1], r = in[2];
    }
    switch (outputDepth) {
      case 8:
        if (depth == 15 || depth == 16) {
          out[i] = CacheIndex(word, (word >> 8) & 0xF8, (word >> 3) & 0xFC, (word & 0x1F) << 3);
        } else {
          out[i] = CacheIndex(CacheCell(r, g, b), r, g, b);
        }
        break;
      case 15:
        PutWord(out + 2 * i, depth == 16 ? (Word(in) >> 1 & 0x7FE0) | (Word(in) & 0x1F)
                                         : (r >> 3) << 10 | (g >> 3) << 5 | b >> 3);
        break;
      case 16:
        PutWord(out + 2 * i, depth == 15 ? word : (r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
        break;
      case 24:
        out[3 * i] = static_cast<uint8_t>(b), out[3 * i + 1] = static_cast<uint8_t>(g),
        out[3 * i + 2] = static_cast<uint8_t>(r);
        break;
      case 32:
        out[4 * i] = static_cast<uint8_t>(b), out[4 * i + 1] = static_cast<uint8_t>(g),
        out[4 * i + 2] = static_cast<uint8_t>(r), out[4 * i + 3] = 0;
        break;
      default:
        return;
    }
  }
}
