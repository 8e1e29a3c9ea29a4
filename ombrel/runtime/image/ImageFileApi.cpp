#include "image/ImageFileApi.h"

#include <algorithm>
#include <cstring>

#include "image/cImageFile.h"
#include "palette/cPalette.h"
#include "plugin/cImagePluginRegistry.h"
#include "stream/cFileSource.h"
#include "surface/SurfaceHandle.h"
#include "surface/SurfaceLibraryApi.h"

namespace {

bool HasPath(const char* path) { return path && *path; }

const PaletteBlock* SurfacePalette(cSurfaceHandle* surface) {
  cPalette* palette = surface->GetDepth() <= 8 ? surface->GetPalette() : nullptr;
  return palette ? &palette->log : nullptr;
}

// Reads the next frame into the surface's own rows (and alpha channel when
// the image has one), then takes the image's transparent colour. A surface
// whose pixels cannot be locked fails.
int32_t ReadInto(cImageFile& file, cSurfaceHandle* surface, const PaletteBlock* palette) {
  uint8_t* bits = surface->LockBuffer();
  if (!bits) return 0;
  uint8_t* alphaRows = nullptr;
  int32_t alphaPitch = 0;
  if (file.HasAlpha() && (surface->HasAlpha() || surface->CreateAlpha())) {
    alphaRows = surface->GetAlphaRows();
    alphaPitch = surface->GetAlphaPitch();
  }
  const int32_t e = file.ReadFrame(bits, surface->GetWidth(), surface->GetHeight(), surface->GetPitch(),
                                   surface->GetDepth(), palette, alphaRows, alphaPitch);
  surface->UnlockBuffer(bits);
  if (e != ImageOk) return 0;
  uint32_t key = 0;
  if (file.GetTransparentColour(&key)) surface->SetTransparentColour(key);
  return 1;
}

// Steps 2 to 7 of a load on an opened file.
int32_t LoadOpened(cImageFile& file, cSurfaceHandle* surface, uint32_t options) {
  const int32_t w = file.GetWidth(), h = file.GetHeight(), d = file.GetDepth();
  if (w < 1 || h < 1) return 0;
  const PaletteBlock* palette = nullptr;
  if (d == surface->GetDepth() || (options & LoadKeepDepth)) {
    if (surface->GetDepth() == 8 && (options & LoadKeepPalette)) palette = SurfacePalette(surface);
  } else {
    cSurfaceHandle* prototype = nullptr;
    GetSurfacePrototype(&prototype, std::max(d, 8), surface->GetType(), surface->GetDriver());
    if (!prototype) return 0;
    surface->Create(w, h, prototype);
    if (!surface->IsValid()) return 0;
  }
  if (surface->GetWidth() != w || surface->GetHeight() != h) {
    cSurfaceHandle small;
    small.Create(4, 4, surface);
    if (!small.IsValid()) return 0;
    surface->Create(w, h, &small);
    if (!surface->IsValid()) return 0;
  }
  if (surface->GetDepth() <= 8 && !(options & LoadKeepPalette) && file.GetPalette())
    surface->SetLogPalette(file.GetPalette(), 0);
  return ReadInto(file, surface, palette);
}

}  // namespace

int32_t ChooseSaveDepth(int32_t surfaceDepth, bool hasAlpha, uint32_t supportedDepths) {
  const int32_t target = hasAlpha ? 32 : surfaceDepth == 8 ? 8 : 24;
  const int32_t order8[] = {8, 24, 32}, order24[] = {24, 32, 8}, order32[] = {32, 24, 8};
  const int32_t* order = target == 8 ? order8 : target == 24 ? order24 : order32;
  for (int i = 0; i < 3; ++i) {
    const uint32_t bit = order[i] == 8 ? 4u : order[i] == 24 ? 32u : 64u;
    if (supportedDepths & bit) return order[i];
  }
  return 0;
}

OMB_FLAT int32_t OMB_STDCALL ImageFileLoadStream(cImagePluginRegistry* registry, cByteSource* source,
                                                 cSurfaceHandle* surface, uint32_t* formatOut, uint32_t options) {
  if (formatOut) *formatOut = 0;
  if (!registry || !source || !surface) return 0;
  cImageFile file(registry);
  int32_t result = 0;
  if (file.OpenReadStream(source) == ImageOk) result = LoadOpened(file, surface, options);
  if (formatOut) *formatOut = file.GetFilterID();
  file.Close();
  return result;
}

OMB_FLAT int32_t OMB_STDCALL ImageFileLoad(cImagePluginRegistry* registry, const char* path, cSurfaceHandle* surface,
                                           uint32_t* formatOut, uint32_t options) {
  if (formatOut) *formatOut = 0;
  if (!HasPath(path)) return 0;
  cFileSource source;
  if (source.Open(path) != LibOk) return 0;
  return ImageFileLoadStream(registry, &source, surface, formatOut, options);
}

OMB_FLAT int32_t OMB_STDCALL ImageFileCanRead(cImagePluginRegistry* registry, const char* path) {
  if (!registry || !HasPath(path)) return 0;
  cImageFile file(registry);
  const int32_t ok = file.OpenRead(path) == ImageOk;
  file.Close();
  return ok;
}

