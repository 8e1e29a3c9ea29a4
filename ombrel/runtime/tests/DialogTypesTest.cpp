// The image file dialog's type list, preview fit and palette choice.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "image/DialogTypes.h"

namespace {

const DialogStrings kStrings = {"Image files", "%s files (", "All files (*.*)|*.*||"};
const char* const kBmpExts[] = {"bmp", "dib", nullptr};
const char* const kNoExts[] = {nullptr};
const char* const kZanExts[] = {"zan", nullptr};

std::string FilterBytes(const DialogTypeBlocks& b) {
  size_t n = 0;
  while (n + 1 < kFilterBlock && (b.filter[n] || b.filter[n + 1])) ++n;
  return std::string(b.filter, n + 2);
}

TEST(DialogTypes, OpenListForTheBmpExampleIsByteExact) {
  const DialogFormat formats[] = {{"BMP", kBmpExts, 0x20504D42}};
  auto blocks = std::make_unique<DialogTypeBlocks>();
  BuildDialogTypes(formats, 1, true, 0x20504D42, kStrings, *blocks);
  // Three types: Image files, BMP files (*.bmp, *.dib), All files (*.*).
  const char expected[] = "Image files\0*.bmp;*.dib\0BMP files (*.bmp, *.dib)\0*.bmp;*.dib\0"
                          "All files (*.*)\0*.*\0";
  EXPECT_EQ(FilterBytes(*blocks), std::string(expected, sizeof expected));
  EXPECT_STREQ(blocks->perFormat, "BMP files (*.bmp, *.dib)|*.bmp;*.dib|");
  EXPECT_EQ(blocks->initialIndex, 1);
  EXPECT_STREQ(blocks->defaultExts, "bmp");
}

TEST(DialogTypes, SaveListSkipsPluginsWithoutExtensionsAndKeepsTheirOrder) {
  const DialogFormat formats[] = {{"Plain", kNoExts, 1}, {"BMP", kBmpExts, 2}, {"Anim", kZanExts, 3}};
  auto blocks = std::make_unique<DialogTypeBlocks>();
  BuildDialogTypes(formats, 3, false, 3, kStrings, *blocks);
  const char expected[] = "BMP files (*.bmp, *.dib)\0*.bmp;*.dib\0Anim files (*.zan)\0*.zan\0";
  EXPECT_EQ(FilterBytes(*blocks), std::string(expected, sizeof expected));
  EXPECT_EQ(blocks->entries, 2);
  EXPECT_EQ(blocks->initialIndex, 2);
  EXPECT_EQ(blocks->ids[0], 2u);
  EXPECT_EQ(blocks->ids[1], 3u);
  EXPECT_STREQ(blocks->defaultExts, "bmp");
  EXPECT_STREQ(blocks->defaultExts + 4, "zan");
}

// Hostile plug-in texts: long names, many and long extensions. Nothing is
// written past a block (the blocks sit between guards), and every entry that
// was made is whole.
TEST(DialogTypes, HostileTextsStayInsideTheirBlocks) {
  struct Guarded {
    char before[64];
    DialogTypeBlocks blocks;
    char after[64];
  };
  for (uint32_t seed = 0; seed < 200; ++seed) {
    std::mt19937 rng(seed);
    auto pick = [&](uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n)(rng); };
    std::deque<std::string> texts;  // stable addresses for the c_str() pointers
    std::vector<std::vector<const char*>> extLists;
    std::vector<DialogFormat> formats;
    const uint32_t count = 1 + pick(60);
    extLists.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
      texts.push_back(std::string(pick(3) == 0 ? 600 + pick(2000) : pick(20), static_cast<char>('a' + i % 26)));
      const char* name = texts.back().c_str();
      for (uint32_t e = pick(pick(2) ? 3 : 300); e > 0; --e) {
        texts.push_back(std::string(1 + pick(pick(4) == 0 ? 900 : 5), 'x'));
        extLists[i].push_back(texts.back().c_str());
      }
      extLists[i].push_back(nullptr);
      formats.push_back({name, extLists[i].data(), i});
    }
    auto g = std::make_unique<Guarded>();
    std::memset(g->before, 0x5C, sizeof g->before);
    std::memset(g->after, 0x5C, sizeof g->after);
    BuildDialogTypes(formats.data(), static_cast<int32_t>(count), seed % 2 == 0, 3, kStrings, g->blocks);
    for (char c : g->before) ASSERT_EQ(c, 0x5C) << seed;
    for (char c : g->after) ASSERT_EQ(c, 0x5C) << seed;
    ASSERT_LT(std::strlen(g->blocks.perFormat), kPerFormatBlock);
    // Each entry of the per-format list has its two "|".
    size_t bars = 0;
    for (const char* c = g->blocks.perFormat; *c; ++c) bars += *c == '|';
    EXPECT_EQ(bars, 2u * static_cast<size_t>(g->blocks.entries)) << seed;
  }
}

TEST(DialogPreview, FitsCentredAtItsOwnSizeOrScaledWithItsProportions) {
  struct Row {
    int32_t iw, ih, bw, bh;
    PreviewRect expected;
  } rows[] = {
      {400, 100, 80, 60, {0, 20, 80, 20}},  {40, 30, 80, 60, {20, 15, 40, 30}}, {60, 300, 80, 60, {34, 0, 12, 60}},
      {100, 120, 80, 60, {15, 0, 50, 60}},   {80, 60, 80, 60, {0, 0, 80, 60}},   {160, 120, 80, 60, {0, 0, 80, 60}},
      {0, 10, 80, 60, {0, 0, 0, 0}},
  };
  for (const Row& r : rows) {
    const PreviewRect got = FitPreview(r.iw, r.ih, r.bw, r.bh);
    EXPECT_EQ(got.x, r.expected.x) << r.iw << "x" << r.ih;
    EXPECT_EQ(got.y, r.expected.y) << r.iw << "x" << r.ih;
    EXPECT_EQ(got.width, r.expected.width) << r.iw << "x" << r.ih;
    EXPECT_EQ(got.height, r.expected.height) << r.iw << "x" << r.ih;
  }
}

TEST(DialogPreview, PaletteChoiceOnlyOnPalettedScreens) {
  EXPECT_EQ(ChoosePreviewPalette(8, true), PreviewPalette::Preview);
  EXPECT_EQ(ChoosePreviewPalette(8, false), PreviewPalette::Halftone);
  EXPECT_EQ(ChoosePreviewPalette(4, false), PreviewPalette::Halftone);
  EXPECT_EQ(ChoosePreviewPalette(16, true), PreviewPalette::None);
  EXPECT_EQ(ChoosePreviewPalette(32, false), PreviewPalette::None);
}

}  // namespace
