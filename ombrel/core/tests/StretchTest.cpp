// Slot 36 `Stretch`: the nearest-pixel stretch and the two-pass resample
// against reference models written from their formulas, keyed and with
// alpha, clipped and not; the detour through a temporary for modes, effects
// and depth changes; the refusals; the weight lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "BlitTestSurfaces.h"
#include "palette/cPalette.h"
#include "pixel/InkEffects.h"
#include "support/PaletteReference.h"
#include "support/PixelReference.h"
#include "surface/ResampleWeights.h"

namespace {

constexpr uint32_t kKey = 0x00FF00FF;

// ---- nearest-pixel model: source index of each destination index ----

// Along a row (16.16 step, accumulator from the step): enlarging repeats each
// source pixel (acc >> 16) times; shrinking gives each finished group's first
// pixel; positions left at the end take the last source pixel.
std::vector<int32_t> RowMap(int32_t dw, int32_t sw) {
  const uint32_t step = uint32_t((uint64_t(dw) << 16) / uint32_t(sw));
  std::vector<int32_t> map;
  uint32_t acc = step;
  if (acc >= 0x10000u) {
    for (int32_t i = 0; i < sw; ++i) {
      for (uint32_t k = acc >> 16; k > 0 && int32_t(map.size()) < dw; --k) map.push_back(i);
      acc = (acc & 0xFFFFu) + step;
    }
  } else {
    int32_t group = 0;
    for (int32_t i = 0; i < sw && int32_t(map.size()) < dw; ++i) {
      if (acc >= 0x10000u) {
        map.push_back(group);
        group = i + 1;
        acc &= 0xFFFFu;
      }
      acc += step;
    }
    if (int32_t(map.size()) < dw) map.push_back(std::min(group, sw - 1));
  }
  while (int32_t(map.size()) < dw) map.push_back(sw - 1);
  return map;
}

// Down the rows: source row j gives a destination row each time the
// accumulator (from the step) reaches 65536; a missing last row copies the
// row above (the last source row when none was made).
std::vector<int32_t> ColumnMap(int32_t dh, int32_t sh) {
  const uint32_t step = uint32_t((uint64_t(dh) << 16) / uint32_t(sh));
  std::vector<int32_t> map;
  uint32_t a = step;
  for (int32_t j = 0; j < sh && int32_t(map.size()) < dh; ++j) {
    while (a >= 0x10000u && int32_t(map.size()) < dh) {
      map.push_back(j);
      a -= 0x10000u;
    }
    a += step;
  }
  while (int32_t(map.size()) < dh) map.push_back(map.empty() ? sh - 1 : map.back());
  return map;
}

// ---- resample model ----

struct RefEntry {
  int32_t first;
  int32_t last;
  std::vector<int32_t> w;
};

std::vector<RefEntry> RefWeights(int32_t nOut, int32_t nIn) {
  const double scale = double(nOut) / double(nIn);
  const double width = scale < 1 ? 1 / scale : 1, fs = scale < 1 ? scale : 1;
  const int32_t support = 2 * int32_t(std::ceil(width)) + 1;
  std::vector<RefEntry> list;
  for (int32_t i = 0; i < nOut; ++i) {
    const double c = i / scale;
    int32_t first = std::max(0, int32_t(std::floor(c - width)));
    int32_t last = std::min(nIn - 1, int32_t(std::ceil(c + width)));
    if (last - first + 1 > support) {
      if (first < nIn) ++first;
      else --last;
    }
    auto f = [&](int32_t k) {
      const double t = std::fabs(fs * (c - k));
      return t < 1 ? fs * ((1 - t) + 2 * (1 - t) * (1 - t)) / 3 : 0.0;
    };
    while (first <= last && f(first) == 0) ++first;
    while (last >= first && f(last) == 0) --last;
    double sum = 0;
    for (int32_t k = first; k <= last; ++k) sum += f(k);
    RefEntry e{first, last, {}};
    for (int32_t k = first; k <= last; ++k) e.w.push_back(int32_t(f(k) / sum * 65536.0));
    list.push_back(e);
  }
  return list;
}

// A picture of colours 0x00BBGGRR with an optional alpha (0 = transparent).
struct Picture {
  int32_t w, h;
  std::vector<uint32_t> c;
  std::vector<uint8_t> a;  // empty: no alpha
  uint32_t At(int32_t x, int32_t y) const { return c[size_t(y) * w + x]; }
};

// One pass along x (horizontal) or y, keyed by colour (and alpha when given).
Picture RefPass(const Picture& in, int32_t outLen, bool horizontal, bool keyed, uint32_t key) {
  const int32_t inLen = horizontal ? in.w : in.h;
  const std::vector<RefEntry> list = RefWeights(outLen, inLen);
  Picture out{horizontal ? outLen : in.w, horizontal ? in.h : outLen, {}, {}};
  out.c.resize(size_t(out.w) * out.h);
  for (int32_t y = 0; y < out.h; ++y)
    for (int32_t x = 0; x < out.w; ++x) {
      const RefEntry& e = list[size_t(horizontal ? x : y)];
      const int32_t n = e.last - e.first + 1;
      auto colour = [&](int32_t j) {
        return horizontal ? in.At(e.first + j, y) : in.At(x, e.first + j);
      };
      auto transparent = [&](int32_t j) {
        if (colour(j) == key) return true;
        if (in.a.empty()) return false;
        return horizontal ? in.a[size_t(y) * in.w + e.first + j] == 0
                          : in.a[size_t(e.first + j) * in.w + x] == 0;
      };
      uint64_t sum[3] = {0x8000, 0x8000, 0x8000};
      int64_t keyWeight = 0;
      for (int32_t j = 0; j < n; ++j) {
        uint32_t c = colour(j);
        if (keyed && transparent(j)) {
          keyWeight += e.w[size_t(j)];
          if (j > 0) c = !transparent(j - 1) || j + 1 >= n ? colour(j - 1) : colour(j + 1);
          else if (n > 1) c = !transparent(1) || n < 3 ? colour(1) : colour(2);
        }
        for (int k = 0; k < 3; ++k) sum[k] += uint64_t(e.w[size_t(j)]) * ((c >> (8 * k)) & 0xFF);
      }
      uint32_t v = 0;
      for (int k = 0; k < 3; ++k) v |= uint32_t(std::min<uint64_t>(sum[k], 0xFF0000) >> 16) << (8 * k);
      out.c[size_t(y) * out.w + x] = keyed && keyWeight >= 0xB000 ? key : v;
    }
  return out;
}

Picture RefResample(const Picture& in, int32_t dw, int32_t dh, bool keyed, uint32_t key) {
  if (dw == in.w && dh == in.h) return in;
  if (dh == in.h) return RefPass(in, dw, true, keyed, key);
  if (dw == in.w) return RefPass(in, dh, false, keyed, key);
  Picture middle = RefPass(in, dw, true, keyed, key);
  return RefPass(middle, dh, false, keyed, key);
}

// The alpha plane resampled as a one-channel picture (red carries it).
std::vector<uint8_t> RefResampleAlpha(const Picture& in, int32_t dw, int32_t dh) {
  Picture grey{in.w, in.h, {}, {}};
  for (uint8_t v : in.a) grey.c.push_back(v);
  const Picture out = RefResample(grey, dw, dh, false, 0);
  std::vector<uint8_t> a;
  for (uint32_t c : out.c) a.push_back(uint8_t(c));
  return a;
}

// The colour a 15- or 16-bit pixel shows once a colour is converted into it
// from 24 bits.
uint32_t Shown16(int32_t depth, uint32_t colour) {
  return pixref::ColourOf16(depth, pixref::Convert(24, pixref::NativeOf(24, colour), depth));
}

// What an 8-bit destination shows for the colours converted into it. Black,
// an entry's own colour and a key holding entries have fixed answers. A key
// holding no entry is answered by the entry nearest to the first colour
// asked there, and the converter asks in an order of its own: such a key
// shows the nearest entry of one of the colours asked there so far, and
// always the same one.
class EightBitAnswers {
 public:
  explicit EightBitAnswers(const cPalette* palette)
      : entries_(palette->log.entries), count_(palette->log.count), model_(entries_, count_) {}

