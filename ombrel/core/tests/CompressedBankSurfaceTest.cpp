// A compressed bank image against its uncompressed twin, member by member:
// every surface-handle member and every slot gives what the twin gives (the
// compressed image is read through an expanded copy), or refuses with 0 and
// leaves the run-length block as it was. Run under the sanitizers, a member
// that reads the block as rows reports there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "paint/cPaintSolid.h"
#include "paint/cPaintTile.h"
#include "palette/PaletteApi.h"
#include "palette/cPalette.h"
#include "pixel/RunLengthRows.h"
#include "surface/SurfaceAlloc.h"
#include "surface/SurfaceHandle.h"
#include "surface/cBankImageSurface.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr int32_t kW = 23, kH = 9;

uint64_t Hash(const uint8_t* p, size_t n, uint64_t h = 1469598103934665603ull) {
  for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
  return h;
}

// The pixels of a surface, read through a blit into an ordinary copy (so a
// compressed one is read as its expanded copy).
Bytes PixelsOf(cSurfaceImpl* s) {
  Bytes out;
  cSurfaceImpl* copy = s->MakeInstance(s->view.width, s->view.height);
  if (copy == nullptr) return out;
  s->Blit(copy, 0, 0, 0, 0, s->view.width, s->view.height, BlitOpaque, 0, 0, 0);
  const size_t rowBytes = size_t(copy->view.width) * copy->view.bytesPerPixel;
  for (int32_t y = 0; y < copy->view.height; ++y) {
    const uint8_t* row = copy->view.firstRow + int64_t(y) * copy->view.pitch;
    out.insert(out.end(), row, row + rowBytes);
  }
  DeleteSurface(copy);
  return out;
}

uint64_t HashOf(cSurfaceImpl* s) {
  const Bytes b = PixelsOf(s);
  return Hash(b.data(), b.size());
}

uint32_t OMB_STDCALL Mix(uint32_t d, uint32_t s, uint32_t user) { return (d >> 1) ^ s ^ user; }
uint32_t OMB_STDCALL Kernel(const uint32_t* back, const uint32_t* src, uint32_t user) {
  return (src[4] ^ back[0] ^ src[8]) + user;
}

// What one member answered: its result and a digest of what it produced.
struct Answer {
  int64_t result = 0;
  uint64_t digest = 0;
  bool operator==(const Answer& o) const { return result == o.result && digest == o.digest; }
};

// The surface a row works on, and what it may need besides.
struct Subject {
  cSurfaceHandle& handle;
  cBankImageSurface* impl;
  cSurfaceHandle& other;  // an ordinary surface of the same format and size, fixed content
  cPalette* palette2;     // another palette (8 bits)
  // A fresh destination of the subject's format, filled with a fixed pattern.
  cSurfaceImpl* Dest(cSurfaceHandle& into, int32_t w = kW, int32_t h = kH) {
    cSurfaceImpl* d = into.Create(w, h, &other);
    if (d == nullptr) return nullptr;
    d->FillRect(0, 0, w, h, 0);  // every byte set: a new instance's buffer is not
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) d->SetPixel(x, y, uint32_t(x * 40 + y * 7) * 0x010305u);
    d->SetTransparentColour(impl->view.transparentColour);
    return d;
  }
  Answer Into(int64_t result, cSurfaceHandle& dest) {
    return Answer{result, HashOf(cSurfaceHandle::GetImpl(&dest))};
  }
};

enum class Expect { Same, Refused };

struct Row {
  const char* name;
  Expect expect;
  std::function<Answer(Subject&)> run;
};

