// A host program that builds paints in its own storage through the exported
// constructors, fills surfaces with them (through the handle and through the
// paints' own tables by slot number), copies, assigns and destroys them, and
// draws shapes and gradients through device contexts, all by ordinal only.
#include <windows.h>

#include "HostHandle.h"
#include "OrdinalLibrary.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// A paint as the host holds it: the table pointer, then up to five fields.
struct HostPaint {
  const void* const* table;
  uint32_t fields[5];
};

constexpr uint32_t kInvalidData = 0x40010002u;
constexpr uint32_t kBack = 0x00123456;

using FillSlot = int32_t(OMB_THISCALL*)(HostPaint*, Handle*, int32_t, int32_t, int32_t, int32_t, int32_t);
using SetOriginSlot = uint32_t(OMB_THISCALL*)(HostPaint*, int32_t, int32_t);

class PaintByOrdinal : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.Loaded()) << "LoadLibrary error " << GetLastError();
    ASSERT_TRUE(getPrototype(&prototype, 32, 0, 0));
  }
  void Make(Handle* h, int32_t w, int32_t hh) {
    handleCtor(h);
    ASSERT_NE(create(h, w, hh, prototype), nullptr);
    ASSERT_TRUE(fillAll(h, kBack));
  }
  uint32_t Pixel(Handle* h, int32_t x, int32_t y) {
    uint32_t c = 0xDEADBEEF;
    EXPECT_TRUE(getPixel(h, x, y, &c)) << x << ", " << y;
    return c;
  }
  const void* Table(int ordinal) { return lib.Get<const void*>(ordinal); }

  OrdinalLibrary lib;
  Handle* prototype = nullptr;
  int32_t(WINAPI* getPrototype)(Handle**, int32_t, int32_t, int32_t) =
      lib.Get<int32_t(WINAPI*)(Handle**, int32_t, int32_t, int32_t)>(172);
  Handle*(OMB_THISCALL* handleCtor)(Handle*) = lib.Get<Handle*(OMB_THISCALL*)(Handle*)>(264);
  void(OMB_THISCALL* handleDtor)(Handle*) = lib.Get<void(OMB_THISCALL*)(Handle*)>(286);
  void*(OMB_THISCALL* create)(Handle*, int32_t, int32_t, const Handle*) =
      lib.Get<void*(OMB_THISCALL*)(Handle*, int32_t, int32_t, const Handle*)>(372);
  int32_t(OMB_THISCALL* fillAll)(Handle*, uint32_t) = lib.Get<int32_t(OMB_THISCALL*)(Handle*, uint32_t)>(445);
  void(OMB_THISCALL* setPixel)(Handle*, int32_t, int32_t, uint32_t) =
      lib.Get<void(OMB_THISCALL*)(Handle*, int32_t, int32_t, uint32_t)>(745);
  int32_t(OMB_THISCALL* getPixel)(Handle*, int32_t, int32_t, uint32_t*) =
      lib.Get<int32_t(OMB_THISCALL*)(Handle*, int32_t, int32_t, uint32_t*)>(554);
  int32_t(OMB_THISCALL* fillRectPaint)(Handle*, int32_t, int32_t, int32_t, int32_t, HostPaint*) =
      lib.Get<int32_t(OMB_THISCALL*)(Handle*, int32_t, int32_t, int32_t, int32_t, HostPaint*)>(444);
  int32_t(OMB_THISCALL* fillAllPaint)(Handle*, HostPaint*) =
      lib.Get<int32_t(OMB_THISCALL*)(Handle*, HostPaint*)>(446);
  HostPaint*(OMB_THISCALL* baseCtor)(HostPaint*) = lib.Get<HostPaint*(OMB_THISCALL*)(HostPaint*)>(230);
  HostPaint*(OMB_THISCALL* solidCtor)(HostPaint*, uint32_t) =
      lib.Get<HostPaint*(OMB_THISCALL*)(HostPaint*, uint32_t)>(234);
  HostPaint*(OMB_THISCALL* solidCopy)(HostPaint*, const HostPaint*) =
      lib.Get<HostPaint*(OMB_THISCALL*)(HostPaint*, const HostPaint*)>(233);
  HostPaint*(OMB_THISCALL* gradientCtor)(HostPaint*, uint32_t, uint32_t, int32_t, int32_t, int32_t) =
      lib.Get<HostPaint*(OMB_THISCALL*)(HostPaint*, uint32_t, uint32_t, int32_t, int32_t, int32_t)>(232);
  HostPaint*(OMB_THISCALL* tileCtor)(HostPaint*, Handle*, int32_t, int32_t) =
      lib.Get<HostPaint*(OMB_THISCALL*)(HostPaint*, Handle*, int32_t, int32_t)>(236);
  HostPaint*(OMB_THISCALL* solidAssign)(HostPaint*, const HostPaint*) =
      lib.Get<HostPaint*(OMB_THISCALL*)(HostPaint*, const HostPaint*)>(290);
  void(OMB_THISCALL* solidDtor)(HostPaint*) = lib.Get<void(OMB_THISCALL*)(HostPaint*)>(267);
  void(OMB_THISCALL* tileDtor)(HostPaint*) = lib.Get<void(OMB_THISCALL*)(HostPaint*)>(269);
  uint32_t(OMB_THISCALL* solidSetColour)(HostPaint*, uint32_t) =
      lib.Get<uint32_t(OMB_THISCALL*)(HostPaint*, uint32_t)>(725);
  uint32_t(OMB_THISCALL* solidGetColour)(HostPaint*) = lib.Get<uint32_t(OMB_THISCALL*)(HostPaint*)>(477);
  uint32_t* (*validateColour)(uint32_t*) = lib.Get<uint32_t* (*)(uint32_t*)>(771);
  int32_t(OMB_THISCALL* ellipse)(Handle*, int32_t, int32_t, int32_t, int32_t, uint32_t, int32_t, uint32_t, int32_t) =
      lib.Get<int32_t(OMB_THISCALL*)(Handle*, int32_t, int32_t, int32_t, int32_t, uint32_t, int32_t, uint32_t, int32_t)>(414);
  int32_t(OMB_THISCALL* paintRectangle)(Handle*, int32_t, int32_t, int32_t, int32_t, HostPaint*, int32_t, HostPaint*,
                                        uint32_t, uint32_t, uint32_t, uint32_t, int32_t) =
      lib.Get<int32_t(OMB_THISCALL*)(Handle*, int32_t, int32_t, int32_t, int32_t, HostPaint*, int32_t, HostPaint*,
                                     uint32_t, uint32_t, uint32_t, uint32_t, int32_t)>(680);
};

