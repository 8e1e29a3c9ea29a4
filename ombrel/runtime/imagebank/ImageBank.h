// The image bank: bank row 0 of an application holds its images, in the
// app's pixel format with a hot spot, an action point and a transparent
// colour, reference-counted and optionally shared; rows 2 and 3 hold their
// collision masks, made on demand under the image's id.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"
#include "app/AppObject.h"
#include "surface/ImageEntry.h"
#include "surface/MaskRecord.h"

class cSurfaceHandle;

// ImageCreate flags.
enum ImageCreateFlag : uint32_t {
  kImageSourceCode = 0x000F,    // DepthCode of the source (0: the app's)
  kImageSourceMask = 0x0010,    // a 1-bit mask follows a 4-bit source
  kImageShare = 0x0020,         // share an identical image
  kImageStoreCompressed = 0x0080,
  kImagePackedUnits = 0x0700,   // byte-run packed source: unit flags << 8
  kImageSourceAlpha = 0x1000,   // an alpha plane follows the pixels
  kImageSourceRunLength = 0x4000,  // the source is in the transparency run-length form
};

// The 32-byte image info record.
struct ImageInfo {
  uint32_t checksum;
  int32_t refs;
  uint32_t dataSize;
  uint16_t width;
  uint16_t height;
  uint8_t depthCode;
  uint8_t flags;
  uint16_t unused;
  int16_t hotX, hotY;
  int16_t actionX, actionY;
  uint32_t transparent;
};
static_assert(sizeof(ImageInfo) == 32, "image info record");

// The image entry of an id, null when there is none.
ImageEntry* FindImage(AppObject* app, uint32_t id);
// The transparent colour as an app of that depth code keeps it.
uint32_t SnapColourToApp(const AppObject* app, uint32_t colour);
// An unowned surface over the image's data in the app's format (null when it
// cannot be made); release with DeleteSurface.
cSurfaceImpl* ImageSurface(AppObject* app, const ImageEntry* entry);

// A plain copy (owning its pixels) of a compressed or plain image, the
// pixels the runs leave out holding the transparent colour; null when it
// cannot be made.
cSurfaceImpl* ExpandedImage(AppObject* app, const ImageEntry* entry);

OMB_FLAT int32_t OMB_STDCALL ImageCreate(AppObject* app, int32_t width, int32_t height, int32_t hotX,
                                         int32_t hotY, int32_t actionX, int32_t actionY, uint32_t transparent,
                                         uint32_t flags, const void* pixels, const void* extra);
OMB_FLAT int32_t OMB_STDCALL ImageAddRef(AppObject* app, uint32_t id);
OMB_FLAT int32_t OMB_STDCALL ImageRelease(AppObject* app, uint32_t id);
OMB_FLAT int32_t OMB_STDCALL ImageGetInfo(AppObject* app, uint32_t id, ImageInfo* out);
OMB_FLAT int32_t OMB_STDCALL ImageGetTransformedInfo(AppObject* app, uint32_t id, int32_t angle, float scaleX,
                                                     float scaleY, ImageInfo* out);
OMB_FLAT uint32_t OMB_STDCALL ImageDataSize(int32_t width, int32_t height, uint32_t code);
OMB_FLAT int32_t OMB_STDCALL ImageIsEmpty(AppObject* app, uint32_t id);
OMB_FLAT uint32_t OMB_STDCALL ImageGetData(AppObject* app, uint32_t id, uint32_t options, uint8_t* buffer);
OMB_FLAT int32_t OMB_STDCALL ImageLock(AppObject* app, uint32_t id, cSurfaceHandle* handle, int32_t mode);
OMB_FLAT void OMB_STDCALL ImageUnlock(cSurfaceHandle* handle);
OMB_FLAT CollisionMaskHeader* OMB_STDCALL ImageBuildMask(AppObject* app, uint32_t id, int32_t plane);
OMB_FLAT CollisionMaskHeader* OMB_STDCALL ImageGetMask(AppObject* app, uint32_t id, int32_t plane);
OMB_FLAT int32_t OMB_STDCALL ImageFreeMasks(AppObject* app, uint32_t id);