  void Ask(uint32_t colour) { asked_[ColourKey(colour)].insert(colour & 0xFFFFFFu); }

  // "" when `shown` is an answer the rule allows for `colour`.
  std::string Check(uint32_t colour, uint32_t shown) {
    colour &= 0xFFFFFFu;
    const uint32_t key = ColourKey(colour);
    std::ostringstream o;
    o << std::hex << "colour 0x" << colour << " shows 0x" << shown;
    if (colour == 0 || HasFixedAnswer(colour)) {
      const uint32_t want = colour == 0 ? EntryColour(entries_[0]) : EntryColour(entries_[model_.Resolve(colour)]);
      if (shown != want) o << ", want 0x" << want;
      else return "";
      return o.str();
    }
    const auto kept = shownByKey_.find(key);
    if (kept != shownByKey_.end()) {
      if (shown == kept->second) return "";
      o << ", its key showed 0x" << kept->second << " before";
      return o.str();
    }
    for (uint32_t asked : asked_[key])
      if (EntryColour(entries_[palref::Nearest(entries_, count_, asked)]) == shown) {
        shownByKey_[key] = shown;
        return "";
      }
    o << ", the nearest entry of no colour asked of its key";
    return o.str();
  }

 private:
  bool HasFixedAnswer(uint32_t colour) const {
    for (int i = count_ == kPaletteEntries ? 1 : 0; i < count_; ++i)
      if (EntryColour(entries_[i]) == colour || (i > 0 && ColourKey(EntryColour(entries_[i])) == ColourKey(colour)))
        return true;
    return false;
  }

