// A host program that stretches, rotates, saves and loads a BMP file through
// the exported surface handle, by ordinal only, with handles in its own
// storage.
#include <windows.h>

#include "HostHandle.h"
#include "OrdinalLibrary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

struct GeometryApi {
  explicit GeometryApi(const OrdinalLibrary& lib)
      : getPrototype(lib.Get<int32_t(WINAPI*)(Handle**, int32_t, int32_t, int32_t)>(172)),
        ctor(lib.Get<Handle*(OMB_THISCALL*)(Handle*)>(264)),
        dtor(lib.Get<void(OMB_THISCALL*)(Handle*)>(286)),
        create(lib.Get<void*(OMB_THISCALL*)(Handle*, int32_t, int32_t, const Handle*)>(372)),
        copyFrom(lib.Get<int32_t(OMB_THISCALL*)(Handle*, const Handle*, int32_t, int32_t)>(355)),
        getWidth(lib.Get<int32_t(OMB_THISCALL*)(const Handle*)>(585)),
        getHeight(lib.Get<int32_t(OMB_THISCALL*)(const Handle*)>(520)),
        setPixel(lib.Get<void(OMB_THISCALL*)(Handle*, int32_t, int32_t, uint32_t)>(745)),
        getPixel(lib.Get<int32_t(OMB_THISCALL*)(Handle*, int32_t, int32_t, uint32_t*)>(554)),
        fillAll(lib.Get<int32_t(OMB_THISCALL*)(Handle*, uint32_t)>(445)),
        stretch(lib.Get<int32_t(OMB_THISCALL*)(Handle*, Handle*, int32_t, int32_t, int32_t, int32_t,
                                               int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t,
                                               uint32_t, uint32_t)>(756)),
        stretchAll(lib.Get<int32_t(OMB_THISCALL*)(Handle*, Handle*, uint32_t)>(758)),
        rotate(lib.Get<int32_t(OMB_THISCALL*)(Handle*, Handle*, int32_t, int32_t, uint32_t, int32_t)>(702)),
        createRotatedRadians(
            lib.Get<int32_t(OMB_THISCALL*)(Handle*, Handle*, double, int32_t, uint32_t, int32_t)>(386)),
        getRotatedSize(lib.Get<void (*)(int32_t*, int32_t*, int32_t)>(565)),
        saveBmpFile(lib.Get<int32_t(OMB_THISCALL*)(Handle*, const char*, uint32_t)>(711)),
        loadBmpFile(lib.Get<int32_t(OMB_THISCALL*)(Handle*, const char*, uint32_t)>(618)),
        getDibSize(lib.Get<uint32_t(OMB_THISCALL*)(const Handle*)>(491)),
        dibRowBytes(lib.Get<uint32_t (*)(int32_t, int32_t)>(492)) {}

  int32_t(WINAPI* getPrototype)(Handle**, int32_t, int32_t, int32_t);
  Handle*(OMB_THISCALL* ctor)(Handle*);
  void(OMB_THISCALL* dtor)(Handle*);
  void*(OMB_THISCALL* create)(Handle*, int32_t, int32_t, const Handle*);
  int32_t(OMB_THISCALL* copyFrom)(Handle*, const Handle*, int32_t, int32_t);
  int32_t(OMB_THISCALL* getWidth)(const Handle*);
  int32_t(OMB_THISCALL* getHeight)(const Handle*);
  void(OMB_THISCALL* setPixel)(Handle*, int32_t, int32_t, uint32_t);
  int32_t(OMB_THISCALL* getPixel)(Handle*, int32_t, int32_t, uint32_t*);
  int32_t(OMB_THISCALL* fillAll)(Handle*, uint32_t);
  int32_t(OMB_THISCALL* stretch)(Handle*, Handle*, int32_t, int32_t, int32_t, int32_t, int32_t,
                                 int32_t, int32_t, int32_t, int32_t, uint32_t, uint32_t, uint32_t);
  int32_t(OMB_THISCALL* stretchAll)(Handle*, Handle*, uint32_t);
  int32_t(OMB_THISCALL* rotate)(Handle*, Handle*, int32_t, int32_t, uint32_t, int32_t);
  int32_t(OMB_THISCALL* createRotatedRadians)(Handle*, Handle*, double, int32_t, uint32_t, int32_t);
  void (*getRotatedSize)(int32_t*, int32_t*, int32_t);
  int32_t(OMB_THISCALL* saveBmpFile)(Handle*, const char*, uint32_t);
  int32_t(OMB_THISCALL* loadBmpFile)(Handle*, const char*, uint32_t);
  uint32_t(OMB_THISCALL* getDibSize)(const Handle*);
  uint32_t (*dibRowBytes)(int32_t, int32_t);

