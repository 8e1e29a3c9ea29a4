// A host program writing text with ink effects on DIB surfaces and reading
// the cached system colours, by ordinal.
#include <windows.h>

#include "DisplayHost.h"
#include "HostHandle.h"
#include "OrdinalLibrary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

namespace {

using Library = OrdinalLibrary;
using Rect = RECT;  // the library's rectangle has the same layout

constexpr int kW = 120, kH = 40;
constexpr uint32_t kEffectInvert = 2;

struct TextApi {
  explicit TextApi(const Library& lib)
      : getPrototype(lib.Get<int32_t(WINAPI*)(Handle**, int32_t, int32_t, int32_t)>(172)),
        ctor(lib.Get<Handle*(OMB_THISCALL*)(Handle*)>(264)),
        dtor(lib.Get<void(OMB_THISCALL*)(Handle*)>(286)),
        create(lib.Get<void*(OMB_THISCALL*)(Handle*, int32_t, int32_t, const Handle*)>(372)),
        fillAll(lib.Get<int32_t(OMB_THISCALL*)(Handle*, uint32_t)>(445)),
        getPixel(lib.Get<int32_t(OMB_THISCALL*)(Handle*, int32_t, int32_t, uint32_t*)>(554)),
        textOut(lib.Get<int32_t(OMB_THISCALL*)(Handle*, const char*, int32_t, int32_t, int32_t,
                                               int32_t, const Rect*, uint32_t, HFONT, uint32_t,
                                               uint32_t, uint32_t, uint32_t)>(759)),
        drawText(lib.Get<int32_t(OMB_THISCALL*)(Handle*, const char*, int32_t, Rect*, uint32_t,
                                                uint32_t, HFONT, uint32_t, uint32_t, uint32_t,
                                                uint32_t, int32_t, int32_t, int32_t)>(411)) {}

  int32_t(WINAPI* getPrototype)(Handle**, int32_t, int32_t, int32_t);
  Handle*(OMB_THISCALL* ctor)(Handle*);
  void(OMB_THISCALL* dtor)(Handle*);
  void*(OMB_THISCALL* create)(Handle*, int32_t, int32_t, const Handle*);
  int32_t(OMB_THISCALL* fillAll)(Handle*, uint32_t);
  int32_t(OMB_THISCALL* getPixel)(Handle*, int32_t, int32_t, uint32_t*);
  int32_t(OMB_THISCALL* textOut)(Handle*, const char*, int32_t, int32_t, int32_t, int32_t,
                                 const Rect*, uint32_t, HFONT, uint32_t, uint32_t, uint32_t,
                                 uint32_t);
  int32_t(OMB_THISCALL* drawText)(Handle*, const char*, int32_t, Rect*, uint32_t, uint32_t, HFONT,
                                  uint32_t, uint32_t, uint32_t, uint32_t, int32_t, int32_t,
                                  int32_t);

  // A fresh surface of the type, filled with the background.
  void Make(Handle* h, int32_t depth, int32_t type, uint32_t background) const {
    Handle* prototype = nullptr;
    getPrototype(&prototype, depth, type, 0);
    ASSERT_NE(prototype, nullptr);
    ctor(h);
    ASSERT_NE(create(h, kW, kH, prototype), nullptr);
    ASSERT_TRUE(fillAll(h, background));
  }
  // Every pixel that differs from the background (as the surface stores it:
  // the bottom-right corner, which no test draws on), with its colour.
  std::vector<std::pair<int, uint32_t>> Changed(Handle* h) const {
    std::vector<std::pair<int, uint32_t>> out;
    uint32_t background = 0;
    EXPECT_TRUE(getPixel(h, kW - 1, kH - 1, &background));
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        uint32_t c = 0;
        EXPECT_TRUE(getPixel(h, x, y, &c));
        if (c != background) out.push_back({y * kW + x, c});
      }
    return out;
  }
};

std::set<int> Positions(const std::vector<std::pair<int, uint32_t>>& changed) {
  std::set<int> out;
  for (const auto& p : changed) out.insert(p.first);
  return out;
}

HFONT MakeFont(DWORD quality) {
  return CreateFontA(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, quality, DEFAULT_PITCH, "Tahoma");
}

// A colour as the display reproduces it: set on a bitmap compatible with the
// screen and read back.
COLORREF AsTheDisplayShows(COLORREF colour) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 1, 1);
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  SetPixel(memory, 0, 0, colour);
  const COLORREF shown = GetPixel(memory, 0, 0);
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return shown;
}

class TextAndColours : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(lib.Loaded()) << "LoadLibrary error " << GetLastError(); }
  Library lib;
};