  const PaletteEntry* entries_;
  int count_;
  palref::InverseTableModel model_;  // asked fixed answers only: never fills a key
  std::map<uint32_t, std::set<uint32_t>> asked_;
  std::map<uint32_t, uint32_t> shownByKey_;
};

class Stretch : public SurfaceTest {
 protected:
  static uint32_t Colour(cSurfaceImpl* s, int32_t x, int32_t y) {
    uint32_t c = 0;
    s->GetPixel(x, y, &c);
    return c & 0x00FFFFFFu;
  }
  static Picture PictureOf(cSurfaceImpl* s, int32_t x0, int32_t y0, int32_t w, int32_t h) {
    Picture p{w, h, {}, {}};
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        p.c.push_back(Colour(s, x0 + x, y0 + y));
        if (s->view.alphaFirstRow != nullptr) p.a.push_back(Alpha(s, x0 + x, y0 + y));
      }
    return p;
  }
  // The colour the source's key pixels show (at 8, 15 and 16 bits the key
  // as the format stores it).
  static uint32_t KeyShown(cSurfaceImpl* s) {
    const PixelView& v = s->view;
    if (v.depth == 8) return EntryColour(v.palette->log.entries[v.transparentValue & 0xFF]);
    if (v.depth == 15 || v.depth == 16) return pixref::ColourOf16(v.depth, v.transparentValue);
    return kKey;
  }
  // "" when (x0, y0, w, h) of the surface shows the picture.
  static std::string Shows(cSurfaceImpl* s, int32_t x0, int32_t y0, const Picture& p) {
    for (int32_t y = 0; y < p.h; ++y)
      for (int32_t x = 0; x < p.w; ++x)
        if (Colour(s, x0 + x, y0 + y) != p.At(x, y)) {
          std::ostringstream o;
          o << "(" << x << ", " << y << "): got 0x" << std::hex << Colour(s, x0 + x, y0 + y)
            << ", want 0x" << p.At(x, y);
          return o.str();
        }
    return "";
  }
};