std::vector<Row> Rows() {
  using S = Subject&;
  auto blit = [](int32_t mode, uint32_t effect, uint32_t param, uint32_t flags) {
    return [=](S s) {
      cSurfaceHandle d;
      s.Dest(d);
      return s.Into(s.handle.Blit(&d, -2, 1, 3, 0, 19, 8, mode, effect, param, flags), d);
    };
  };
  auto stretch = [](int32_t dw, int32_t dh, int32_t mode, uint32_t flags) {
    return [=](S s) {
      cSurfaceHandle d;
      s.Dest(d, 40, 20);
      return s.Into(s.handle.Stretch(&d, 1, -1, dw, dh, 2, 1, 17, 7, mode, 0, 0, flags), d);
    };
  };
  auto pixel = [](int32_t x, int32_t y) {
    return [=](S s) {
      uint32_t c = 0x5A5A5A5A, n = 0xA5A5A5A5;
      uint8_t r = 1, g = 2, b = 3;
      const int32_t a = s.handle.GetPixel(x, y, &c), bb = s.handle.GetPixelNative(x, y, &n);
      const int32_t rgb = s.handle.GetPixelRGB(x, y, &r, &g, &b);
      return Answer{a * 4 + bb * 2 + rgb, uint64_t(c) << 32 ^ n ^ uint64_t(r | g << 8 | b << 16) << 8};
    };
  };
  // A write member: what it answers, then the surface's pixels.
  auto write = [](std::function<int64_t(S)> f) {
    return [f](S s) {
      const int64_t r = f(s);
      return Answer{r, HashOf(s.impl)};
    };
  };
  return {
      // Reads and copies: the expanded copy's answers.
      {"GetPixel at a corner", Expect::Same, pixel(0, 0)},
      {"GetPixel inside", Expect::Same, pixel(11, 4)},
      {"GetPixel at the far corner", Expect::Same, pixel(kW - 1, kH - 1)},
      {"GetPixel outside", Expect::Same, pixel(kW, 0)},
      {"Blit opaque", Expect::Same, blit(BlitOpaque, 0, 0, 0)},
      {"Blit keyed", Expect::Same, blit(BlitKeyed, 0, 0, 0)},
      {"Blit keyed blend", Expect::Same, blit(BlitKeyed, 1, 40, 0)},
      {"Blit opaque add", Expect::Same, blit(BlitOpaque, 9, 0, 0)},
      {"Blit keyed xor", Expect::Same, blit(BlitKeyed, 3, 0, 0)},
      {"Blit with alpha", Expect::Same, blit(BlitOpaque, 0, 0, BlitWithAlpha)},
      {"Blit smoothing edges", Expect::Same, blit(BlitKeyed, 0, 0, BlitSmoothEdges)},
      {"Blit refused effect 7", Expect::Same, blit(BlitKeyed, 7, 0, 0)},
      {"BlitAt", Expect::Same,
       [](S s) {
         cSurfaceHandle d;
         s.Dest(d);
         return s.Into(s.handle.BlitAt(&d, 3, -2, BlitKeyed, 0, 0, 0), d);
       }},
      {"CopyTo", Expect::Same,
       [](S s) {
         cSurfaceHandle d;
         s.Dest(d);
         return s.Into(s.handle.CopyTo(&d), d);
       }},
      {"BlitCallback keyed", Expect::Same,
       [](S s) {
         cSurfaceHandle d;
         s.Dest(d);
         return s.Into(s.handle.BlitCallback(&d, 1, 1, 2, 0, 15, 7, BlitKeyed, &Mix, 0x121212), d);
       }},
      {"BlitCallbackAll", Expect::Same,
       [](S s) {
         cSurfaceHandle d;
         s.Dest(d);
         return s.Into(s.handle.BlitCallbackAll(&d, &Mix, 0x030303, BlitOpaque), d);
       }},
      {"FilterBlit", Expect::Same,
       [](S s) {
         cSurfaceHandle d;
         s.Dest(d);
         return s.Into(s.handle.FilterBlit(&d, 0, 0, 1, 1, 20, 7, 3, 3, 1, 1,
                                           reinterpret_cast<FilterCallback>(&Kernel), 5),
                       d);
       }},
      {"Stretch nearest", Expect::Same, stretch(37, 19, BlitOpaque, 0)},
      {"Stretch nearest keyed", Expect::Same, stretch(30, 12, BlitKeyed, 0)},
      {"Stretch resampled", Expect::Same, stretch(33, 15, BlitOpaque, StretchResample)},
      {"Stretch resampled keyed", Expect::Same,
       stretch(12, 5, BlitKeyed, StretchResampleKeyed | StretchWithAlpha)},
      {"StretchTo", Expect::Same,
       [](S s) {
         cSurfaceHandle d;
         s.Dest(d, 40, 20);
         return s.Into(s.handle.StretchTo(&d, 0, 0, 40, 20, BlitKeyed, 0, 0, 0), d);
       }},
      {"StretchAll", Expect::Same,
       [](S s) {
         cSurfaceHandle d;
         s.Dest(d, 11, 30);
         return s.Into(s.handle.StretchAll(&d, StretchResample), d);
       }},
      {"RotateQuarter", Expect::Same,
       [](S s) {
         cSurfaceHandle d;
         s.Dest(d, kH, kW);
         return s.Into(s.handle.RotateQuarter(&d, 1), d);
       }},
      {"Rotate 30 degrees", Expect::Same,
       [](S s) {
         cSurfaceHandle d;
         s.Dest(d);
         return s.Into(s.handle.Rotate(&d, 30, 1, 0x00102030, 1), d);
       }},
      {"Rotate half a turn", Expect::Same,
       [](S s) {
         cSurfaceHandle d;
         s.Dest(d);
         return s.Into(s.handle.Rotate(&d, 180, 0, 0, 0), d);
       }},
      {"CreateRotated 45 degrees", Expect::Same,
       [](S s) {
         cSurfaceHandle d;
         const int32_t r = s.handle.CreateRotated(&d, 45, 0, 0x00445566, 0);
         return s.Into(r, d);
       }},
      {"CreateRotated 270 degrees", Expect::Same,
       [](S s) {
         cSurfaceHandle d;
         const int32_t r = s.handle.CreateRotated(&d, 270, 0, 0, 0);
         return s.Into(r, d);
       }},
      {"Collides as this surface", Expect::Same,
       [](S s) {
         return Answer{s.handle.Collides(&s.other, 0, 0, 0, 0, kW, kH) * 2 +
                           s.handle.Collides(&s.other, 2, 1, 0, 3, 10, 4),
                       0};
       }},
      {"Collides as the other surface", Expect::Same,
       [](S s) {
         return Answer{s.other.Collides(&s.handle, 0, 0, 0, 0, kW, kH) * 2 +
                           s.other.Collides(&s.handle, 5, 2, 1, 0, 12, 5),
                       0};
       }},
      {"GetContentBox", Expect::Same,
       [](S s) {
         SurfaceRect box{-1, -1, -1, -1};
         const int32_t r = s.handle.GetContentBox(&box);
         return Answer{r, Hash(reinterpret_cast<const uint8_t*>(&box), sizeof box)};
       }},
      {"IsEmpty", Expect::Same, [](S s) { return Answer{s.handle.IsEmpty(), 0}; }},
      {"BuildCollisionMask", Expect::Same,
       [](S s) {
         const uint32_t size = s.handle.BuildCollisionMask(nullptr, 0);
         Bytes mask(size, 0xEE);
         const uint32_t r = s.handle.BuildCollisionMask(mask.data(), 0);
         return Answer{int64_t(size) << 32 | r, Hash(mask.data(), mask.size())};
       }},
      {"BuildCollisionMask top edge", Expect::Same,
       [](S s) {
         Bytes mask(s.handle.BuildCollisionMask(nullptr, 0), 0xEE);
         const uint32_t r = s.handle.BuildCollisionMask(mask.data(), 1);
         return Answer{r, Hash(mask.data(), mask.size())};
       }},
      {"CopyFrom at its size", Expect::Same,
       [](S s) {
         cSurfaceHandle d;
         return s.Into(d.CopyFrom(&s.handle, -1, -1), d);
       }},
      {"CopyFrom stretched", Expect::Same,
       [](S s) {
         cSurfaceHandle d;
         return s.Into(d.CopyFrom(&s.handle, 31, 4), d);
       }},
      {"copy constructor", Expect::Same,
       [](S s) {
         cSurfaceHandle d(s.handle);
         return s.Into(d.IsValid(), d);
       }},
      {"CropToContent", Expect::Same,
       [](S s) {
         SurfaceRect box{};
         const int32_t r = s.handle.CropToContent(&box);
         return Answer{r, HashOf(cSurfaceHandle::GetImpl(&s.handle)) ^ uint64_t(box.right) << 8 ^
                              uint64_t(box.bottom)};
       }},
      {"SaveDIB", Expect::Same,
       [](S s) {
         Bytes dib(s.handle.GetDibSize(), 0xEE);
         const int32_t r = s.handle.SaveDIB(reinterpret_cast<BitmapInfoHeader*>(dib.data()), nullptr, 0);
         return Answer{r, Hash(dib.data(), dib.size())};
       }},
      {"a tile paint drawing it", Expect::Same,
       [](S s) {
         cSurfaceHandle d;
         s.Dest(d, 40, 20);
         cPaintTile tile(&s.handle, 3, -2);
         return s.Into(d.FillAllPaint(&tile), d);
       }},
      {"information", Expect::Same,
       [](S s) {
         int32_t w = 0, h = 0, d = 0;
         const int32_t r = s.handle.GetInfo(&w, &h, &d);
         return Answer{r, uint64_t(w) << 40 ^ uint64_t(h) << 20 ^ uint64_t(d) ^
                              uint64_t(s.handle.GetTransparentNative()) << 24 ^
                              s.handle.GetTransparentColour() ^ uint64_t(s.handle.GetDibSize()) << 3};
       }},
      // The runs keep which pixels are transparent: only the key changes.
      {"SetTransparentColour", Expect::Same,
       [](S s) {
         s.handle.SetTransparentColour(0x00F0E0D0);
         return Answer{s.handle.GetTransparentNative(), s.handle.GetTransparentColour()};
       }},
      {"SetPalette keeping the indices", Expect::Same,
       write([](S s) { return int64_t(s.handle.SetPalette(s.palette2, 0)) * 2 + s.handle.GetLastError(); })},
      {"MakeInstance", Expect::Same,
       [](S s) {
         cSurfaceImpl* made = s.impl->MakeInstance(7, 3);
         const Answer a{made != nullptr ? made->IsCompressed() * 2 + 1 : 0,
                        made != nullptr ? uint64_t(made->view.pitch) : 0};
         DeleteSurface(made);
         return a;
       }},

      // Members that write pixels, hand out rows or read the block as rows:
      // 0 (or nothing done) on a compressed image.
      {"SetPixel", Expect::Refused, write([](S s) {
         s.handle.SetPixel(3, 3, 0x00FFFFFF);
         s.handle.SetPixelRGB(4, 3, 1, 2, 3);
         s.handle.PutIndex(5, 3, 7);
         return int64_t(0);
       })},
      {"FillRect", Expect::Refused, write([](S s) { return int64_t(s.handle.FillRect(1, 1, 5, 5, 0x00808080)); })},
      {"FillRectRGB", Expect::Refused,
       write([](S s) { return int64_t(s.handle.FillRectRGB(0, 0, 4, 4, 9, 8, 7)); })},
      {"FillRectIndex", Expect::Refused, write([](S s) { return int64_t(s.handle.FillRectIndex(2, 0, 6, 2, 3)); })},
      {"FillAll", Expect::Refused, write([](S s) { return int64_t(s.handle.FillAll(0x00123456)); })},
      {"FillAllRGB", Expect::Refused, write([](S s) { return int64_t(s.handle.FillAllRGB(1, 1, 1)); })},
      {"FillAllIndex", Expect::Refused, write([](S s) { return int64_t(s.handle.FillAllIndex(4)); })},
      {"FillRectPaint", Expect::Refused, write([](S s) {
         cPaintSolid paint(0x00FF8040);
         return int64_t(s.handle.FillRectPaint(1, 1, 10, 5, &paint));
       })},
      {"FillAllPaint with a tile", Expect::Refused, write([](S s) {
         cPaintTile tile(&s.other, 1, 2);
         return int64_t(s.handle.FillAllPaint(&tile));
       })},
      {"MoveRect", Expect::Refused, write([](S s) { return int64_t(s.handle.MoveRect(0, 0, 3, 2, 10, 5)); })},
      {"MirrorX", Expect::Refused, write([](S s) { return int64_t(s.handle.MirrorX(1, 0, 9, 9)); })},
      {"MirrorXAll", Expect::Refused, write([](S s) { return int64_t(s.handle.MirrorXAll()); })},
      {"MirrorY", Expect::Refused, write([](S s) { return int64_t(s.handle.MirrorY(0, 1, 9, 5)); })},
      {"MirrorYAll", Expect::Refused, write([](S s) { return int64_t(s.handle.MirrorYAll()); })},
      {"ReplaceColour", Expect::Refused,
       write([](S s) { return int64_t(s.handle.ReplaceColour(0x00FFFFFF, s.handle.GetTransparentColour())); })},
      {"Line", Expect::Refused, write([](S s) { return int64_t(s.handle.Line(0, 0, 20, 8, 1, 0x00FFFFFF)); })},
      {"Rectangle", Expect::Refused,
       write([](S s) { return int64_t(s.handle.Rectangle(1, 1, 15, 7, 0x00FFFFFF, 1, 0x00808080, 1)); })},
      {"FloodFill", Expect::Refused,
       write([](S s) {
         int32_t l = 0, t = 0, r = 0, b = 0;
         return int64_t(s.handle.FloodFill(6, 4, &l, &t, &r, &b, 0x00FFFFFF, 0, 0, 0, 0, 0));
       })},
      {"FloodFill with an effect", Expect::Refused,
       write([](S s) { return int64_t(s.handle.FloodFillSimple(2, 2, 0x00FFFFFF, 0, 30, 0, 1, 64)); })},
      {"LockBuffer and GetPitch", Expect::Refused,
       [](S s) {
         uint8_t* rows = s.handle.LockBuffer();
         s.handle.UnlockBuffer(rows);
         return Answer{(rows != nullptr ? 1 : 0) + s.handle.GetPitch(), 0};
       }},
      {"buffer reads", Expect::Refused,
       [](S s) {
         int64_t r = 0;
         for (int32_t y = 0; y < kH; ++y)
           for (int32_t x = 0; x < kW; ++x) r |= s.handle.GetBufferPixel(x, y) | s.handle.GetBufferIndex(x, y);
         return Answer{r, 0};
       }},
      {"buffer writes", Expect::Refused, write([](S s) {
         for (int32_t x = 0; x < kW; ++x) {
           s.handle.SetBufferPixel(x, 1, 0x00FFFFFF);
           s.handle.SetBufferIndex(x, 2, 5);
         }
         return int64_t(0);
       })},
      {"Blit into it", Expect::Refused,
       write([](S s) { return int64_t(s.other.Blit(&s.handle, 0, 0, 0, 0, kW, kH, BlitOpaque, 0, 0, 0)); })},
      {"Stretch into it", Expect::Refused,
       write([](S s) { return int64_t(s.other.Stretch(&s.handle, 0, 0, kW, kH, 0, 0, 9, 4, BlitOpaque, 0, 0, 0)); })},
      {"BlitCallback into it", Expect::Refused,
       write([](S s) { return int64_t(s.other.BlitCallbackAll(&s.handle, &Mix, 1, BlitOpaque)); })},
      {"FilterBlit into it", Expect::Refused,
       write([](S s) {
         return int64_t(s.other.FilterBlit(&s.handle, 0, 0, 0, 0, kW, kH, 3, 3, 1, 1,
                                           reinterpret_cast<FilterCallback>(&Kernel), 0));
       })},
      {"Rotate into it", Expect::Refused,
       write([](S s) { return int64_t(s.other.Rotate(&s.handle, 20, 0, 0, 0)); })},
      {"Rotate half a turn into it", Expect::Refused,
       write([](S s) { return int64_t(s.other.Rotate(&s.handle, 180, 0, 0, 0)); })},
      {"RotateQuarter into it", Expect::Refused,
       write([](S s) {
         cSurfaceHandle square;
         cSurfaceImpl* q = square.Create(kH, kH, &s.other);
         return int64_t(q != nullptr ? square.RotateQuarter(&s.handle, 0) : -1);
       })},
      {"RemapIndices", Expect::Refused, write([](S s) {
         uint8_t table[256];
         for (int i = 0; i < 256; ++i) table[i] = uint8_t(255 - i);
         s.handle.RemapIndices(table);
         return int64_t(0);
       })},
      {"RemapToPaletteOf", Expect::Refused, write([](S s) {
         cSurfaceHandle p;
         p.Create(1, 1, &s.other);
         p.SetPalette(s.palette2, 0);
         s.handle.RemapToPaletteOf(&p);
         return int64_t(0);
       })},
      {"SetPalette with a remap", Expect::Refused,
       write([](S s) { return int64_t(s.handle.SetPalette(s.palette2, 1)); })},

      // Slots the handle does not reach.
      // (The twin's pixels are not read afterwards: its buffer has the old depth's size.)
      {"SetDepth", Expect::Refused,
       [](S s) {
         s.impl->SetDepth(s.impl->view.depth == 8 ? 16 : 8);
         return Answer{s.impl->view.depth != s.other.GetDepth(), 0};
       }},
      {"SetDepthAndPalette", Expect::Refused,
       [](S s) { return Answer{s.impl->SetDepthAndPalette(s.impl->view.depth == 8 ? 16 : 8), 0}; }},
      {"Reallocate", Expect::Refused, write([](S s) { return int64_t(s.impl->Reallocate(4, 4)); })},
      {"RemapToPalette", Expect::Refused, write([](S s) {
         s.impl->RemapToPalette(s.palette2);
         return int64_t(0);
       })},
      {"GetPixelFast", Expect::Refused,
       [](S s) {
         int64_t r = 0;
         for (int32_t y = 0; y < kH; ++y)
           for (int32_t x = 0; x < kW; ++x) r |= s.impl->GetPixelFast(x, y);
         return Answer{r, 0};
       }},
      {"GetDataSize, CopyData, PackedSize, Pack", Expect::Refused,
       [](S s) {
         Bytes out(4096, 0xEE);
         const int64_t r = int64_t(s.impl->GetDataSize()) + s.impl->CopyData(out.data()) +
                           s.impl->PackedSize(2) + s.impl->Pack(out.data(), 1);
         return Answer{r, 0};
       }},
      {"RleSize and RleEncode", Expect::Refused,
       [](S s) {
         uint32_t size[3] = {1, 1, 1};
         s.impl->RleSize(size);
         Bytes block(size[0] + 16, 0);
         if (size[0] >= 12) std::memcpy(block.data(), size, 12);
         s.impl->RleEncode(block.data());
         const bool written = std::count(block.begin(), block.end(), 0) != ptrdiff_t(block.size());
         return Answer{int64_t(size[0]) + size[1] + size[2] + written, 0};
       }},
  };
}