// Plain text and the inverted-ink text change the same pixels, inside the
// clip; the effect path's font has no antialiased edges to mix with the key.
TEST_F(TextAndColours, EffectTextChangesThePlainTextsPixels) {
  TextApi api(lib);
  HFONT sharp = MakeFont(NONANTIALIASED_QUALITY);
  HFONT smooth = MakeFont(ANTIALIASED_QUALITY);
  ASSERT_NE(sharp, nullptr);
  const uint32_t white = 0xFFFFFF, red = 0x0000FF;
  const Rect clip{4, 3, 90, 30};
  for (int32_t depth : {32, 24, 16}) {
    for (int32_t type : {1, 2}) {
      SCOPED_TRACE(depth * 10 + type);
      Handle plain{}, inked{};
      api.Make(&plain, depth, type, white);
      api.Make(&inked, depth, type, white);
      EXPECT_EQ(api.textOut(&plain, "Wg8", 3, 6, 5, TA_LEFT | TA_TOP, &clip, red, sharp, 0, 0, 0, 0), 1);
      EXPECT_EQ(api.textOut(&inked, "Wg8", 3, 6, 5, TA_LEFT | TA_TOP, &clip, red, smooth, 0,
                            kEffectInvert, 0, 0), 1);
      const auto drawn = api.Changed(&plain);
      const auto inverted = api.Changed(&inked);
      EXPECT_GT(drawn.size(), 20u);
      EXPECT_EQ(Positions(drawn), Positions(inverted));
      for (const auto& p : drawn) {
        const int x = p.first % kW, y = p.first / kW;
        EXPECT_TRUE(x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom) << x << "," << y;
      }
      // Inverted red on a surface that keeps the top bits of each channel.
      const uint32_t expected = depth == 16 ? 0xF8FC00u : 0xFFFF00u;
      for (const auto& p : inverted) EXPECT_EQ(p.second, expected) << p.first;
      api.dtor(&plain);
      api.dtor(&inked);
    }
  }
  DeleteObject(sharp);
  DeleteObject(smooth);
}

TEST_F(TextAndColours, DrawTextEffectsMeasuringAndMemorySurfaces) {
  TextApi api(lib);
  HFONT font = MakeFont(NONANTIALIASED_QUALITY);
  const uint32_t grey = 0x808080;
  Handle plain{}, inked{}, measured{}, memory{};
  api.Make(&plain, 32, 1, grey);
  api.Make(&inked, 32, 1, grey);
  api.Make(&measured, 32, 1, grey);
  api.Make(&memory, 32, 0, grey);

  // Black text with an effect is drawn on the key 8, not on black.
  Rect r{2, 2, 110, 38};
  const int32_t height = api.drawText(&plain, "Text", -1, &r, DT_LEFT, 0, font, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_GT(height, 0);
  Rect r2{2, 2, 110, 38};
  EXPECT_EQ(api.drawText(&inked, "Text", -1, &r2, DT_LEFT, 0, font, 0, kEffectInvert, 0, 0, 0, 0, 0),
            height);
  const auto drawn = api.Changed(&plain);
  const auto inverted = api.Changed(&inked);
  EXPECT_GT(drawn.size(), 20u);
  EXPECT_EQ(Positions(drawn), Positions(inverted));
  for (const auto& p : inverted) EXPECT_EQ(p.second, 0xFFFFFFu);

  // Measuring draws nothing, whatever the effect, and reports the size.
  Rect m{0, 0, 0, 0};
  EXPECT_GT(api.drawText(&measured, "Measure me", -1, &m, DT_CALCRECT, 0, font, 0, kEffectInvert, 0,
                         0, 0, 0, 0), 0);
  EXPECT_GT(m.right, 0);
  EXPECT_GT(m.bottom, 0);
  EXPECT_TRUE(api.Changed(&measured).empty());

  // A memory surface has no device context: no text.
  const Rect clip{0, 0, kW, kH};
  EXPECT_EQ(api.textOut(&memory, "Hi", 2, 1, 1, 0, &clip, 0xFF, font, 0, 0, 0, 0), 0);
  EXPECT_EQ(api.textOut(&memory, "Hi", 2, 1, 1, 0, &clip, 0xFF, font, 0, kEffectInvert, 0, 0), 0);
  EXPECT_TRUE(api.Changed(&memory).empty());
  for (Handle* h : {&plain, &inked, &measured, &memory}) api.dtor(h);
  DeleteObject(font);
}

TEST_F(TextAndColours, SystemColoursAsTheDisplayShowsThem) {
  auto cache = lib.Get<int32_t(WINAPI*)()>(345);
  auto get = lib.Get<uint32_t(WINAPI*)(int32_t)>(569);
  auto refresh = lib.Get<int32_t(WINAPI*)()>(644);
  auto* loaded = lib.Get<int32_t*>(622);
  auto* table = lib.Get<uint32_t*>(629);
  ASSERT_TRUE(cache && get && refresh && loaded && table);

  ASSERT_EQ(*loaded, 0) << "nothing has read the colours yet in this process";
  EXPECT_EQ(refresh(), 0);  // before loading: nothing
  EXPECT_EQ(*loaded, 0);
  EXPECT_EQ(table[5], 0u);
  EXPECT_NE(cache(), 0);  // the screen context was given back
  EXPECT_EQ(*loaded, 0);  // a direct fill is not a load

  EXPECT_EQ(get(40), GetSysColor(40));  // outside the table: the platform's
  EXPECT_EQ(*loaded, 1);
  const int bits = DisplayBitsPerPixel();
  for (int i = 0; i < 29; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(get(i), table[i]);
    if (i == 25) {
      if (bits != 15 && bits != 16) {
        EXPECT_EQ(table[i], 0u);
      }
    } else if (bits == 15 || bits == 16) {
      EXPECT_EQ(table[i], AsTheDisplayShows(GetSysColor(i)));
    } else if (bits > 16) {
      EXPECT_EQ(table[i], GetSysColor(i));
    }
  }
  table[3] = 0x123456;
  EXPECT_NE(refresh(), 0);
  EXPECT_EQ(table[3], get(3));
  EXPECT_NE(table[3], 0x123456u);
}

}  // namespace
