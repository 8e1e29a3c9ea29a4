// The flat image file family: loading image files into surfaces, saving
// surfaces, queries, and animations frame by frame, each through a
// cImageFile on an image plug-in registry. Results are 1/0.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"
#include "image/cImageFilter.h"

class cByteSource;
class cImageFile;
class cImagePluginRegistry;
class cSurfaceHandle;

// Options of the loading functions.
enum : uint32_t {
  LoadKeepDepth = 1,    // the surface keeps its own depth
  LoadKeepPalette = 2,  // an 8-bit surface keeps its own palette
};

inline constexpr uint32_t kDefaultSaveFormat = 0x20504D42;  // "BMP "

// The depth a surface is saved at: 32 with an alpha channel, else 8 for an
// 8-bit surface, else 24; then the first the filter supports in the order
// 8: 24, 32 / 24: 32, 8 / 32: 24, 8. 0 when it supports none of them.
int32_t ChooseSaveDepth(int32_t surfaceDepth, bool hasAlpha, uint32_t supportedDepths);

OMB_FLAT int32_t OMB_STDCALL ImageFileLoad(cImagePluginRegistry* registry, const char* path, cSurfaceHandle* surface,
                                           uint32_t* formatOut, uint32_t options);
OMB_FLAT int32_t OMB_STDCALL ImageFileLoadStream(cImagePluginRegistry* registry, cByteSource* source,
                                                 cSurfaceHandle* surface, uint32_t* formatOut, uint32_t options);
OMB_FLAT int32_t OMB_STDCALL ImageFileCanRead(cImagePluginRegistry* registry, const char* path);
OMB_FLAT int32_t OMB_STDCALL ImageFileGetPalette(cImagePluginRegistry* registry, const char* path,
                                                 PaletteBlock* out);
OMB_FLAT int32_t OMB_STDCALL ImageFileSave(cImagePluginRegistry* registry, const char* path, cSurfaceHandle* surface,
                                           uint32_t formatId);
OMB_FLAT int32_t OMB_STDCALL ImageFileIsStill(cImagePluginRegistry* registry, const char* path, int32_t* still);
OMB_FLAT int32_t OMB_STDCALL ImageFileOpen(void* ignored, const char* path, cSurfaceHandle* surface, cImageFile* file,
                                           uint32_t options);
OMB_FLAT int32_t OMB_STDCALL ImageFileReadFrame(void* ignored, cSurfaceHandle* surface, cImageFile* file);
OMB_FLAT void OMB_STDCALL ImageFileClose(void* ignored, cImageFile* file);
OMB_FLAT int32_t OMB_STDCALL ImageFileCreate(void* ignored, const char* path, cSurfaceHandle* surface,
                                             cImageFile* file, uint32_t a, uint32_t b, uint32_t c, uint32_t d);
OMB_FLAT int32_t OMB_STDCALL ImageFileWriteFrame(void* ignored, cSurfaceHandle* surface, cImageFile* file,
                                                 uint32_t value);
