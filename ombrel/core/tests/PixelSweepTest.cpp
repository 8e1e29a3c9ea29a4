// Differential sweep: every pixel routine against the per-pixel reference
// model on seeded random images, plain and vector paths, both pitch signs,
// with and without an alpha plane, many widths and offsets, 4-aligned rows
// and the image bank's row layout.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "palette/PaletteApi.h"
#include "palette/cPalette.h"
#include "pixel/PixelView.h"
#include "support/PixelCompare.h"
#include "support/PixelReference.h"
#include "support/PixelTestImage.h"
#include "support/RandomPalettes.h"

namespace {

constexpr int32_t kWidths[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 31, 32, 33};
constexpr uint32_t kEffects[] = {1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12};

uint32_t CallbackRule(uint32_t d, uint32_t s, uint32_t user) {
  return (d ^ (s * 3u) ^ user) | 0xAB000000u;  // top byte must not reach the pixel
}
int gCallbackCalls = 0;  // counted by the routine's callback only
uint32_t OMB_STDCALL CountingCallback(uint32_t d, uint32_t s, uint32_t user) {
  ++gCallbackCalls;
  return CallbackRule(d, s, user);
}

// A weight for the weighted effects, with the ends of the range over-represented.
uint32_t PickParameter(std::mt19937& rng, int32_t depth, const cPalette* destPalette,
                       uint32_t effect, uint32_t srcKey, uint32_t someDest) {
  static constexpr uint32_t kWeights[] = {0, 1, 64, 127, 128};
  const uint32_t p = rng() % 2 ? kWeights[rng() % 5] : rng() % 129;
  if (effect == 1) return p;
  if (effect == 6) return p << 24 | ((rng() % 2 ? srcKey : rng()) & 0xFFFFFF);
  if (effect == 12) {
    // Sometimes name an existing destination pixel's colour (colour form).
    const uint32_t colour = depth == 8 ? EntryColour(destPalette->log.entries[someDest & 0xFF])
                                       : pixref::ColourOfNative(depth, someDest);
    return p << 24 | (rng() % 2 ? colour : rng() & 0xFFFFFF);
  }
  return rng();
}

struct Case {
  int32_t depth, w, h;
  bool srcBottomUp, destBottomUp, vector, alpha;
  uint32_t seed;
  bool bankRows = false;
  cPalette* srcPalette = nullptr;  // 8 bits
  cPalette* destPalette = nullptr;
  std::string Describe() const {
    std::ostringstream o;
    o << "depth " << depth << " w " << w << " h " << h << " srcUp " << srcBottomUp << " destUp "
      << destBottomUp << " vector " << vector << " alpha " << alpha << " bankRows " << bankRows
      << " seed " << seed;
    return o.str();
  }
};

// Row bytes of the image bank's layout for an image of width w.
uint32_t BankRowBytes(int32_t depth, int32_t w) {
  switch (depth) {
    case 8:
      return uint32_t(w + 1) & ~1u;
    case 15:
    case 16:
      return 2u * uint32_t(w);
    case 24:
      return 6u * ((uint32_t(w) + 1) / 2);
    default:
      return 4u * uint32_t(w);
  }
}

class Sweep {
 public:
  explicit Sweep(const Case& c)
      : c_(c),
        rng_(c.seed),
        sx_(rng_() % 3),
        sy_(rng_() % 2),
        dx_(rng_() % 3),
        dy_(rng_() % 2),
        srcW_(c.w + sx_ + rng_() % 3),
        destW_(c.w + dx_ + rng_() % 3),
        src_(srcW_, c.h + sy_ + rng_() % 2, c.depth, c.srcBottomUp, c.alpha,
             c.vector ? kPixelFlagVector : 0, c.bankRows ? BankRowBytes(c.depth, srcW_) : 0),
        dest_(destW_, c.h + dy_ + rng_() % 2, c.depth, c.destBottomUp, false,
              c.vector ? kPixelFlagVector : 0, c.bankRows ? BankRowBytes(c.depth, destW_) : 0) {
    const uint32_t colourKey = rng_() % 4 == 0 ? 0 : rng_() & 0xFFFFFF;
    src_.view.transparentColour = colourKey;
    src_.view.transparentValue = pixref::NativeOf(c.depth, colourKey);
    if (c.depth == 8) {
      src_.view.palette = c.srcPalette;
      dest_.view.palette = c.destPalette;
      src_.view.transparentValue = rng_() % 4 == 0 ? 0 : rng_() % 256;
      src_.view.transparentColour = EntryColour(c.srcPalette->log.entries[src_.view.transparentValue]);
      // Bits beyond the index must not matter.
      if (rng_() % 4 == 0) src_.view.transparentValue |= 0x3700u;
    }
    // Bits beyond the format's transparency test must not matter.
    if ((c.depth == 15 || c.depth == 16) && rng_() % 4 == 0) src_.view.transparentValue |= 0xABC00000u;
    src_.Randomise(rng_, src_.view.transparentValue, 4);
    if (c.alpha) src_.RandomiseAlpha(rng_);
    dest_.Randomise(rng_, src_.view.transparentValue, 5);
  }

