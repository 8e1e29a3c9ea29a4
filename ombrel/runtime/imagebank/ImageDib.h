// Images and device-independent bitmaps: headers of the DIB an image gives,
// images made from DIBs, DIBs filled or put on the app palette, and an
// image stretched into a caller's pixel buffer.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"
#include "app/AppObject.h"
#include "imagebank/ImageBank.h"
#include "surface/BitmapInfoHeader.h"

// Total bytes of a DIB of that depth code and size (header, colour table,
// rows); with `out`, its header and default colour table are written.
OMB_FLAT uint32_t OMB_STDCALL ImageMakeDIBHeader(AppObject* app, int32_t code, int32_t width, int32_t height,
                                                 BitmapInfoHeader* out);
OMB_FLAT void OMB_STDCALL DibFill(BitmapInfoHeader* dib, uint32_t colour);
OMB_FLAT void OMB_STDCALL DibUseAppPalette(BitmapInfoHeader* dib, AppObject* app, const uint8_t* table);
// With a null `out` the DIB's total size; otherwise the blit's result.
OMB_FLAT int32_t OMB_STDCALL ImageGetDIB(AppObject* app, uint32_t id, int32_t code, BitmapInfoHeader* out);
OMB_FLAT int32_t OMB_STDCALL ImageAddDIBEx(AppObject* app, const ImageInfo* info, const BitmapInfoHeader* dib,
                                           uint32_t transparent, uint32_t options);
OMB_FLAT int32_t OMB_STDCALL ImageAddDIB(AppObject* app, const ImageInfo* info, const BitmapInfoHeader* dib);
OMB_FLAT void OMB_STDCALL ImageRender(AppObject* app, uint32_t id, int32_t width, int32_t height, void* pixels);