// Every size pair (enlarging, shrinking, mixed, odd), at every depth whose
// surfaces store pixels, placed with a clip that cuts it or not: each
// destination pixel inside the clip is the mapped source pixel, every
// other pixel keeps its value; the alpha plane follows with StretchWithAlpha.
TEST_F(Stretch, NearestMatchesTheIndexModel) {
  struct Case {
    int32_t dx, dy, dw, dh, sx, sy, sw, sh;
    int32_t clipX, clipY, clipW, clipH;
  };
  const Case cases[] = {
      {0, 0, 40, 24, 0, 0, 20, 12, 0, 0, 48, 32},    // x2
      {3, 2, 10, 6, 0, 0, 20, 12, 0, 0, 48, 32},     // x0.5
      {1, 1, 33, 7, 2, 1, 13, 9, 0, 0, 48, 32},      // wider, lower
      {0, 0, 7, 29, 5, 3, 11, 4, 0, 0, 48, 32},      // narrower, taller
      {-5, -3, 40, 30, 0, 0, 20, 12, 0, 0, 48, 32},  // off the top-left
      {20, 10, 40, 30, 1, 1, 17, 9, 0, 0, 48, 32},   // off the bottom-right
      {2, 3, 31, 27, 0, 0, 20, 12, 6, 5, 17, 13},    // a clip inside
      {0, 0, 1, 1, 0, 0, 20, 12, 0, 0, 48, 32},      // to one pixel
      {0, 0, 48, 32, 19, 11, 1, 1, 0, 0, 48, 32},    // from one pixel
  };
  for (int32_t depth : {8, 15, 16, 24, 32}) {
    cSurfaceImpl* src = MakeRandom(depth, 20, 12, kKey, 0, true);
    ASSERT_NE(src, nullptr);
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << depth << " bits, to " << c.dw << " x " << c.dh << " at ("
                                      << c.dx << ", " << c.dy << ")");
      cSurfaceImpl* dest = MakeRandom(depth, 48, 32, kKey, 0);
      ASSERT_NE(dest, nullptr);
      dest->SetClipRect(c.clipX, c.clipY, c.clipW, c.clipH);
      PixelTestImage want = ImageOf(dest);
      std::vector<uint8_t> wantAlpha(48 * 32, 0);  // a new plane starts zeroed
      const std::vector<int32_t> xs = RowMap(c.dw, c.sw), ys = ColumnMap(c.dh, c.sh);
      for (int32_t j = 0; j < c.dh; ++j)
        for (int32_t i = 0; i < c.dw; ++i) {
          const int32_t x = c.dx + i, y = c.dy + j;
          if (x < c.clipX || y < c.clipY || x >= c.clipX + c.clipW || y >= c.clipY + c.clipH) continue;
          want.SetRaw(x, y, Raw(src, c.sx + xs[size_t(i)], c.sy + ys[size_t(j)]));
          wantAlpha[size_t(y) * 48 + x] = Alpha(src, c.sx + xs[size_t(i)], c.sy + ys[size_t(j)]);
        }
      ASSERT_EQ(src->Stretch(dest, c.dx, c.dy, c.dw, c.dh, c.sx, c.sy, c.sw, c.sh, BlitOpaque, 0, 0,
                             StretchWithAlpha),
                1);
      EXPECT_EQ(Differs(dest, want), "");
      ASSERT_NE(dest->view.alphaFirstRow, nullptr);
      for (int32_t y = 0; y < 32; ++y)
        for (int32_t x = 0; x < 48; ++x)
          ASSERT_EQ(Alpha(dest, x, y), wantAlpha[size_t(y) * 48 + x]) << x << ", " << y;
    }
  }
}

