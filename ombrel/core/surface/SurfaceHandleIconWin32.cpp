// The surface handle's members that need the platform: bitmap resources and
// icons made from a surface.
#include <windows.h>

#include <cstring>
#include <vector>

#include "surface/DibLayout.h"
#include "surface/SurfaceHandle.h"
#include "surface/cMemSurface.h"

int32_t cSurfaceHandle::LoadBMPResource(void* instance, uint32_t number, uint32_t options) {
  HMODULE module = static_cast<HMODULE>(instance);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(number), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
  if (found == nullptr) return 0;
  HGLOBAL loaded = LoadResource(module, found);
  const auto* header = loaded != nullptr ? static_cast<const BitmapInfoHeader*>(LockResource(loaded)) : nullptr;
  if (header == nullptr) return 0;
  // The resource must hold what its header says.
  const DWORD size = SizeofResource(module, found);
  DibLayout layout{};
  if (size < sizeof(BitmapInfoHeader) || CheckDibHeader(*header, &layout) != LibOk ||
      layout.blockBytes > int64_t(size)) {
    lastError = ErrInvalidData;
    return 0;
  }
  return CreateFromBitmapInfo(header, nullptr, options);
}

void* cSurfaceHandle::CreateIcon(int32_t width, int32_t height, uint32_t key,
                                 const SurfacePoint* hotSpot) {
  const int32_t w = width != 0 ? width : GetSystemMetrics(SM_CXICON);
  const int32_t h = height != 0 ? height : GetSystemMetrics(SM_CYICON);
  if (w <= 0 || h <= 0) return nullptr;
  cMemSurface* prototype = cMemSurface::CreatePrototype(24);
  cSurfaceHandle picture;
  picture.impl = prototype != nullptr ? prototype->MakeInstance(w, h) : nullptr;
  if (prototype != nullptr) prototype->Delete(1);
  if (picture.impl == nullptr) return nullptr;
  picture.FillAll(key);
  cSurfaceImpl* s = Impl();
  const int32_t sw = s->view.width, sh = s->view.height;
  if (sw > w || sh > h) {
    // Shrunk into the centre keeping the proportions, resampled with the key.
    int32_t nw = w, nh = h;
    if (int64_t(sh) * 256 / h < int64_t(sw) * 256 / w)
      nh = int32_t(int64_t(w) * sh / sw);
    else
      nw = int32_t(int64_t(sw) * h / sh);
    nw = nw < 1 ? 1 : nw;
    nh = nh < 1 ? 1 : nh;
    s->Stretch(picture.impl, (w - nw) / 2, (h - nh) / 2, nw, nh, 0, 0, sw, sh, BlitOpaque, 0, 0,
               StretchResample | StretchResampleKeyed);
  } else {
    s->Blit(picture.impl, (w - sw) / 2, (h - sh) / 2, 0, 0, sw, sh, BlitOpaque, 0, 0, 0);
  }
  std::vector<uint8_t> dib(picture.GetDibSize());
  auto* header = reinterpret_cast<BitmapInfoHeader*>(dib.data());
  uint8_t* bits = dib.data() + sizeof(BitmapInfoHeader);
  if (!picture.SaveDIB(header, bits, 0)) return nullptr;
  // Key pixels: black in the picture, 1 in the mask (rows top first, padded
  // to 2 bytes).
  const int64_t rowBytes = DibRowBytes64(w, 24);
  const int32_t maskRow = ((w + 15) / 16) * 2;
  std::vector<uint8_t> mask(size_t(maskRow) * h, 0);
  const uint8_t kb = uint8_t(key >> 16), kg = uint8_t(key >> 8), kr = uint8_t(key);
  for (int32_t y = 0; y < h; ++y) {
    uint8_t* row = bits + (h - 1 - y) * rowBytes;  // the DIB is bottom-up
    for (int32_t x = 0; x < w; ++x) {
      uint8_t* p = row + 3 * x;
      if (p[0] == kb && p[1] == kg && p[2] == kr) {
        p[0] = p[1] = p[2] = 0;
        mask[size_t(y) * maskRow + x / 8] |= uint8_t(0x80 >> (x % 8));
      }
    }
  }
  HBITMAP maskBitmap = CreateBitmap(w, h, 1, 1, mask.data());
  if (maskBitmap == nullptr) return nullptr;
  HDC screen = ::GetDC(nullptr);
  HBITMAP colour = CreateCompatibleBitmap(screen, w, h);
  if (colour != nullptr)
    SetDIBits(screen, colour, 0, UINT(h), bits, reinterpret_cast<BITMAPINFO*>(header), DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  ICONINFO info{};
  info.fIcon = hotSpot == nullptr ? TRUE : FALSE;
  info.xHotspot = hotSpot != nullptr ? DWORD(hotSpot->x) : 0;
  info.yHotspot = hotSpot != nullptr ? DWORD(hotSpot->y) : 0;
  info.hbmMask = maskBitmap;
  info.hbmColor = colour;
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(maskBitmap);
  if (colour != nullptr) DeleteObject(colour);
  return icon;
}
