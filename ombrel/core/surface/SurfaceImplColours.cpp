// Palette, transparent colour and whole-surface colour operations of the
// surface base.
#include <cstring>

#include "palette/PaletteApi.h"
#include "pixel/CopyKernels.h"
#include "surface/NativeColour.h"
#include "surface/SurfaceAccess.h"
#include "surface/cSurfaceImpl.h"

void cSurfaceImpl::SetTransparentColour(uint32_t colour) {
  view.transparentColour = colour;
  view.transparentValue = 0;
  if (colour == 0) return;
  if (view.depth == 8) {
    const int32_t index = NearestIndex(colour);
    view.transparentValue = uint32_t(index);
    if (view.palette != nullptr) view.transparentColour = EntryColour(view.palette->log.entries[index]);
    return;
  }
  view.transparentValue = ColourToNative(view.depth, colour);
  if (view.depth == 15 || view.depth == 16)
    view.transparentColour = NativeToColour(view.depth, view.transparentValue);
}

uint32_t cSurfaceImpl::GetTransparentColour() { return view.transparentColour; }
uint32_t cSurfaceImpl::GetTransparentNative() { return view.transparentValue; }

int32_t cSurfaceImpl::NearestIndex(uint32_t colour) {
  if (view.palette == nullptr && !IsIndexColour(colour)) return 0;
  return ColourToIndex(colour);
}

uint32_t cSurfaceImpl::IndexToRGB(int32_t index) {
  if (view.palette == nullptr || index < 0 || index >= view.palette->log.count) return 0;
  return EntryColour(view.palette->log.entries[index]);
}

int32_t cSurfaceImpl::GetBlackIndex() {
  return view.palette != nullptr ? view.palette->blackIndex : 4;
}

cPalette* cSurfaceImpl::GetPalette() { return view.palette; }

int32_t cSurfaceImpl::GetPaletteEntries(PaletteEntry* out, int32_t first, int32_t count) {
  if (view.depth != 8 || view.palette == nullptr) return 0;
  const int32_t entries = view.palette->log.count;
  if (out == nullptr) return entries;
  if (first < 0 || first >= entries || count < 0) return 0;
  const int32_t copied = count < entries - first ? count : entries - first;
  std::memcpy(out, view.palette->log.entries + first, size_t(copied) * sizeof(PaletteEntry));
  return count;
}

int32_t cSurfaceImpl::GetLogPalette(LogPalette* out) {
  if (view.depth != 8 || view.palette == nullptr) return 0;
  if (out != nullptr) *out = view.palette->log;
  return view.palette->log.count;
}

void cSurfaceImpl::RemapAllPixels(const uint8_t* table) {
  SurfaceAccess access(*this);
  if (!access.ok()) return;
  for (int32_t y = 0; y < view.height; ++y) {
    uint8_t* row = PixelRow(view, y);
    for (int32_t x = 0; x < view.width; ++x) row[x] = table[row[x]];
  }
}

void cSurfaceImpl::RemapIndices(const uint8_t* table) {
  if (view.depth == 8 && table != nullptr) RemapAllPixels(table);
}

void cSurfaceImpl::RemapToPalette(cPalette* palette) {
  if (view.depth != 8 || view.palette == nullptr || palette == nullptr || palette == view.palette)
    return;
  uint8_t table[kPaletteEntries];
  for (int i = 0; i < kPaletteEntries; ++i) table[i] = uint8_t(i);  // entries past a short source
  if (PaletteBuildRemap(table, view.palette, palette, 1)) RemapAllPixels(table);
}

int32_t cSurfaceImpl::SetPalette(cPalette* palette, int32_t remap) {
  if (palette == view.palette) return 1;
  if (view.depth != 8) return 0;
  if (remap == 1 && view.width > 0 && view.height > 0) {
    if (view.palette == nullptr || palette == nullptr) return 0;
    // Keep the picture's colours: each old index goes to the nearest new one.
    uint8_t table[kPaletteEntries];
    for (int i = 0; i < kPaletteEntries; ++i) table[i] = uint8_t(i);
    if (PaletteBuildRemap(table, palette, view.palette, 1)) RemapAllPixels(table);
  }
  cPalette* old = view.palette;
  view.palette = AddRefPalette(palette);
  ReleasePalette(old);
  return 1;
}

int32_t cSurfaceImpl::SetLogPalette(const LogPalette* log, int32_t remap) {
  cPalette* shared = PaletteGetShared(log);
  if (shared == nullptr) return 0;
  const int32_t result = SetPalette(shared, remap);
  ReleasePalette(shared);
  return result;
}

int32_t cSurfaceImpl::SetPaletteFrom(cSurfaceImpl* other, int32_t remap) {
  if (other == nullptr || other->view.depth != 8 || other->view.palette == nullptr) return 0;
  return SetPalette(other->view.palette, remap);
}

int32_t cSurfaceImpl::ReplaceColour(uint32_t newColour, uint32_t oldColour) {
  SurfaceAccess access(*this);
  if (!access.ok()) return 0;
  if (view.depth == 8) {
    const uint8_t from = uint8_t(ColourToIndex(oldColour));
    const uint8_t to = uint8_t(ColourToIndex(newColour));
    for (int32_t y = 0; y < view.height; ++y) {
      uint8_t* row = PixelRow(view, y);
      for (int32_t x = 0; x < view.width; ++x)
        if (row[x] == from) row[x] = to;
    }
    return 1;
  }
  if (view.ops == nullptr || view.ops->ReplaceColour == nullptr) return 0;
  view.ops->ReplaceColour(&view, 0, 0, view.width, view.height, int32_t(view.rowBytes), newColour,
                          oldColour);
  return 1;
}

int32_t cSurfaceImpl::IsEmpty() {
  if (view.alphaFirstRow != nullptr) {
    for (int32_t y = 0; y < view.height; ++y) {
      const uint8_t* row = view.alphaFirstRow + int64_t(y) * view.alphaPitch;
      for (int32_t x = 0; x < view.width; ++x)
        if (row[x] != 0) return 0;
    }
    return 1;
  }
  SurfaceAccess access(*this);
  if (!access.ok()) return 0;
  return IsUniformColour(&view);
}