TEST_F(PaintByOrdinal, ConstructorsSetTheExportedTablesAndFields) {
  HostPaint base{}, solid{}, copy{}, gradient{}, tile{};
  EXPECT_EQ(baseCtor(&base), &base);
  EXPECT_EQ(base.table, Table(309));
  EXPECT_EQ(solidCtor(&solid, 0), &solid);
  EXPECT_EQ(solid.table, Table(311));
  EXPECT_EQ(solid.fields[0], 8u) << "black is stored as 8";
  EXPECT_EQ(solidCopy(&copy, &solid), &copy);
  EXPECT_EQ(copy.table, Table(311));
  EXPECT_EQ(solidGetColour(&copy), 8u);
  EXPECT_EQ(gradientCtor(&gradient, 0, 0x00FF00, 1, 5, 7), &gradient);
  EXPECT_EQ(gradient.table, Table(310));
  const uint32_t gradientFields[] = {5, 7, 8, 0x00FF00, 1};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(gradient.fields[i], gradientFields[i]) << i;
  Handle pattern{};
  EXPECT_EQ(tileCtor(&tile, &pattern, -3, 4), &tile);
  EXPECT_EQ(tile.table, Table(312));
  EXPECT_EQ(tile.fields[0], uint32_t(reinterpret_cast<uintptr_t>(&pattern)));
  EXPECT_EQ(int32_t(tile.fields[1]), -3);
  EXPECT_EQ(tile.fields[2], 4u);

  // The table's slots are the exported bodies.
  EXPECT_EQ(gradient.table[1], Table(733));
  EXPECT_EQ(gradient.table[2], Table(435));
  EXPECT_EQ(gradient.table[3], Table(436));
  EXPECT_EQ(solid.table[1], Table(732));
  EXPECT_EQ(solid.table[2], Table(434));
  EXPECT_EQ(solid.table[3], Table(437));
  EXPECT_EQ(tile.table[1], Table(734));
  EXPECT_EQ(tile.table[3], Table(438));

  // Slot 1 through the table: the previous origin packed.
  auto setOrigin = reinterpret_cast<SetOriginSlot>(const_cast<void*>(gradient.table[1]));
  EXPECT_EQ(setOrigin(&gradient, 1, 2), 5u | 7u << 16);
  EXPECT_EQ(setOrigin(&gradient, 0, 0), 1u | 2u << 16);

  // Assignment copies the colour and keeps the table; the shared destructor
  // leaves a base paint behind.
  HostPaint red{};
  solidCtor(&red, 0x0000FF);
  EXPECT_EQ(solidAssign(&copy, &red), &copy);
  EXPECT_EQ(copy.fields[0], 0x0000FFu);
  EXPECT_EQ(copy.table, Table(311));
  solidDtor(&copy);
  EXPECT_EQ(copy.table, Table(309));
  tileDtor(&tile);
  EXPECT_EQ(tile.table, Table(309));

  uint32_t black = 0, white = 0x00FFFFFF;
  EXPECT_EQ(validateColour(&black), &black);
  EXPECT_EQ(black, 8u);
  validateColour(&white);
  EXPECT_EQ(white, 0x00FFFFFFu);
}