  uint32_t Pixel(Handle* h, int32_t x, int32_t y) const {
    uint32_t c = 0xDEADBEEF;
    EXPECT_TRUE(getPixel(h, x, y, &c)) << x << "," << y;
    return c;
  }
};

TEST(GeometryByOrdinal, HostStretchesRotatesSavesAndLoads) {
  OrdinalLibrary lib;
  ASSERT_TRUE(lib.Loaded()) << "LoadLibrary error " << GetLastError();
  GeometryApi api(lib);
  Handle* prototype = nullptr;
  ASSERT_TRUE(api.getPrototype(&prototype, 24, 0, 0));

  Handle src, big, turned, loaded;
  for (Handle* h : {&src, &big, &turned, &loaded}) api.ctor(h);
  ASSERT_NE(api.create(&src, 3, 2, prototype), nullptr);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x) api.setPixel(&src, x, y, 0x100000u + uint32_t(x | y << 8));

  // Doubled by the sized copy and by the stretch members.
  ASSERT_TRUE(api.copyFrom(&big, &src, 6, 4));
  EXPECT_EQ(api.getWidth(&big), 6);
  EXPECT_EQ(api.Pixel(&big, 5, 3), 0x100102u);
  ASSERT_TRUE(api.fillAll(&big, 0));
  ASSERT_TRUE(api.stretch(&src, &big, 0, 0, 6, 4, 0, 0, 3, 2, 0, 0, 0, 0));
  EXPECT_EQ(api.Pixel(&big, 2, 1), 0x100001u);
  ASSERT_TRUE(api.stretchAll(&src, &big, 1));  // resampled: corners keep their colours
  EXPECT_EQ(api.Pixel(&big, 0, 0), 0x100000u);

  // A quarter turn into a prepared destination, and a sized turn in radians.
  ASSERT_NE(api.create(&turned, 2, 3, prototype), nullptr);
  ASSERT_TRUE(api.rotate(&src, &turned, 90, 0, 0, 0));
  EXPECT_EQ(api.Pixel(&turned, 0, 2), 0x100000u);  // top-left goes to bottom-left
  ASSERT_TRUE(api.createRotatedRadians(&big, &turned, 1.0, 0, 0x00FF00FF, 0));
  int32_t w = 6, h = 4;
  api.getRotatedSize(&w, &h, 57);
  EXPECT_EQ(api.getWidth(&turned), w);
  EXPECT_EQ(api.getHeight(&turned), h);

  // A BMP file written and read back.
  char dir[MAX_PATH];
  ASSERT_NE(GetTempPathA(MAX_PATH, dir), 0u);
  const std::string path = std::string(dir) + "ombrel-geometry-" + std::to_string(GetCurrentProcessId()) + ".bmp";
  ASSERT_TRUE(api.saveBmpFile(&big, path.c_str(), 0));
  EXPECT_EQ(api.getDibSize(&big), 40 + 4 * api.dibRowBytes(6, 24));
  ASSERT_NE(api.create(&loaded, 1, 1, prototype), nullptr);
  ASSERT_TRUE(api.loadBmpFile(&loaded, path.c_str(), 0));
  DeleteFileA(path.c_str());
  ASSERT_EQ(api.getWidth(&loaded), 6);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 6; ++x) EXPECT_EQ(api.Pixel(&loaded, x, y), api.Pixel(&big, x, y));
  for (Handle* h2 : {&src, &big, &turned, &loaded}) api.dtor(h2);
}

}  // namespace
