// A host program making an icon from a surface and loading a bitmap
// resource compiled into itself, through the exported handle by ordinal.
#include <windows.h>

#include "HostHandle.h"
#include "OrdinalLibrary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

struct IconApi {
  explicit IconApi(const OrdinalLibrary& lib)
      : getPrototype(lib.Get<int32_t(WINAPI*)(Handle**, int32_t, int32_t, int32_t)>(172)),
        ctor(lib.Get<Handle*(OMB_THISCALL*)(Handle*)>(264)),
        dtor(lib.Get<void(OMB_THISCALL*)(Handle*)>(286)),
        create(lib.Get<void*(OMB_THISCALL*)(Handle*, int32_t, int32_t, const Handle*)>(372)),
        fillAll(lib.Get<int32_t(OMB_THISCALL*)(Handle*, uint32_t)>(445)),
        fillRect(lib.Get<int32_t(OMB_THISCALL*)(Handle*, int32_t, int32_t, int32_t, int32_t, uint32_t)>(443)),
        setTransparentColour(lib.Get<void(OMB_THISCALL*)(Handle*, uint32_t)>(753)),
        getPixel(lib.Get<int32_t(OMB_THISCALL*)(Handle*, int32_t, int32_t, uint32_t*)>(554)),
        getWidth(lib.Get<int32_t(OMB_THISCALL*)(const Handle*)>(585)),
        getHeight(lib.Get<int32_t(OMB_THISCALL*)(const Handle*)>(520)),
        createIcon(lib.Get<HICON(OMB_THISCALL*)(Handle*, int32_t, int32_t, uint32_t, const POINT*)>(383)),
        loadBmpResource(lib.Get<int32_t(OMB_THISCALL*)(Handle*, HINSTANCE, uint32_t, uint32_t)>(616)) {}

  int32_t(WINAPI* getPrototype)(Handle**, int32_t, int32_t, int32_t);
  Handle*(OMB_THISCALL* ctor)(Handle*);
  void(OMB_THISCALL* dtor)(Handle*);
  void*(OMB_THISCALL* create)(Handle*, int32_t, int32_t, const Handle*);
  int32_t(OMB_THISCALL* fillAll)(Handle*, uint32_t);
  int32_t(OMB_THISCALL* fillRect)(Handle*, int32_t, int32_t, int32_t, int32_t, uint32_t);
  void(OMB_THISCALL* setTransparentColour)(Handle*, uint32_t);
  int32_t(OMB_THISCALL* getPixel)(Handle*, int32_t, int32_t, uint32_t*);
  int32_t(OMB_THISCALL* getWidth)(const Handle*);
  int32_t(OMB_THISCALL* getHeight)(const Handle*);
  HICON(OMB_THISCALL* createIcon)(Handle*, int32_t, int32_t, uint32_t, const POINT*);
  int32_t(OMB_THISCALL* loadBmpResource)(Handle*, HINSTANCE, uint32_t, uint32_t);
};

class IconByOrdinal : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.Loaded()) << "LoadLibrary error " << GetLastError();
    ASSERT_TRUE(api.getPrototype(&prototype, 24, 0, 0));
  }
  OrdinalLibrary lib;
  IconApi api{lib};
  Handle* prototype = nullptr;
};

// A 64 x 32 picture, its left half the key, becomes a system-sized icon:
// shrunk to the icon's width and half its height, centred vertically, the
// mask set exactly on the key pixels (all rows above and below the picture,
// and its left half).
TEST_F(IconByOrdinal, IconMaskMarksTheKeyPixelsOfTheCentredPicture) {
  constexpr uint32_t kKey = 0x00FF00FF;
  Handle src;
  api.ctor(&src);
  ASSERT_NE(api.create(&src, 64, 32, prototype), nullptr);
  api.setTransparentColour(&src, kKey);
  ASSERT_TRUE(api.fillAll(&src, kKey));
  ASSERT_TRUE(api.fillRect(&src, 32, 0, 32, 32, 0x000000FF));
  HICON icon = api.createIcon(&src, 0, 0, kKey, nullptr);
  ASSERT_NE(icon, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  EXPECT_TRUE(info.fIcon);
  const int32_t w = GetSystemMetrics(SM_CXICON), h = GetSystemMetrics(SM_CYICON);
  BITMAP mask{};
  ASSERT_NE(GetObjectA(info.hbmMask, sizeof mask, &mask), 0);
  EXPECT_EQ(mask.bmWidth, w);
  EXPECT_EQ(mask.bmHeight, h);
  std::vector<uint8_t> bits(size_t(mask.bmWidthBytes) * h);
  ASSERT_EQ(GetBitmapBits(info.hbmMask, LONG(bits.size()), bits.data()), LONG(bits.size()));
  const int32_t pictureH = w * 32 / 64, top = (h - pictureH) / 2;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const bool transparent = (bits[size_t(y) * mask.bmWidthBytes + x / 8] >> (7 - x % 8)) & 1;
      const bool wantTransparent = y < top || y >= top + pictureH || x < w / 2;
      ASSERT_EQ(transparent, wantTransparent) << x << ", " << y;
    }
  DeleteObject(info.hbmMask);
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  DestroyIcon(icon);
  // With a hot spot it is a cursor.
  const POINT hot{3, 4};
  HICON cursor = api.createIcon(&src, 16, 16, kKey, &hot);
  ASSERT_NE(cursor, nullptr);
  ASSERT_TRUE(GetIconInfo(cursor, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 3u);
  EXPECT_EQ(info.yHotspot, 4u);
  DeleteObject(info.hbmMask);
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  DestroyIcon(cursor);
  api.dtor(&src);
}

TEST_F(IconByOrdinal, BitmapResourcesLoadAndMissingOnesFailQuietly) {
  Handle h;
  api.ctor(&h);
  ASSERT_NE(api.create(&h, 1, 1, prototype), nullptr);
  HINSTANCE self = GetModuleHandleA(nullptr);
  ASSERT_TRUE(api.loadBmpResource(&h, self, 7, 0));
  ASSERT_EQ(api.getWidth(&h), 3);
  ASSERT_EQ(api.getHeight(&h), 2);
  uint32_t c = 0;
  const uint32_t want[2][3] = {{0x0000FF, 0x00FF00, 0xFF0000}, {0xFFFFFF, 0x000000, 0x563412}};
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x) {
      ASSERT_TRUE(api.getPixel(&h, x, y, &c));
      EXPECT_EQ(c & 0xFFFFFF, want[y][x]) << x << ", " << y;
    }
  h.lastError = 0;
  EXPECT_FALSE(api.loadBmpResource(&h, self, 8, 0));
  EXPECT_EQ(h.lastError, 0u);
  EXPECT_EQ(api.getWidth(&h), 3);
  api.dtor(&h);
}

}  // namespace