TEST_F(PaintByOrdinal, HostPaintsFillSurfaces) {
  Handle target{}, pattern{};
  Make(&target, 12, 6);
  Make(&pattern, 4, 3);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 4; ++x) setPixel(&pattern, x, y, 0x00800000u | uint32_t(x + 1) | uint32_t(y + 1) << 8);

  // Tiles through the handle, negative offsets floored.
  HostPaint tile{};
  tileCtor(&tile, &pattern, -5, -1);
  ASSERT_TRUE(fillRectPaint(&target, 1, 1, 10, 4, &tile));
  for (int32_t y = 0; y < 6; ++y) {
    for (int32_t x = 0; x < 12; ++x) {
      const bool inside = x >= 1 && x < 11 && y >= 1 && y < 5;
      const int32_t px = ((x - 5) % 4 + 4) % 4, py = ((y - 1) % 3 + 3) % 3;
      EXPECT_EQ(Pixel(&target, x, y), inside ? Pixel(&pattern, px, py) : kBack) << x << ", " << y;
    }
  }

  // A solid paint through its own table's Fill, shape flag set: 0 draws 8.
  HostPaint solid{};
  solidCtor(&solid, 0x00FF0000);
  EXPECT_EQ(solidSetColour(&solid, 0), 0u);  // stored as given
  auto fill = reinterpret_cast<FillSlot>(const_cast<void*>(solid.table[3]));
  ASSERT_TRUE(fill(&solid, &target, 0, 0, 2, 2, 1));
  EXPECT_EQ(Pixel(&target, 1, 1), 8u);
  ASSERT_TRUE(fill(&solid, &target, 0, 0, 2, 2, 0));
  EXPECT_EQ(Pixel(&target, 1, 1), 0u);

  // FillAll through the handle covers the whole surface.
  HostPaint blue{};
  solidCtor(&blue, 0x00FF0000);
  ASSERT_TRUE(fillAllPaint(&target, &blue));
  EXPECT_EQ(Pixel(&target, 0, 0), 0x00FF0000u);
  EXPECT_EQ(Pixel(&target, 11, 5), 0x00FF0000u);

  // Gradients draw through a device context, which memory surfaces lack.
  HostPaint gradient{};
  gradientCtor(&gradient, 0x000000FF, 0x00FF0000, 1, 0, 0);
  target.lastError = 0;
  EXPECT_FALSE(fillAllPaint(&target, &gradient));
  EXPECT_EQ(target.lastError, kInvalidData);
  EXPECT_EQ(Pixel(&target, 5, 3), 0x00FF0000u);

  handleDtor(&target);
  handleDtor(&pattern);
}

// On a DIB section with its own context the gradient's bands and an ellipse
// are drawn; a painted rectangle on a memory surface takes its temporaries
// from the library's DIB sections.
TEST_F(PaintByOrdinal, HostDrawsThroughDeviceContexts) {
  Handle* ownDC = nullptr;
  ASSERT_TRUE(getPrototype(&ownDC, 32, 2, 0));
  Handle dib{};
  handleCtor(&dib);
  ASSERT_NE(create(&dib, 8, 12, ownDC), nullptr);
  ASSERT_TRUE(fillAll(&dib, kBack));
  HostPaint gradient{};
  gradientCtor(&gradient, 0x000A00, 0x000D00, 1, 0, 0);  // green 10 to 13: three bands
  ASSERT_TRUE(fillRectPaint(&dib, 0, 0, 8, 9, &gradient));
  for (int32_t y = 0; y < 12; ++y)
    EXPECT_EQ(Pixel(&dib, 4, y), y < 9 ? uint32_t(10 + y / 3) << 8 : kBack) << y;
  ASSERT_TRUE(fillAll(&dib, kBack));
  ASSERT_TRUE(ellipse(&dib, 0, 0, 8, 8, 0x0000FF, 0, 0, 1));
  EXPECT_EQ(Pixel(&dib, 4, 4), 0x0000FFu);
  EXPECT_EQ(Pixel(&dib, 0, 0), kBack);
  EXPECT_EQ(Pixel(&dib, 4, 9), kBack);

  Handle memory{};
  Make(&memory, 10, 10);
  HostPaint inside{}, outline{};
  solidCtor(&inside, 0xFF0000);
  solidCtor(&outline, 0x00FF00);
  ASSERT_TRUE(paintRectangle(&memory, 1, 1, 9, 9, &inside, 1, &outline, 0, 0, 0, 0, 1));
  EXPECT_EQ(Pixel(&memory, 0, 0), kBack);
  EXPECT_EQ(Pixel(&memory, 1, 5), 0x00FF00u);
  EXPECT_EQ(Pixel(&memory, 5, 5), 0xFF0000u);
  EXPECT_EQ(Pixel(&memory, 9, 5), kBack);
  handleDtor(&dib);
  handleDtor(&memory);
}

}  // namespace