TEST_F(Stretch, RefusesWhatItCannotDrawAndChangesNothing) {
  cSurfaceImpl* src = MakeRandom(24, 20, 12, kKey, 0);
  cSurfaceImpl* dest = MakeRandom(24, 30, 30, kKey, 0);
  ASSERT_NE(dest, nullptr);
  const PixelTestImage before = ImageOf(dest);
  struct Case {
    int32_t dx, dy, dw, dh, sx, sy, sw, sh;
    uint32_t flags;
  };
  const Case cases[] = {
      {0, 0, 40, 24, -1, 0, 20, 12, 0},               // source rectangle outside the source
      {0, 0, 40, 24, 0, 0, 21, 12, StretchResample},  // past its right edge
      {0, 0, 40, 24, 0, 3, 20, 10, 0},                // past its bottom
      {0, 0, 40, 24, 0, 0, 0, 12, 0},                 // empty source
      {0, 0, 0, 24, 0, 0, 20, 12, 0},                 // empty destination
      {0, 0, -8, 24, 0, 0, 20, 12, StretchResample},  // negative destination width
      {30, 0, 40, 24, 0, 0, 20, 12, 0},               // wholly outside the clip
      {0, -24, 40, 24, 0, 0, 20, 12, StretchResampleKeyed},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(src->Stretch(dest, c.dx, c.dy, c.dw, c.dh, c.sx, c.sy, c.sw, c.sh, 0, 0, 0, c.flags), 0)
        << c.dx << " " << c.sw;
    EXPECT_EQ(Differs(dest, before), "");
  }
  EXPECT_EQ(src->Stretch(nullptr, 0, 0, 40, 24, 0, 0, 20, 12, 0, 0, 0, 0), 0);
  LockFailSurface locked(24, 30, 30);
  EXPECT_EQ(src->Stretch(&locked, 0, 0, 40, 24, 0, 0, 20, 12, 0, 0, 0, 0), 0);
  EXPECT_EQ(src->Stretch(&locked, 0, 0, 40, 24, 0, 0, 20, 12, 0, 0, 0, StretchResample), 0);
}

// Equal sizes are a Blit with the same mode, effect and parameter.
TEST_F(Stretch, EqualSizesAreABlitKeepingModeAndEffect) {
  for (int32_t depth : {24, 32}) {
    cSurfaceImpl* src = MakeRandom(depth, 10, 10, kKey, 4);
    cSurfaceImpl* viaStretch = MakeRandom(depth, 16, 16, kKey, 0);
    ASSERT_NE(viaStretch, nullptr);
    PixelTestImage start = ImageOf(viaStretch);
    cSurfaceImpl* viaBlit = Make(depth, 16, 16);
    ASSERT_NE(viaBlit, nullptr);
    for (int32_t y = 0; y < 16; ++y)
      for (int32_t x = 0; x < 16; ++x) SetRaw(viaBlit, x, y, start.Raw(x, y));
    for (uint32_t flags : {0u, uint32_t(StretchResample)}) {
      ASSERT_EQ(src->Stretch(viaStretch, 3, 2, 10, 10, 0, 0, 10, 10, BlitKeyed, EffectBlend, 64, flags), 1);
      ASSERT_EQ(src->Blit(viaBlit, 3, 2, 0, 0, 10, 10, BlitKeyed, EffectBlend, 64, 0), 1);
      EXPECT_EQ(Differs(viaStretch, ImageOf(viaBlit)), "");
    }
  }
}

// Modes, effects and depth changes go through a temporary: the result is the
// plain stretch drawn with that mode and effect.
TEST_F(Stretch, ModesEffectsAndDepthChangesMatchStretchThenBlit) {
  struct Case {
    int32_t srcDepth, destDepth, mode;
    uint32_t effect, parameter;
  };
  const Case cases[] = {
      {24, 24, BlitKeyed, 0, 0},  {32, 32, BlitKeyed, EffectBlend, 50}, {24, 24, BlitOpaque, EffectInvert, 0},
      {24, 32, BlitOpaque, 0, 0}, {32, 24, BlitKeyed, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.srcDepth << " -> " << c.destDepth << " mode " << c.mode
                                    << " effect " << c.effect);
    cSurfaceImpl* src = MakeRandom(c.srcDepth, 9, 7, kKey, 3);
    cSurfaceImpl* dest = MakeRandom(c.destDepth, 30, 30, kKey, 0);
    ASSERT_NE(dest, nullptr);
    dest->SetClipRect(2, 3, 20, 18);
    // The model: a plain stretch into a key-filled picture, then a Blit.
    cSurfaceImpl* plain = Make(c.srcDepth, 25, 17);
    ASSERT_NE(plain, nullptr);
    plain->SetTransparentColour(kKey);
    plain->FillRect(0, 0, 25, 17, kKey);
    ASSERT_EQ(src->Stretch(plain, 0, 0, 25, 17, 0, 0, 9, 7, BlitOpaque, 0, 0, 0), 1);
    cSurfaceImpl* want = Make(c.destDepth, 30, 30);
    ASSERT_NE(want, nullptr);
    for (int32_t y = 0; y < 30; ++y)
      for (int32_t x = 0; x < 30; ++x) SetRaw(want, x, y, Raw(dest, x, y));
    want->SetClipRect(2, 3, 20, 18);
    ASSERT_EQ(plain->Blit(want, 1, 1, 0, 0, 25, 17, c.mode, c.effect, c.parameter, 0), 1);
    ASSERT_EQ(src->Stretch(dest, 1, 1, 25, 17, 0, 0, 9, 7, c.mode, c.effect, c.parameter, 0), 1);
    EXPECT_EQ(Differs(dest, ImageOf(want)), "");
  }
}

