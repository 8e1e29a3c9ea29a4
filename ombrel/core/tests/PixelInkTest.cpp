// Numeric edge cases of the true-colour routines and ink effects: the exact
// values at the ends of the ranges, byte 3, key and alpha rules, refusals.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "pixel/InkEffects.h"
#include "pixel/PixelView.h"
#include "support/PixelTestImage.h"

namespace {

uint32_t OMB_STDCALL XorCallback(uint32_t d, uint32_t s, uint32_t) { return d ^ s; }

struct Pair {
  PixelTestImage src, dest;
  Pair(int32_t depth, uint32_t flags, bool alpha = false)
      : src(1, 1, depth, false, alpha, flags), dest(1, 1, depth, false, false, flags) {
    src.view.transparentValue = 0x00FEDCBA;  // no case below uses it as a source
  }
  // One pixel through the keyed-ink (InkPixel) or opaque-ink (InkSpan) slot.
  uint32_t Keyed(uint32_t s, uint32_t d, uint32_t effect, uint32_t param) {
    src.SetRaw(0, 0, s);
    dest.SetRaw(0, 0, d);
    EXPECT_EQ(1, src.view.ops->BlitKeyedInk(&dest.view, 0, 0, &src.view, 0, 0, 1, 1, effect, param));
    return dest.Raw(0, 0);
  }
  uint32_t Opaque(uint32_t s, uint32_t d, uint32_t effect, uint32_t param) {
    src.SetRaw(0, 0, s);
    dest.SetRaw(0, 0, d);
    EXPECT_EQ(1, src.view.ops->BlitInk(&dest.view, 0, 0, &src.view, 0, 0, 1, 1, effect, param));
    return dest.Raw(0, 0);
  }
};

struct InkCase {
  const char* name;
  uint32_t effect, param, src, dest, keyed, opaque;  // expected 32-bit results
};

// Native values 0x??RRGGBB; no source below equals the key.
const InkCase kInkCases[] = {
    {"blend 64 of 200 over 100", 1, 64, 0x00C8C8C8, 0x00646464, 0x00969696, 0x00969696},
    {"blend 1 of 0 over 1 rounds down", 1, 1, 0x01000000, 0x00010101, 0, 0},
    {"blend 0 is the source, byte 3 cleared", 1, 0, 0x7F123456, 0xFF000000, 0x00123456, 0x00123456},
    {"blend 128 is the destination", 1, 128, 0x00123456, 0xFFABCDEF, 0x00ABCDEF, 0x00ABCDEF},
    {"add saturates", 9, 0, 0x003264C8, 0x00FA6464, 0x00FFC8FF, 0x00FFC8FF},
    {"sub floors at 0, byte 3 cleared", 11, 0, 0xFFC8C8C8, 0xEE640A64, 0, 0},
    {"mono of red", 10, 0, 0x00FF0000, 0x00123456, 0x004F4F4F, 0x004F4F4F},
    {"mono of green", 10, 0, 0x0000FF00, 0, 0x008F8F8F, 0x008F8F8F},
    {"mono of blue", 10, 0, 0x000000FF, 0, 0x001F1F1F, 0x001F1F1F},
    {"mono of white", 10, 0, 0x00FFFFFF, 0, 0x00FFFFFF, 0x00FFFFFF},
    {"invert keeps byte 3 per pixel, inverts it per span", 2, 0, 0x00102030, 0x12345678,
     0x00EFDFCF, 0xFFEFDFCF},
    {"xor of words", 3, 0, 0xF0F0F0F0, 0x0FF00FF0, 0xFF00FF00, 0xFF00FF00},
    {"and-not of words", 8, 0, 0x0F0F0F0F, 0xFFFFFFFF, 0xF0F0F0F0, 0xF0F0F0F0},
    {"except colour leaves that colour", 12, 64u << 24 | 0x0000FF, 0x00000000, 0x00FF0000,
     0x00FF0000, 0x00FF0000},
    {"except colour blends others", 12, 64u << 24 | 0x0000FF, 0x00000000, 0x00FE0000,
     0x007F0000, 0x007F0000},
};

TEST(PixelInk, EdgeValuesOnBothPaths) {
  for (uint32_t flags : {0u, kPixelFlagVector})
    for (const InkCase& c : kInkCases) {
      Pair p(32, flags);
      EXPECT_EQ(p.Keyed(c.src, c.dest, c.effect, c.param), c.keyed) << c.name << " flags " << flags;
      EXPECT_EQ(p.Opaque(c.src, c.dest, c.effect, c.param), c.opaque) << c.name << " flags " << flags;
      Pair q(24, flags);  // the same colour bytes, never a fourth byte
      EXPECT_EQ(q.Keyed(c.src & 0xFFFFFF, c.dest & 0xFFFFFF, c.effect, c.param), c.keyed & 0xFFFFFF)
          << c.name << " (24)";
      EXPECT_EQ(q.Opaque(c.src & 0xFFFFFF, c.dest & 0xFFFFFF, c.effect, c.param), c.opaque & 0xFFFFFF)
          << c.name << " (24)";
    }
}

TEST(PixelInk, BlendOverColourTakesKeyedDestinationsAsTheColour) {
  Pair p(32, 0);
  p.src.view.transparentValue = 0x00010203;
  // p = 128: the result is the destination, or the colour where it was the key.
  EXPECT_EQ(p.Opaque(0x00FFFFFF, 0x00010203, 6, 128u << 24 | 0x00445566), 0x00445566u);
  EXPECT_EQ(p.Opaque(0x00FFFFFF, 0x00010204, 6, 128u << 24 | 0x00445566), 0x00010204u);
}

TEST(PixelInk, RefusedEffectsAndWeightsLeaveTheDestination) {
  struct Refusal {
    uint32_t effect, param;
  };
  const Refusal refusals[] = {{7, 0}, {13, 0}, {0xFFFFFFFF, 0}, {1, 129}, {1, 0x80000000u},
                              {6, 129u << 24}, {12, 200u << 24}};
  for (int32_t depth : {24, 32})
    for (const Refusal& r : refusals) {
      Pair p(depth, 0);
      p.src.SetRaw(0, 0, 0x00112233);
      p.dest.SetRaw(0, 0, 0x00445566);
      EXPECT_EQ(0, p.src.view.ops->BlitInk(&p.dest.view, 0, 0, &p.src.view, 0, 0, 1, 1, r.effect, r.param));
      EXPECT_EQ(0, p.src.view.ops->BlitKeyedInk(&p.dest.view, 0, 0, &p.src.view, 0, 0, 1, 1, r.effect,
                                                r.param));
      EXPECT_EQ(p.dest.Raw(0, 0), 0x00445566u) << "effect " << r.effect;
      EXPECT_FALSE(InkRequestAccepted(r.effect, r.param));
    }
  EXPECT_TRUE(InkRequestAccepted(1, 128));
  EXPECT_TRUE(InkRequestAccepted(12, 128u << 24 | 0xFFFFFF));
}

TEST(PixelInk, EffectNoneIsThePlainBlit) {
  Pair p(32, 0);
  p.src.view.transparentValue = 0x00112233;
  EXPECT_EQ(p.Keyed(0x00112233, 0x00445566, 0, 0), 0x00445566u);  // keyed: skipped
  EXPECT_EQ(p.Opaque(0x00112233, 0x00445566, 0, 0), 0x00112233u);  // opaque: copied
}

TEST(PixelKeyed, KeyMatchesTheWholeWordIn32BitsAndThreeBytesIn24) {
  for (uint32_t flags : {0u, kPixelFlagVector}) {
    PixelTestImage src(4, 1, 32, false, false, flags), dest(4, 1, 32, false, false, flags);
    src.view.transparentValue = 0x00102030;
    const uint32_t in[4] = {0x00102030, 0x01102030, 0x00102031, 0x00102030};
    for (int i = 0; i < 4; ++i) {
      src.SetRaw(i, 0, in[i]);
      dest.SetRaw(i, 0, 0xCAFEF00D);
    }
    src.view.ops->BlitKeyed(&dest.view, 0, 0, &src.view, 0, 0, 4, 1);
    EXPECT_EQ(dest.Raw(0, 0), 0xCAFEF00Du);
    EXPECT_EQ(dest.Raw(1, 0), 0x01102030u);  // byte 3 set: drawn, byte 3 and all
    EXPECT_EQ(dest.Raw(2, 0), 0x00102031u);
    EXPECT_EQ(dest.Raw(3, 0), 0xCAFEF00Du);
  }
  PixelTestImage src(2, 1, 24, false, false, 0), dest(2, 1, 24, false, false, 0);
  src.view.transparentValue = 0x00102030;
  src.SetRaw(0, 0, 0x102030);
  src.SetRaw(1, 0, 0x102031);
  src.view.ops->BlitKeyed(&dest.view, 0, 0, &src.view, 0, 0, 2, 1);
  EXPECT_EQ(dest.Raw(0, 0), 0xA5A5A5u);
  EXPECT_EQ(dest.Raw(1, 0), 0x102031u);
}

TEST(PixelKeyed, AlphaPlaneReplacesTheKey) {
  for (uint32_t flags : {0u, kPixelFlagVector}) {
    // Eight pixels so that the vector path runs whole groups too.
    PixelTestImage src(8, 1, 32, false, true, flags), dest(8, 1, 32, false, false, flags);
    src.view.transparentValue = 0x00FF00FF;
    const uint8_t alpha[8] = {0, 255, 128, 1, 255, 0, 254, 255};
    for (int i = 0; i < 8; ++i) {
      src.SetRaw(i, 0, i == 4 ? 0x00FF00FF : 0x7FC86432);  // pixel 4 is the key colour
      src.SetAlpha(i, 0, alpha[i]);
      dest.SetRaw(i, 0, 0x33102030);
    }
    src.view.ops->BlitKeyed(&dest.view, 0, 0, &src.view, 0, 0, 8, 1);
    EXPECT_EQ(dest.Raw(0, 0), 0x33102030u) << "alpha 0 leaves";
    EXPECT_EQ(dest.Raw(1, 0), 0x7FC86432u) << "alpha 255 copies the word";
    // (200 * 128 + 16 * 128) >> 8 = 108, (100*128+32*128)>>8 = 66, (50*128+48*128)>>8 = 49
    EXPECT_EQ(dest.Raw(2, 0), 0x006C4231u) << "mixed, byte 3 = 0";
    EXPECT_EQ(dest.Raw(4, 0), 0x00FF00FFu) << "the key is not consulted";
    EXPECT_EQ(dest.Raw(5, 0), 0x33102030u);
    EXPECT_EQ(dest.Raw(7, 0), 0x7FC86432u);
  }
}

TEST(PixelSlots, PutGetFillReplaceAndMirrorTouchOnlyTheirBytes) {
  PixelTestImage img(3, 2, 32, true, false, 0);
  img.SetRaw(1, 1, 0xAB000000);
  img.view.ops->PutPixel(&img.view, 1, 1, 0x00332211);  // colour form: red 0x11
  EXPECT_EQ(img.Raw(1, 1), 0xAB112233u);                // byte 3 stays
  EXPECT_EQ(img.view.ops->GetPixel(&img.view, 1, 1), 0x00332211u);

  img.view.ops->FillRect(&img.view, 0, 0, img.view.pitch, 3, 2, 0xFF0000FF);
  EXPECT_EQ(img.Raw(2, 1), 0x00FF0000u);

  img.SetRaw(0, 0, 0x77FF0000);
  img.SetRaw(1, 0, 0x00FF0001);
  img.view.ops->ReplaceColour(&img.view, 0, 0, 3, 1, 12, 0x00010203, 0x000000FF);
  EXPECT_EQ(img.Raw(0, 0), 0x00030201u) << "matched whatever byte 3";
  EXPECT_EQ(img.Raw(1, 0), 0x00FF0001u);

  for (int i = 0; i < 3; ++i) img.SetRaw(i, 1, 0x11000000u * (i + 1) + i);
  img.view.ops->MirrorRows(&img.view, 0, 1, img.view.pitch, 3, 1);
  EXPECT_EQ(img.Raw(0, 1), 0x33000002u);
  EXPECT_EQ(img.Raw(1, 1), 0x22000001u);
  EXPECT_EQ(img.Raw(2, 1), 0x11000000u);
}

// 24-bit rows placed at the very end of their allocation: any read or write
// past a row's last pixel is an ASan report. Every 24-bit slot runs on them.
TEST(PixelSlots, TwentyFourBitRoutinesStayInsideTheirRows) {
  for (int32_t w : {1, 2, 5}) {
    std::vector<uint8_t> srcMem(3 * w, 0x40), destMem(3 * w, 0x80), alphaMem(w, 200);
    std::vector<uint8_t> wideMem(4 * w, 0);
    auto makeView = [w](uint8_t* p, int32_t depth) {
      PixelView v{};
      v.width = w;
      v.height = 1;
      v.depth = depth;
      v.depthIndex = depth == 24 ? 3 : 4;
      v.bytesPerPixel = depth / 8;
      v.firstRow = v.buffer = p;
      v.rowBytes = w * v.bytesPerPixel;
      v.pitch = static_cast<int32_t>(v.rowBytes);
      v.ops = GetPixelOps(v.depthIndex);
      return v;
    };
    PixelView src = makeView(srcMem.data(), 24), dest = makeView(destMem.data(), 24);
    PixelView wide = makeView(wideMem.data(), 32);
    const PixelOps* ops = src.ops;
    ops->BlitKeyed(&dest, 0, 0, &src, 0, 0, w, 1);
    for (uint32_t e : {1u, 2u, 3u, 4u, 5u, 6u, 8u, 9u, 10u, 11u, 12u}) {
      EXPECT_EQ(1, ops->BlitKeyedInk(&dest, 0, 0, &src, 0, 0, w, 1, e, 0));
      EXPECT_EQ(1, ops->BlitInk(&dest, 0, 0, &src, 0, 0, w, 1, e, 0));
    }
    ops->BlitCallback(&dest, 0, 0, &src, 0, 0, w, 1, &XorCallback, 0);
    ops->ReplaceColour(&dest, 0, 0, w, 1, 3 * w, 0, 0x404040);
    ops->ConvertRows(&wide, 0, 0, 4 * w, &src, 0, 0, w, 1);
    wide.ops->ConvertRows(&dest, 0, 0, 3 * w, &wide, 0, 0, w, 1);
    ops->FillRect(&dest, 0, 0, dest.pitch, w, 1, 0x123456);
    EXPECT_EQ(destMem[3 * w - 1], 0x56);  // red of 0x00123456, the last byte
    if (w >= 2) ops->MirrorRows(&dest, 0, 0, dest.pitch, w, 1);
    src.alphaFirstRow = src.alphaBlock = alphaMem.data();
    src.alphaPitch = w;
    ops->BlitKeyed(&dest, 0, 0, &src, 0, 0, w, 1);
    EXPECT_EQ(1, ops->BlitKeyedInk(&dest, 0, 0, &src, 0, 0, w, 1, 9, 0));
  }
}

TEST(PixelInk, KeyFillRules) {
  // InkKeyFill: the source's key stands for every source pixel.
  struct FillCase {
    uint32_t effect, param, key, dest, expected;
  };
  const FillCase cases[] = {
      {2, 0, 0x00102030, 0x12345678, 0xFFEFDFCF},  // NOT k
      {3, 0, 0, 0x12345678, 0x12345678},           // k = 0 leaves
      {4, 0, 0, 0x12345678, 0},                    // k = 0 fills 0
      {9, 0, 0, 0x7F010203, 0x7F010203},           // k = 0 leaves, byte 3 kept
      {9, 0, 0x00010101, 0x7F0101FF, 0x000202FF},
      {11, 0, 0, 0x7F010203, 0x7F010203},
      {10, 0, 0, 0x12345678, 0},                   // grey of 0
      {1, 64, 0x00C8C8C8, 0x00646464, 0x00969696},
  };
  for (bool vector : {false, true}) {
    const InkOps* ops = GetInkOps(4, vector);
    ASSERT_NE(ops, nullptr);
    EXPECT_EQ(ops->span[7], nullptr);
    EXPECT_EQ(ops->pixel[0], nullptr);
    for (const FillCase& c : cases) {
      InkState st;
      InkBegin(&st, ops, c.effect, c.param, 0, c.key, nullptr);
      uint8_t px[8];
      for (int i = 0; i < 2; ++i) std::memcpy(px + 4 * i, &c.dest, 4);
      ops->keyFill[c.effect](&st, px, 2);
      uint32_t got[2];
      std::memcpy(got, px, 8);
      EXPECT_EQ(got[0], c.expected) << "effect " << c.effect;
      EXPECT_EQ(got[1], c.expected) << "effect " << c.effect;
    }
  }
  EXPECT_EQ(GetInkOps(5, false), nullptr);
  EXPECT_EQ(GetInkOps(-1, true), nullptr);
}

}  // namespace