class CompressedBankSurface : public ::testing::TestWithParam<int32_t> {
 protected:
  void SetUp() override {
    defaultPalette_ = PaletteStartup();
    palette_ = PaletteGetDefault();
    LogPalette log{};
    log.version = kLogPaletteVersion;
    log.count = 256;
    for (int i = 0; i < 256; ++i) log.entries[i] = EntryFromColour(uint32_t(255 - i) * 0x010101u ^ uint32_t(i & 7) << 4);
    palette2_ = PaletteGetShared(&log);
  }
  void TearDown() override {
    ReleasePalette(palette2_);
    ReleasePalette(palette_);
    ReleasePalette(defaultPalette_);
    PaletteShutdown();
  }

  cBankImageSurface* NewBank(int32_t bits) {
    auto* s = NewSurfaceObject<cBankImageSurface>();
    s->SetFormat(bits, palette_);
    return s;
  }
  // Seeded pixels with runs of the key in the bank layout.
  Bytes Picture(int32_t bits, uint32_t transparent, uint32_t seed, uint32_t* key) {
    Bytes pixels(size_t(BankImageDataSize(kW, kH, bits)));
    cBankImageSurface* probe = NewBank(bits);
    probe->AttachPixels(kW, kH, transparent, pixels.data(), nullptr, 0);
    *key = probe->view.transparentValue;
    const int32_t bpp = probe->view.bytesPerPixel, pitch = probe->view.pitch;
    probe->Delete(1);
    std::mt19937 rng(seed);
    for (int32_t y = 0; y < kH; ++y)
      for (int32_t x = 0; x < kW; ++x) {
        // Transparent rows, columns and runs; a key-coloured 32-bit pixel
        // with byte 3 set is opaque.
        const bool clear = y == 0 || x < 2 || (x / 3 + y) % 4 == 0;
        uint32_t v = clear ? *key : rng();
        if (bits == 32 && !clear && rng() % 8 == 0) v = *key | 0x5A000000u;
        uint8_t* p = pixels.data() + int64_t(y) * pitch + x * bpp;
        for (int32_t b = 0; b < bpp; ++b) p[b] = uint8_t(v >> (8 * b));
      }
    return pixels;
  }

