// Memory surfaces for the blit, filter and mask tests, made as the library
// makes them (a prototype of the depth, then MakeInstance), and their
// pixel-by-pixel copies for the reference model.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "palette/PaletteApi.h"
#include "support/PixelTestImage.h"
#include "surface/cMemSurface.h"

class SurfaceTest : public ::testing::Test {
 protected:
  void SetUp() override { defaultPalette_ = PaletteStartup(); }
  void TearDown() override {
    for (cSurfaceImpl* s : made_) s->Delete(1);
    ReleasePalette(defaultPalette_);
    PaletteShutdown();
  }
  cSurfaceImpl* Make(int32_t depth, int32_t width, int32_t height) {
    cMemSurface* prototype = cMemSurface::CreatePrototype(depth);
    if (prototype == nullptr) return nullptr;
    made_.push_back(prototype);
    cSurfaceImpl* s = prototype->MakeInstance(width, height);
    if (s != nullptr) made_.push_back(s);
    return s;
  }
  // Random pixels; about one in `keyOneIn` is the native key (some 32-bit
  // ones with a non-zero fourth byte). 0: no key pixels placed.
  cSurfaceImpl* MakeRandom(int32_t depth, int32_t width, int32_t height, uint32_t keyColour,
                           int keyOneIn, bool withAlpha = false) {
    cSurfaceImpl* s = Make(depth, width, height);
    if (s == nullptr) return nullptr;
    s->SetTransparentColour(keyColour);
    PixelTestImage image(width, height, depth, false, false, 0);
    image.Randomise(rng_, s->view.transparentValue, keyOneIn);
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x) SetRaw(s, x, y, image.Raw(x, y));
    if (withAlpha && s->CreateAlpha() != nullptr)
      for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
          const uint32_t r = rng_() % 4;
          s->view.alphaFirstRow[y * s->view.alphaPitch + x] = r == 0 ? 0 : r == 1 ? 255 : uint8_t(rng_());
        }
    return s;
  }

  static uint8_t* At(cSurfaceImpl* s, int32_t x, int32_t y) {
    return s->view.firstRow + int64_t(y) * s->view.pitch + int64_t(x) * s->view.bytesPerPixel;
  }
  static uint32_t Raw(cSurfaceImpl* s, int32_t x, int32_t y) {
    uint32_t v = 0;
    const uint8_t* p = At(s, x, y);
    for (int i = 0; i < s->view.bytesPerPixel; ++i) v |= uint32_t(p[i]) << (8 * i);
    return v;
  }
  static void SetRaw(cSurfaceImpl* s, int32_t x, int32_t y, uint32_t v) {
    uint8_t* p = At(s, x, y);
    for (int i = 0; i < s->view.bytesPerPixel; ++i) p[i] = uint8_t(v >> (8 * i));
  }
  static uint8_t Alpha(cSurfaceImpl* s, int32_t x, int32_t y) {
    return s->view.alphaFirstRow[int64_t(y) * s->view.alphaPitch + x];
  }

  // A reference image with the surface's pixels, alpha, key and flags.
  static PixelTestImage ImageOf(cSurfaceImpl* s) {
    const bool alpha = s->view.alphaFirstRow != nullptr;
    PixelTestImage image(s->view.width, s->view.height, s->view.depth, false, alpha, s->view.flags);
    image.view.transparentColour = s->view.transparentColour;
    image.view.transparentValue = s->view.transparentValue;
    for (int32_t y = 0; y < s->view.height; ++y)
      for (int32_t x = 0; x < s->view.width; ++x) {
        image.SetRaw(x, y, Raw(s, x, y));
        if (alpha) image.SetAlpha(x, y, Alpha(s, x, y));
      }
    return image;
  }

  // "" when the surface holds the image's pixels, else the first difference.
  static std::string Differs(cSurfaceImpl* s, const PixelTestImage& image) {
    for (int32_t y = 0; y < s->view.height; ++y)
      for (int32_t x = 0; x < s->view.width; ++x)
        if (Raw(s, x, y) != image.Raw(x, y)) {
          std::ostringstream o;
          o << "(" << x << ", " << y << "): got 0x" << std::hex << Raw(s, x, y) << ", want 0x"
            << image.Raw(x, y);
          return o.str();
        }
    return "";
  }

  std::mt19937 rng_{20261210};
  cPalette* defaultPalette_ = nullptr;
  std::vector<cSurfaceImpl*> made_;
};

// A surface whose pixels can never be reached: Lock fails.
class LockFailSurface : public cSurfaceImpl {
 public:
  LockFailSurface(int32_t depth, int32_t width, int32_t height) {
    SetDepth(depth);
    view.width = width;
    view.height = height;
    ResetClipRect();
  }
  ~LockFailSurface() = default;
  cSurfaceImpl* MakeInstance(int32_t, int32_t) override { return nullptr; }
  int32_t Lock() override { return 0; }
};