// The resample against the model of the weight formulas, per pass, keyed or
// not, through the alpha plane, clipped by the final Blit. At 8, 15 and 16
// bits the model's colours go through the 24-bit converters: 15/16-bit
// colours as stored, 8-bit ones by the palette's lookup rule; a stretch
// that reports 0 must have drawn nothing.
TEST_F(Stretch, ResampleMatchesTheWeightModel) {
  struct Case {
    int32_t dw, dh, sw, sh;
    uint32_t flags;
  };
  const Case cases[] = {
      {40, 24, 20, 12, StretchResample},      {10, 6, 20, 12, StretchResample},
      {33, 12, 20, 12, StretchResample},      {20, 5, 20, 12, StretchResample},
      {7, 31, 20, 12, StretchResampleKeyed},  {47, 25, 20, 12, StretchResampleKeyed},
      {3, 2, 20, 12, StretchResampleKeyed},   {20, 40, 20, 12, StretchResampleKeyed},
      {64, 1, 20, 12, StretchResample},       {1, 1, 20, 12, StretchResampleKeyed},
  };
  std::map<const cPalette*, EightBitAnswers> answersByPalette;
  for (int32_t depth : {24, 32, 8, 15, 16}) {
    for (bool alpha : {false, true}) {
      cSurfaceImpl* src = MakeRandom(depth, 20, 12, kKey, 3, alpha);
      ASSERT_NE(src, nullptr);
      for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << depth << " bits, alpha " << alpha << ", to " << c.dw
                                        << " x " << c.dh << " flags " << c.flags);
        cSurfaceImpl* dest = MakeRandom(depth, 70, 45, kKey, 0);
        ASSERT_NE(dest, nullptr);
        dest->SetClipRect(0, 0, 66, 44);
        const PixelTestImage before = ImageOf(dest);
        const int32_t done =
            src->Stretch(dest, 2, 1, c.dw, c.dh, 0, 0, 20, 12, 0, 0, 0, c.flags | StretchWithAlpha);
        if (depth == 24 || depth == 32) {
          ASSERT_EQ(done, 1);
        }
        if (done == 0) {
          EXPECT_EQ(Differs(dest, before), "");
          continue;
        }
        const bool keyed = (c.flags & StretchResampleKeyed) || alpha;
        const Picture want = RefResample(PictureOf(src, 0, 0, 20, 12), c.dw, c.dh, keyed, KeyShown(src));
        Picture visible{std::min(c.dw, 64), std::min(c.dh, 43), {}, {}};
        for (int32_t y = 0; y < visible.h; ++y)
          for (int32_t x = 0; x < visible.w; ++x) visible.c.push_back(want.At(x, y));
        if (depth == 15 || depth == 16) {
          for (uint32_t& colour : visible.c) colour = Shown16(depth, colour);
        }
        if (depth == 8) {
          EightBitAnswers& answers = answersByPalette.try_emplace(dest->view.palette, dest->view.palette).first->second;
          answers.Ask(kKey);  // asked when the surfaces took their key
          for (uint32_t colour : want.c) answers.Ask(colour);
          for (int32_t y = 0; y < visible.h; ++y)
            for (int32_t x = 0; x < visible.w; ++x)
              ASSERT_EQ(answers.Check(visible.At(x, y), Colour(dest, 2 + x, 1 + y)), "") << x << ", " << y;
        } else {
          EXPECT_EQ(Shows(dest, 2, 1, visible), "");
        }
        // Right of and below the stretched rectangle nothing changed.
        for (int32_t y = 0; y < 45; ++y)
          for (int32_t x = 0; x < 70; ++x)
            if (x >= 2 + visible.w || y >= 1 + visible.h) {
              ASSERT_EQ(Raw(dest, x, y), before.Raw(x, y));
            }
        if (alpha) {
          const std::vector<uint8_t> wantAlpha = RefResampleAlpha(PictureOf(src, 0, 0, 20, 12), c.dw, c.dh);
          ASSERT_NE(dest->view.alphaFirstRow, nullptr);
          for (int32_t y = 0; y < visible.h; ++y)
            for (int32_t x = 0; x < visible.w; ++x)
              ASSERT_EQ(Alpha(dest, 2 + x, 1 + y), wantAlpha[size_t(y) * c.dw + x]) << x << ", " << y;
        }
      }
    }
  }
}