  template <class Real, class Ref>
  void Check(const char* what, Real real, Ref ref) {
    PixelTestImage got(dest_), want(dest_);
    const std::vector<uint8_t> srcBefore = src_.pixels;
    real(got);
    ref(want);
    ASSERT_EQ(FirstDifference(got.Comparable(), want.Comparable()), "") << what << " " << c_.Describe();
    ASSERT_EQ(FirstDifference(src_.pixels, srcBefore), "") << what << " changed its source";
  }

  void Run() {
    const PixelOps* ops = src_.view.ops;
    const Case& c = c_;
    const int32_t sx = sx_, sy = sy_, dx = dx_, dy = dy_;
    PixelTestImage& src = src_;
    Check("BlitKeyed",
          [&](PixelTestImage& d) { ops->BlitKeyed(&d.view, dx, dy, &src.view, sx, sy, c.w, c.h); },
          [&](PixelTestImage& d) { pixref::BlitKeyed(d, dx, dy, src, sx, sy, c.w, c.h); });
    Check("Copy", [&](PixelTestImage& d) { ops->Copy(&d.view, dx, dy, &src.view, sx, sy, c.w, c.h); },
          [&](PixelTestImage& d) { pixref::Copy(d, dx, dy, src, sx, sy, c.w, c.h); });
    for (uint32_t effect : kEffects) {
      const uint32_t param =
          PickParameter(rng_, c.depth, dest_.view.palette, effect, src.view.transparentValue,
                        dest_.Raw(dx, dy));
      const std::string tag = "effect " + std::to_string(effect) + " param " + std::to_string(param);
      Check(("BlitKeyedInk " + tag).c_str(),
            [&](PixelTestImage& d) {
              EXPECT_EQ(1, ops->BlitKeyedInk(&d.view, dx, dy, &src.view, sx, sy, c.w, c.h, effect, param));
            },
            [&](PixelTestImage& d) {
              pixref::BlitKeyedInk(d, dx, dy, src, sx, sy, c.w, c.h, effect, param);
            });
      Check(("BlitInk " + tag).c_str(),
            [&](PixelTestImage& d) {
              EXPECT_EQ(1, ops->BlitInk(&d.view, dx, dy, &src.view, sx, sy, c.w, c.h, effect, param));
            },
            [&](PixelTestImage& d) { pixref::BlitInk(d, dx, dy, src, sx, sy, c.w, c.h, effect, param); });
    }
    const uint32_t user = rng_();
    for (bool keyed : {false, true}) {
      int expectedCalls = 0;
      for (int32_t y = 0; y < c.h; ++y)
        for (int32_t x = 0; x < c.w; ++x)
          expectedCalls += !keyed || src.Raw(sx + x, sy + y) !=
                                         pixref::KeyPart(c.depth, src.view.transparentValue);
      gCallbackCalls = 0;
      Check(keyed ? "BlitCallbackKeyed" : "BlitCallback",
            [&](PixelTestImage& d) {
              (keyed ? ops->BlitCallbackKeyed : ops->BlitCallback)(&d.view, dx, dy, &src.view, sx, sy,
                                                                  c.w, c.h, &CountingCallback, user);
            },
            [&](PixelTestImage& d) {
              pixref::BlitCallback(d, dx, dy, src, sx, sy, c.w, c.h, keyed, &CallbackRule, user);
            });
      EXPECT_EQ(gCallbackCalls, expectedCalls) << c.Describe();
    }
    const PixelOps* dops = dest_.view.ops;
    const uint32_t colour = rng_() % 4 == 0 ? 0xFF000000u | rng_() : rng_() & 0xFFFFFF;
    Check("FillRect",
          [&](PixelTestImage& d) { dops->FillRect(&d.view, dx, dy, d.view.pitch, c.w, c.h, colour); },
          [&](PixelTestImage& d) { pixref::Fill(d, dx, dy, c.w, c.h, colour); });
    if (c.w >= 2)
      Check("MirrorRows",
            [&](PixelTestImage& d) { dops->MirrorRows(&d.view, dx, dy, d.view.pitch, c.w, c.h); },
            [&](PixelTestImage& d) { pixref::Mirror(d, dx, dy, c.w, c.h); });
    // Old colour: one that occurs in the rectangle (any byte 3).
    const uint32_t oldColour = pixref::ColourOfNative(c.depth, dest_.Raw(dx + c.w / 2, dy));
    const uint32_t newColour = rng_();
    Check("ReplaceColour",
          [&](PixelTestImage& d) {
            dops->ReplaceColour(&d.view, dx, dy, c.w, c.h, c.w * d.view.bytesPerPixel, newColour, oldColour);
          },
          [&](PixelTestImage& d) { pixref::Replace(d, dx, dy, c.w, c.h, newColour, oldColour); });
    RunConvert();
  }