OMB_FLAT int32_t OMB_STDCALL ImageFileGetPalette(cImagePluginRegistry* registry, const char* path, PaletteBlock* out) {
  if (!registry || !HasPath(path) || !out) return 0;
  cImageFile file(registry);
  int32_t ok = 0;
  if (file.OpenRead(path) == ImageOk && file.GetDepth() <= 8 && file.GetPalette()) {
    const PaletteBlock* palette = file.GetPalette();
    const uint32_t count = std::min<uint32_t>(palette->count, kPaletteEntries);
    std::memcpy(out, palette, 4 + 4 * count);
    out->count = static_cast<uint16_t>(count);
    ok = 1;
  }
  file.Close();
  return ok;
}

OMB_FLAT int32_t OMB_STDCALL ImageFileIsStill(cImagePluginRegistry* registry, const char* path, int32_t* still) {
  if (still) *still = 0;
  if (!registry || !HasPath(path)) return 0;
  cImageFile file(registry);
  const bool opened = file.OpenRead(path) == ImageOk;
  if (opened && still) *still = file.IsAnimation() ? 0 : 1;
  file.Close();
  return opened ? 1 : 0;
}

OMB_FLAT int32_t OMB_STDCALL ImageFileSave(cImagePluginRegistry* registry, const char* path, cSurfaceHandle* surface,
                                           uint32_t formatId) {
  if (!registry || !surface || !surface->IsValid() || !HasPath(path)) return 0;
  cImageFile file(registry);
  if (!file.SelectFilterById(formatId ? formatId : kDefaultSaveFormat) || !file.CanWriteImages()) return 0;
  const int32_t depth = ChooseSaveDepth(surface->GetDepth(), surface->HasAlpha() != 0, file.GetSupportedDepths());
  if (depth == 0) return 0;
  cSurfaceHandle temporary;
  cSurfaceHandle* source = surface;
  if (depth != surface->GetDepth()) {
    cSurfaceHandle* prototype = nullptr;
    GetSurfacePrototype(&prototype, depth, SurfaceTypeMemory, 0);
    if (!prototype) return 0;
    temporary.Create(surface->GetWidth(), surface->GetHeight(), prototype);
    if (!temporary.IsValid()) return 0;
    temporary.SetTransparentColour(surface->GetTransparentColour());
    if (surface->HasAlpha()) temporary.CreateAlpha();
    surface->CopyTo(&temporary);
    source = &temporary;
  }
  uint8_t* bits = source->LockBuffer();
  if (!bits) return 0;
  const uint32_t key = source->GetTransparentColour();
  const bool alpha = source->HasAlpha() != 0;
  const int32_t e = file.SaveToFile(path, bits, source->GetWidth(), source->GetHeight(), depth, source->GetPitch(),
                                    SurfacePalette(source), alpha ? static_cast<const void*>(source->GetAlphaRows()) : &key,
                                    alpha ? source->GetAlphaPitch() : 0);
  source->UnlockBuffer(bits);
  return e == ImageOk ? 1 : 0;
}

OMB_FLAT int32_t OMB_STDCALL ImageFileOpen(void*, const char* path, cSurfaceHandle* surface, cImageFile* file,
                                           uint32_t options) {
  if (!file || !surface || !HasPath(path)) return 0;
  if (file->OpenRead(path) != ImageOk) return 0;
  if (LoadOpened(*file, surface, options)) return 1;
  file->Close();
  return 0;
}

OMB_FLAT int32_t OMB_STDCALL ImageFileReadFrame(void*, cSurfaceHandle* surface, cImageFile* file) {
  if (!file || !surface || !surface->IsValid()) return 0;
  return ReadInto(*file, surface, nullptr);
}

OMB_FLAT void OMB_STDCALL ImageFileClose(void*, cImageFile* file) {
  if (file) file->Close();
}

OMB_FLAT int32_t OMB_STDCALL ImageFileCreate(void*, const char* path, cSurfaceHandle* surface, cImageFile* file,
                                             uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  if (!file || !surface || !surface->IsValid() || !HasPath(path)) return 0;
  if (file->OpenWrite(path, surface->GetWidth(), surface->GetHeight(), surface->GetDepth(), a, b, c, d, 0, 0) !=
      ImageOk)
    return 0;
  uint8_t* bits = surface->LockBuffer();
  if (!bits) return 0;  // the file stays open for the caller to close
  const int32_t e = file->WriteFrame(bits, surface->GetWidth(), surface->GetHeight(), surface->GetPitch(),
                                     surface->GetDepth(), SurfacePalette(surface), 0, 0, b, 1);
  surface->UnlockBuffer(bits);
  if (e == ImageOk) return 1;
  file->Close();
  return 0;
}

OMB_FLAT int32_t OMB_STDCALL ImageFileWriteFrame(void*, cSurfaceHandle* surface, cImageFile* file, uint32_t value) {
  if (!file || !surface || !surface->IsValid()) return 0;
  uint8_t* bits = surface->LockBuffer();
  if (!bits) return 0;
  const int32_t e = file->WriteFrame(bits, surface->GetWidth(), surface->GetHeight(), surface->GetPitch(),
                                     surface->GetDepth(), nullptr, 0, 0, value, 1);
  surface->UnlockBuffer(bits);
  return e == ImageOk ? 1 : 0;
}