  cPalette* defaultPalette_ = nullptr;
  cPalette* palette_ = nullptr;
  cPalette* palette2_ = nullptr;
};

TEST_P(CompressedBankSurface, EveryMemberAnswersAsTheExpandedCopyOrRefuses) {
  const int32_t bits = GetParam();
  const uint32_t transparent = bits == 8 ? EntryColour(palette_->log.entries[9]) : 0x00102030;
  uint32_t key = 0;
  const Bytes picture = Picture(bits, transparent, 14u + bits, &key);
  uint32_t otherKey = 0;
  const Bytes otherPicture = Picture(bits, transparent, 99u + bits, &otherKey);

  for (const Row& row : Rows()) {
    SCOPED_TRACE(std::string(row.name) + " at " + std::to_string(bits) + " bits");
    // The twin over its own copy of the pixels; the compressed image over
    // the run-length block of the same pixels.
    Bytes pixels = picture, otherPixels = otherPicture;
    cBankImageSurface* plain = NewBank(bits);
    plain->AttachPixels(kW, kH, transparent, pixels.data(), nullptr, 0);
    uint32_t size[3] = {};
    plain->RleSize(size);
    ASSERT_GT(size[0], 0u);
    Bytes block(size[0] + 16);
    std::memcpy(block.data(), size, 12);
    plain->RleEncode(block.data());
    ASSERT_EQ(RleValidate(block.data(), uint32_t(block.size()), kW, kH, plain->view.bytesPerPixel), 1);
    const Bytes blockBefore = block;
    cBankImageSurface* packed = NewBank(bits);
    packed->AttachPixels(kW, kH, transparent, block.data(), nullptr, 1);
    ASSERT_EQ(packed->IsCompressed(), 1);
    ASSERT_EQ(PixelsOf(packed), PixelsOf(plain));

    cSurfaceHandle plainHandle, packedHandle, other1, other2;
    cSurfaceHandle::AttachImpl(&plainHandle, plain);
    cSurfaceHandle::AttachImpl(&packedHandle, packed);
    auto attachOther = [&](cSurfaceHandle& h, Bytes& bytes) {
      cBankImageSurface* o = NewBank(bits);
      o->AttachPixels(kW, kH, transparent, bytes.data(), nullptr, 0);
      cSurfaceHandle::AttachImpl(&h, o);
    };
    Bytes otherPixels2 = otherPicture;
    attachOther(other1, otherPixels);
    attachOther(other2, otherPixels2);
    Subject plainSubject{plainHandle, plain, other1, palette2_};
    Subject packedSubject{packedHandle, packed, other2, palette2_};

    const Answer want = row.run(plainSubject);
    const Answer got = row.run(packedSubject);
    if (row.expect == Expect::Same) {
      EXPECT_EQ(got.result, want.result);
      EXPECT_EQ(got.digest, want.digest);
    } else {
      EXPECT_EQ(got.result, 0);
    }
    EXPECT_EQ(block, blockBefore) << "the run-length block changed";
    EXPECT_EQ(otherPixels2, otherPixels) << "the other surface differs between the two runs";
    // Still drawn from its runs (a member that switched its routine row
    // would have it read the block as rows).
    if (cSurfaceHandle::GetImpl(&packedHandle) == packed) {
      EXPECT_EQ(packed->IsCompressed(), 1);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllDepths, CompressedBankSurface, ::testing::Values(8, 15, 16, 24, 32),
                         [](const ::testing::TestParamInfo<int32_t>& info) {
                           return std::to_string(info.param) + "Bits";
                         });

}  // namespace
