// The font bank: adding, sharing and releasing descriptions, the info
// record, the 16-bit form, and (on Windows) system fonts made from entries.
#include <gtest/gtest.h>

#include <cstring>

#include "AppFixture.h"
#include "font/FontBank.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

FontInfo Description(const char* face, int32_t height, int32_t weight = 400) {
  FontInfo info{};
  info.logFont.height = height;
  info.logFont.weight = weight;
  info.logFont.style.italic = 1;
  info.logFont.style.charSet = 0;
  info.logFont.style.pitchAndFamily = 0x22;
  std::strncpy(info.logFont.style.faceName, face, kFaceNameBytes - 1);
  return info;
}

using FontBankTest = OneAppTest;

TEST_F(FontBankTest, SharingGivesTheSameIdOnlyWhenAskedAndOnlyForTheSameDescription) {
  const FontInfo arial = Description("Arial", -12);
  const int32_t first = FontAdd(app_, kFontAddShare, &arial, 0, 0);
  ASSERT_GT(first, 0);
  EXPECT_EQ(FontAdd(app_, kFontAddShare, &arial, 0, 0), first);
  FontInfo info{};
  ASSERT_EQ(FontGetInfo(app_, first, &info, 0), 1);
  EXPECT_EQ(info.refs, 2);
  // The duplicate made on the way is gone again.
  EXPECT_EQ(FontGetInfo(app_, first + 1, &info, 0), 0);

  const int32_t unshared = FontAdd(app_, 0, &arial, 0, 0);
  EXPECT_NE(unshared, first);
  const FontInfo bold = Description("Arial", -12, 700);
  EXPECT_NE(FontAdd(app_, kFontAddShare, &bold, 0, 0), first);
}

TEST_F(FontBankTest, InfoRecordCarriesTheDescriptionAndItsChecksum) {
  const FontInfo courier = Description("Courier New", -16, 700);
  const int32_t id = FontAdd(app_, 0, &courier, 0, 0);
  FontInfo info;
  std::memset(&info, 0xAB, sizeof(info));
  ASSERT_EQ(FontGetInfo(app_, id, &info, 0), 1);
  EXPECT_EQ(std::memcmp(&info.logFont, &courier.logFont, sizeof(LogFontA)), 0);
  EXPECT_EQ(info.refs, 1);
  EXPECT_EQ(info.dataSize, 0u);
  // The entry's checksum covers a zero word and the 60 description bytes.
  uint8_t covered[64] = {};
  std::memcpy(covered + 4, &courier.logFont, sizeof(LogFontA));
  EXPECT_EQ(info.checksum, BankChecksum(covered, 64));
  const auto* entry = BankGetEntry(app_, BankRowFonts, uint32_t(id));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->headerSize, 80u);
  EXPECT_EQ(entry->dataSize, 0u);
}

TEST_F(FontBankTest, ReferencesAndMissingFonts) {
  const FontInfo font = Description("Tahoma", 10);
  const int32_t id = FontAdd(app_, 0, &font, 0, 0);
  EXPECT_EQ(FontAddRef(app_, id), 2);
  EXPECT_EQ(FontRelease(app_, id), 1);
  EXPECT_EQ(FontRelease(app_, id), 0);
  FontInfo info{};
  EXPECT_EQ(FontGetInfo(app_, id, &info, 0), 0);
  EXPECT_EQ(FontGetInfo(app_, 0, &info, 0), 0);
  EXPECT_EQ(FontCreateHandle(app_, 0), nullptr);
  EXPECT_EQ(FontCreateHandle(app_, id), nullptr);
  EXPECT_EQ(FontAddRef(app_, id), 0);
  EXPECT_EQ(FontAdd(nullptr, 0, &font, 0, 0), 0);
  EXPECT_EQ(FontAdd(app_, 0, nullptr, 0, 0), 0);
  EXPECT_EQ(FontGetInfo(nullptr, 1, &info, 0), 0);
  EXPECT_EQ(FontRelease(nullptr, 1), 0);
  EXPECT_EQ(FontCreateFrom16(nullptr), nullptr);
}

TEST_F(FontBankTest, SixteenBitFormKeepsSignsAndTheByteFields) {
  LogFont16 narrow{};
  narrow.height = -12;
  narrow.width = 7;
  narrow.escapement = -900;
  narrow.orientation = 450;
  narrow.weight = 700;
  narrow.style.italic = 1;
  narrow.style.underline = 2;
  narrow.style.strikeOut = 3;
  narrow.style.charSet = 4;
  narrow.style.outPrecision = 5;
  narrow.style.clipPrecision = 6;
  narrow.style.quality = 7;
  narrow.style.pitchAndFamily = 8;
  std::strcpy(narrow.style.faceName, "Verdana");
  LogFontA wide;
  std::memset(&wide, 0xCD, sizeof(wide));
  LogFontFrom16(&wide, &narrow);
  EXPECT_EQ(wide.height, -12);
  EXPECT_EQ(wide.width, 7);
  EXPECT_EQ(wide.escapement, -900);
  EXPECT_EQ(wide.orientation, 450);
  EXPECT_EQ(wide.weight, 700);
  EXPECT_EQ(wide.style.italic, 1);
  EXPECT_EQ(wide.style.pitchAndFamily, 8);
  EXPECT_STREQ(wide.style.faceName, "Verdana");

  LogFont16 back;
  std::memset(&back, 0xCD, sizeof(back));
  LogFontTo16(&back, &wide);
  EXPECT_EQ(std::memcmp(&back, &narrow, sizeof(back)), 0);
  // Wider values lose their top bits.
  wide.height = 0x12345;
  LogFontTo16(&back, &wide);
  EXPECT_EQ(back.height, 0x2345);
}

#ifdef _WIN32
TEST_F(FontBankTest, SystemFontsCarryTheStoredDescription) {
  const FontInfo font = Description("Arial", -12, 700);
  const int32_t id = FontAdd(app_, 0, &font, 0, 0);
  HFONT made = static_cast<HFONT>(FontCreateHandle(app_, id));
  ASSERT_NE(made, nullptr);
  LOGFONTA back{};
  ASSERT_EQ(GetObjectA(made, sizeof(back), &back), int(sizeof(back)));
  EXPECT_EQ(back.lfHeight, -12);
  EXPECT_EQ(back.lfWeight, 700);
  EXPECT_STREQ(back.lfFaceName, "Arial");
  DeleteObject(made);

  LogFont16 narrow{};
  LogFontTo16(&narrow, &font.logFont);
  HFONT fromNarrow = static_cast<HFONT>(FontCreateFrom16(&narrow));
  ASSERT_NE(fromNarrow, nullptr);
  ASSERT_EQ(GetObjectA(fromNarrow, sizeof(back), &back), int(sizeof(back)));
  EXPECT_EQ(back.lfHeight, -12);
  DeleteObject(fromNarrow);
}
#endif

}  // namespace