// A plain resample inside the clip between 24- or 32-bit surfaces writes the
// destination in place; it gives the bytes of the route through a temporary
// (taken here by asking for the alpha plane, which the source lacks), on
// random sizes, odd widths, keyed or not, both pitch signs.
TEST_F(Stretch, ResampleInPlaceEqualsTheTemporaryRoute) {
  std::mt19937 rng(17);
  // Rows seen bottom-up: the view starts at the last row and steps back.
  auto turnRows = [](cSurfaceImpl* s) {
    s->view.firstRow += int64_t(s->view.height - 1) * s->view.pitch;
    s->view.pitch = -s->view.pitch;
  };
  for (int round = 0; round < 80; ++round) {
    const int32_t depth = round % 2 ? 32 : 24;
    const int32_t sw = 1 + rng() % 31, sh = 1 + rng() % 19;
    int32_t dw = 1 + rng() % 57, dh = 1 + rng() % 41;
    if (dw == sw && dh == sh) ++dw;
    const uint32_t flags = rng() % 2 ? StretchResample : StretchResampleKeyed;
    const bool bottomUp = (round / 2) % 2 != 0;
    SCOPED_TRACE(testing::Message() << "round " << round << ", " << depth << " bits, " << sw << "x" << sh
                                    << " to " << dw << "x" << dh << ", flags " << flags);
    cSurfaceImpl* src = MakeRandom(depth, sw + 2, sh + 1, kKey, 4);
    cSurfaceImpl* inPlace = MakeRandom(depth, dw + 5, dh + 3, kKey, 0);
    ASSERT_NE(src, nullptr);
    ASSERT_NE(inPlace, nullptr);
    cSurfaceImpl* viaTemporary = Make(depth, dw + 5, dh + 3);
    ASSERT_NE(viaTemporary, nullptr);
    viaTemporary->SetTransparentColour(kKey);
    for (int32_t y = 0; y < dh + 3; ++y)
      for (int32_t x = 0; x < dw + 5; ++x) SetRaw(viaTemporary, x, y, Raw(inPlace, x, y));
    if (bottomUp) {
      turnRows(src);
      turnRows(inPlace);
      turnRows(viaTemporary);
    }
    const PixelTestImage before = ImageOf(inPlace);
    ASSERT_EQ(src->Stretch(inPlace, 3, 2, dw, dh, 1, 1, sw, sh, BlitOpaque, 0, 0, flags), 1);
    ASSERT_EQ(src->Stretch(viaTemporary, 3, 2, dw, dh, 1, 1, sw, sh, BlitOpaque, 0, 0,
                           flags | StretchWithAlpha),
              1);
    EXPECT_EQ(Differs(inPlace, ImageOf(viaTemporary)), "");
    EXPECT_NE(Differs(inPlace, before), "");
    if (bottomUp) {
      turnRows(src);
      turnRows(inPlace);
      turnRows(viaTemporary);
    }
  }
}