  void RunConvert() {
    const Case& c = c_;
    for (int32_t destDepth : {8, 15, 16, 24, 32}) {
      if (destDepth == c.depth) continue;
      PixelTestImage target(c.w + dx_, c.h + dy_, destDepth, c.destBottomUp, false, 0);
      target.view.palette = destDepth == 8 ? c.destPalette : nullptr;
      std::mt19937 fill(c.seed);
      target.Randomise(fill, 0, 0);
      PixelTestImage want(target);
      src_.view.ops->ConvertRows(&target.view, dx_, dy_, c.w * target.view.bytesPerPixel, &src_.view,
                                 sx_, sy_, c.w, c.h);
      for (int32_t y = 0; y < c.h; ++y)
        for (int32_t x = 0; x < c.w; ++x) {
          const uint32_t raw = src_.Raw(sx_ + x, sy_ + y);
          want.SetRaw(dx_ + x, dy_ + y,
                      destDepth == 8 ? pixref::ConvertTo8(c.depth, src_.view.palette, raw, c.destPalette)
                      : c.depth == 8 ? pixref::ConvertFrom8(src_.view.palette, raw, destDepth)
                                     : pixref::Convert(c.depth, raw, destDepth));
        }
      ASSERT_EQ(FirstDifference(target.Comparable(), want.Comparable()), "")
          << "ConvertRows to " << destDepth << " " << c.Describe();
    }
  }

 private:
  Case c_;
  std::mt19937 rng_;
  int32_t sx_, sy_, dx_, dy_, srcW_, destW_;
  PixelTestImage src_, dest_;
};

void SweepDepth(int32_t depth) {
  const RandomPalettes palettes(depth);
  uint32_t seed = 1000u * depth;
  for (int32_t w : kWidths)
    for (int32_t h : {1, 3})
      for (int pitches = 0; pitches < 4; ++pitches)
        for (bool vector : {false, true})
          for (bool alpha : {false, true})
            for (bool bankRows : {false, true}) {
              const Case c{depth,  w,     h,      (pitches & 1) != 0, (pitches & 2) != 0,
                           vector, alpha, ++seed, bankRows,           palettes[seed],
                           palettes[seed / 2]};
              Sweep sweep(c);
              sweep.Run();
              if (::testing::Test::HasFatalFailure()) return;
            }
}

TEST(PixelSweep, ThirtyTwoBitRoutinesMatchTheReference) { SweepDepth(32); }
TEST(PixelSweep, TwentyFourBitRoutinesMatchTheReference) { SweepDepth(24); }
TEST(PixelSweep, SixteenBitRoutinesMatchTheReference) { SweepDepth(16); }
TEST(PixelSweep, FifteenBitRoutinesMatchTheReference) { SweepDepth(15); }
TEST(PixelSweep, EightBitRoutinesMatchTheReference) { SweepDepth(8); }

// The vector and plain paths of one blit give the same bytes on large random
// rectangles (many whole blocks of lanes, every alpha and key mix), for every
// effect at every depth.
TEST(PixelSweep, VectorAndPlainPathsAgreeOnLargeImages) {
  const RandomPalettes palettes(8);
  std::mt19937 rng(77);
  for (int32_t depth : {32, 24, 16, 15, 8})
    for (int round = 0; round < 8; ++round) {
      const int32_t w = 64 + rng() % 40, h = 5;
      PixelTestImage src(w, h, depth, round % 2, round % 3 == 0, 0);
      PixelTestImage dest(w, h, depth, false, false, 0);
      uint32_t key = rng() % 2 ? 0 : rng() & 0xFFFFFF;
      if (depth == 8) {
        src.view.palette = dest.view.palette = palettes[round];
        key &= 0xFF;
      } else if (depth < 24) {
        key = pixref::NativeOf(depth, key);
      }
      src.view.transparentValue = key;
      src.view.transparentColour = depth == 8 ? EntryColour(palettes[round]->log.entries[key])
                                              : pixref::ColourOfNative(depth, key);
      src.Randomise(rng, key, 3);
      if (!src.alpha.empty()) src.RandomiseAlpha(rng);
      dest.Randomise(rng, key, 7);
      for (uint32_t effect : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 8u, 9u, 10u, 11u, 12u}) {
        const uint32_t param = PickParameter(rng, depth, dest.view.palette, effect, key, dest.Raw(1, 1));
        const std::string what = "depth " + std::to_string(depth) + " effect " + std::to_string(effect) +
                                 " round " + std::to_string(round);
        PixelTestImage plain(dest), vec(dest);
        vec.view.flags = kPixelFlagVector;
        src.view.flags = 0;
        src.view.ops->BlitKeyedInk(&plain.view, 0, 0, &src.view, 0, 0, w, h, effect, param);
        src.view.flags = kPixelFlagVector;
        src.view.ops->BlitKeyedInk(&vec.view, 0, 0, &src.view, 0, 0, w, h, effect, param);
        ASSERT_EQ(FirstDifference(plain.pixels, vec.pixels), "") << "keyed " << what;
        src.view.ops->BlitInk(&vec.view, 0, 0, &src.view, 0, 0, w, h, effect, param);
        plain.view.flags = 0;
        src.view.ops->BlitInk(&plain.view, 0, 0, &src.view, 0, 0, w, h, effect, param);
        ASSERT_EQ(FirstDifference(plain.pixels, vec.pixels), "") << "opaque " << what;
      }
    }
}

}  // namespace