TEST_F(Stretch, ResampleLeavesPixelsOutsideTheClipAlone) {
  cSurfaceImpl* src = MakeRandom(24, 20, 12, kKey, 0);
  cSurfaceImpl* dest = MakeRandom(24, 40, 30, kKey, 0);
  ASSERT_NE(dest, nullptr);
  const PixelTestImage before = ImageOf(dest);
  dest->SetClipRect(10, 5, 8, 9);
  ASSERT_EQ(src->Stretch(dest, 0, 0, 37, 25, 0, 0, 20, 12, 0, 0, 0, StretchResample), 1);
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 40; ++x)
      if (x < 10 || x >= 18 || y < 5 || y >= 14) {
        ASSERT_EQ(Raw(dest, x, y), before.Raw(x, y)) << x << ", " << y;
      }
}

// Doubling two pixels: every list stays inside 0..1 and its weights sum to
// 65536 before truncation (so within one unit per weight after it).
TEST(ResampleWeightList, DoublingTwoPixelsKeepsInsideAndSumsToOne) {
  ResampleWeights list;
  ASSERT_TRUE(list.Build(4, 2, 2.0));
  ASSERT_EQ(list.Count(), 4);
  for (int32_t i = 0; i < 4; ++i) {
    const ResampleWeights::Entry& e = list[i];
    EXPECT_GE(e.first, 0);
    EXPECT_LE(e.last, 1);
    ASSERT_LE(e.first, e.last);
    int32_t sum = 0;
    for (int32_t k = 0; k <= e.last - e.first; ++k) sum += e.weights[k];
    EXPECT_LE(sum, 65536);
    EXPECT_GE(sum, 65536 - (e.last - e.first + 1));
  }
  // Centres without a half-pixel offset: output 0 sits on input 0, output 1
  // half way between the two.
  EXPECT_EQ(list[0].weights[0], 65536);
  EXPECT_EQ(list[1].first, 0);
  EXPECT_EQ(list[1].last, 1);
  EXPECT_EQ(list[1].weights[0], 32768);
  EXPECT_EQ(list[1].weights[1], 32768);
}

TEST(ResampleWeightList, RefusesEmptyCountsAndBlocksPast2To31) {
  ResampleWeights list;
  EXPECT_FALSE(list.Build(0, 10, 0.0));
  EXPECT_FALSE(list.Build(10, 0, 1.0));
  // One output from 2^30 inputs: 2^31 + 3 weights of 4 bytes.
  EXPECT_FALSE(list.Build(1, 1 << 30, 1.0 / double(1 << 30)));
  EXPECT_EQ(list.Count(), 0);
}

// Black, black, white, black, black keyed on black: outputs are the key
// exactly where black carries 0.6875 of the weight or more.
TEST_F(Stretch, KeyedResampleGivesTheKeyFromElevenSixteenthsOfItsWeight) {
  for (int32_t outWidth : {3, 4, 8, 13}) {
    SCOPED_TRACE(outWidth);
    cSurfaceImpl* src = Make(24, 5, 1);
    ASSERT_NE(src, nullptr);
    src->SetTransparentColour(0);
    src->FillRect(0, 0, 5, 1, 0);
    src->SetPixel(2, 0, 0x00FFFFFF);
    cSurfaceImpl* dest = Make(24, outWidth, 1);
    ASSERT_NE(dest, nullptr);
    dest->FillRect(0, 0, outWidth, 1, 0x00123456);
    ASSERT_EQ(src->Stretch(dest, 0, 0, outWidth, 1, 0, 0, 5, 1, 0, 0, 0, StretchResampleKeyed), 1);
    ResampleWeights list;
    ASSERT_TRUE(list.Build(outWidth, 5, outWidth / 5.0));
    const Picture want = RefResample(PictureOf(src, 0, 0, 5, 1), outWidth, 1, true, 0);
    int keys = 0, others = 0;
    for (int32_t i = 0; i < outWidth; ++i) {
      const ResampleWeights::Entry& e = list[i];
      int32_t black = 0;
      for (int32_t k = e.first; k <= e.last; ++k)
        if (k != 2) black += e.weights[k - e.first];
      const uint32_t got = Colour(dest, i, 0);
      EXPECT_EQ(got == 0, black >= 0xB000) << i << ": 0x" << std::hex << got;
      EXPECT_EQ(got, want.At(i, 0)) << i;
      ++(got == 0 ? keys : others);
    }
    EXPECT_GT(keys, 0);
    EXPECT_GT(others, 0);
  }
}

}  // namespace
