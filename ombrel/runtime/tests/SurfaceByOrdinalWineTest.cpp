// A host program drawing through the exported surface handle: it loads
// Ombrel.dll and reaches the prototypes, the handle's members (thiscall) and
// the flat functions (stdcall) by ordinal only, keeping handles in its own
// 16-byte storage as a client compiled elsewhere would.
#include <windows.h>

#include "HostHandle.h"
#include "OrdinalLibrary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr uint32_t kErrOutOfMemory = 0x40000000;

using Library = OrdinalLibrary;

// The members and flat functions the host uses, bound by ordinal.
struct SurfaceApi {
  explicit SurfaceApi(const Library& lib)
      : getPrototype(lib.Get<int32_t(WINAPI*)(Handle**, int32_t, int32_t, int32_t)>(172)),
        libraryInit(lib.Get<void(WINAPI*)()>(594)),
        libraryExit(lib.Get<void(WINAPI*)()>(461)),
        createHandle(lib.Get<Handle*(WINAPI*)()>(173)),
        deleteHandle(lib.Get<void(WINAPI*)(Handle*)>(174)),
        deleteHandle824(lib.Get<void(WINAPI*)(Handle*)>(824)),
        ctor(lib.Get<Handle*(OMB_THISCALL*)(Handle*)>(264)),
        dtor(lib.Get<void(OMB_THISCALL*)(Handle*)>(286)),
        assign(lib.Get<Handle*(OMB_THISCALL*)(Handle*, const Handle*)>(308)),
        create(lib.Get<void*(OMB_THISCALL*)(Handle*, int32_t, int32_t, const Handle*)>(372)),
        destroy(lib.Get<void(OMB_THISCALL*)(Handle*)>(401)),
        getImpl(lib.Get<void* (*)(const Handle*)>(568)),
        isValid(lib.Get<int32_t(OMB_THISCALL*)(const Handle*)>(610)),
        getLastError(lib.Get<uint32_t(OMB_THISCALL*)(const Handle*)>(523)),
        getWidth(lib.Get<int32_t(OMB_THISCALL*)(const Handle*)>(585)),
        getDepth(lib.Get<int32_t(OMB_THISCALL*)(const Handle*)>(487)),
        setOrigin(lib.Get<void(OMB_THISCALL*)(Handle*, int32_t, int32_t)>(736)),
        getClipRect(
            lib.Get<void(OMB_THISCALL*)(Handle*, int32_t*, int32_t*, int32_t*, int32_t*)>(476)),
        setPixel(lib.Get<void(OMB_THISCALL*)(Handle*, int32_t, int32_t, uint32_t)>(745)),
        getPixel(lib.Get<int32_t(OMB_THISCALL*)(Handle*, int32_t, int32_t, uint32_t*)>(554)),
        getPixelRGB(lib.Get<int32_t(OMB_THISCALL*)(Handle*, int32_t, int32_t, uint8_t*, uint8_t*,
                                                   uint8_t*)>(552)),
        fillRect(lib.Get<int32_t(OMB_THISCALL*)(Handle*, int32_t, int32_t, int32_t, int32_t,
                                                uint32_t)>(443)),
        fillAll(lib.Get<int32_t(OMB_THISCALL*)(Handle*, uint32_t)>(445)),
        fillAllIndex(lib.Get<int32_t(OMB_THISCALL*)(Handle*, uint32_t)>(439)),
        setTransparentColour(lib.Get<void(OMB_THISCALL*)(Handle*, uint32_t)>(753)),
        blit(lib.Get<int32_t(OMB_THISCALL*)(Handle*, Handle*, int32_t, int32_t, int32_t, int32_t,
                                            int32_t, int32_t, int32_t, uint32_t, uint32_t,
                                            uint32_t)>(343)),
        copyTo(lib.Get<int32_t(OMB_THISCALL*)(Handle*, Handle*)>(342)),
        mirrorXAll(lib.Get<int32_t(OMB_THISCALL*)(Handle*)>(698)) {}

  int32_t(WINAPI* getPrototype)(Handle**, int32_t, int32_t, int32_t);
  void(WINAPI* libraryInit)();
  void(WINAPI* libraryExit)();
  Handle*(WINAPI* createHandle)();
  void(WINAPI* deleteHandle)(Handle*);
  void(WINAPI* deleteHandle824)(Handle*);
  Handle*(OMB_THISCALL* ctor)(Handle*);
  void(OMB_THISCALL* dtor)(Handle*);
  Handle*(OMB_THISCALL* assign)(Handle*, const Handle*);
  void*(OMB_THISCALL* create)(Handle*, int32_t, int32_t, const Handle*);
  void(OMB_THISCALL* destroy)(Handle*);
  void* (*getImpl)(const Handle*);
  int32_t(OMB_THISCALL* isValid)(const Handle*);
  uint32_t(OMB_THISCALL* getLastError)(const Handle*);
  int32_t(OMB_THISCALL* getWidth)(const Handle*);
  int32_t(OMB_THISCALL* getDepth)(const Handle*);
  void(OMB_THISCALL* setOrigin)(Handle*, int32_t, int32_t);
  void(OMB_THISCALL* getClipRect)(Handle*, int32_t*, int32_t*, int32_t*, int32_t*);
  void(OMB_THISCALL* setPixel)(Handle*, int32_t, int32_t, uint32_t);
  int32_t(OMB_THISCALL* getPixel)(Handle*, int32_t, int32_t, uint32_t*);
  int32_t(OMB_THISCALL* getPixelRGB)(Handle*, int32_t, int32_t, uint8_t*, uint8_t*, uint8_t*);
  int32_t(OMB_THISCALL* fillRect)(Handle*, int32_t, int32_t, int32_t, int32_t, uint32_t);
  int32_t(OMB_THISCALL* fillAll)(Handle*, uint32_t);
  int32_t(OMB_THISCALL* fillAllIndex)(Handle*, uint32_t);
  void(OMB_THISCALL* setTransparentColour)(Handle*, uint32_t);
  int32_t(OMB_THISCALL* blit)(Handle*, Handle*, int32_t, int32_t, int32_t, int32_t, int32_t,
                              int32_t, int32_t, uint32_t, uint32_t, uint32_t);
  int32_t(OMB_THISCALL* copyTo)(Handle*, Handle*);
  int32_t(OMB_THISCALL* mirrorXAll)(Handle*);

  uint32_t Pixel(Handle* h, int32_t x, int32_t y) const {
    uint32_t c = 0xDEADBEEF;
    EXPECT_TRUE(getPixel(h, x, y, &c)) << x << "," << y;
    return c;
  }
  Handle* Prototype(int32_t depth) const {
    Handle* p = nullptr;
    EXPECT_TRUE(getPrototype(&p, depth, 0, 0)) << depth;
    return p;
  }
};

class SurfaceByOrdinal : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(lib.Loaded()) << "LoadLibrary error " << GetLastError(); }
  Library lib;
};

constexpr uint32_t kEffectXor = 3;
constexpr uint32_t kEffectAdd = 9;

TEST_F(SurfaceByOrdinal, HostDrawsBlitsWithEffectsAndReadsBack) {
  SurfaceApi api(lib);
  Handle* prototype = api.Prototype(32);  // the library started at load
  ASSERT_NE(prototype, nullptr);

  Handle src, dst;
  EXPECT_EQ(api.ctor(&src), &src);  // constructors hand back this
  api.ctor(&dst);
  EXPECT_FALSE(api.isValid(&src));
  EXPECT_NE(src.impl, nullptr);  // empty handles hold the shared null surface
  EXPECT_EQ(src.lastError, 0u);
  ASSERT_NE(api.create(&src, 8, 8, prototype), nullptr);
  ASSERT_NE(api.create(&dst, 8, 8, prototype), nullptr);
  EXPECT_EQ(api.getImpl(&src), src.impl);
  EXPECT_EQ(api.getDepth(&src), 32);

  // Source: a 4x4 colour square on the black key; destination: dark grey.
  ASSERT_TRUE(api.fillAll(&src, 0x000000));
  ASSERT_TRUE(api.fillRect(&src, 2, 2, 4, 4, 0x102030));
  api.setTransparentColour(&src, 0x000000);
  ASSERT_TRUE(api.fillAll(&dst, 0x0A0A0A));

  // Keyed: only the square lands.
  ASSERT_TRUE(api.blit(&src, &dst, 0, 0, 0, 0, 8, 8, 1, 0, 0, 0));
  EXPECT_EQ(api.Pixel(&dst, 1, 1), 0x0A0A0Au);
  EXPECT_EQ(api.Pixel(&dst, 2, 2), 0x102030u);
  EXPECT_EQ(api.Pixel(&dst, 5, 5), 0x102030u);
  EXPECT_EQ(api.Pixel(&dst, 6, 6), 0x0A0A0Au);

  // Xor of the square onto the top-left corner.
  ASSERT_TRUE(api.blit(&src, &dst, 0, 0, 2, 2, 4, 4, 0, kEffectXor, 0, 0));
  EXPECT_EQ(api.Pixel(&dst, 0, 0), 0x0A0A0Au ^ 0x102030u);
  EXPECT_EQ(api.Pixel(&dst, 3, 3), 0u);  // square over square
  EXPECT_EQ(api.Pixel(&dst, 4, 4), 0x102030u);

  // Add, through both origins: destination handle (16, 26) is its (6, 6).
  api.setOrigin(&dst, 10, 20);
  api.setOrigin(&src, -1, 0);
  ASSERT_TRUE(api.blit(&src, &dst, 16, 26, 1, 2, 1, 1, 0, kEffectAdd, 0, 0));
  uint8_t r = 0, g = 0, b = 0;
  ASSERT_TRUE(api.getPixelRGB(&dst, 16, 26, &r, &g, &b));
  EXPECT_EQ(r, 0x0A + 0x30);
  EXPECT_EQ(g, 0x0A + 0x20);
  EXPECT_EQ(b, 0x0A + 0x10);
  int32_t cx = 0, cy = 0, cw = 0, ch = 0;
  api.getClipRect(&dst, &cx, &cy, &cw, &ch);
  EXPECT_EQ(cx, 10);
  EXPECT_EQ(cy, 20);
  EXPECT_EQ(cw, 8);
  EXPECT_EQ(ch, 8);
  api.setOrigin(&dst, 0, 0);

  // Copies carry the picture, never the pointer; self-assignment keeps it.
  Handle copy;
  api.ctor(&copy);
  EXPECT_EQ(api.assign(&copy, &dst), &copy);
  ASSERT_TRUE(api.isValid(&copy));
  EXPECT_NE(copy.impl, dst.impl);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(api.Pixel(&copy, x, y), api.Pixel(&dst, x, y));
  api.setPixel(&copy, 0, 0, 0xFFFFFF);
  EXPECT_EQ(api.Pixel(&dst, 0, 0), 0x0A0A0Au ^ 0x102030u);
  EXPECT_EQ(api.assign(&copy, &copy), &copy);
  EXPECT_EQ(api.Pixel(&copy, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(api.Pixel(&copy, 6, 6), 0x1A2A3Au);

  // CopyTo, then a mirror of the whole destination.
  api.setOrigin(&src, 0, 0);
  ASSERT_NE(api.create(&src, 8, 8, prototype), nullptr);  // replaces the old picture
  ASSERT_TRUE(api.copyTo(&copy, &src));
  EXPECT_EQ(api.Pixel(&src, 0, 0), 0xFFFFFFu);
  ASSERT_TRUE(api.mirrorXAll(&src));
  EXPECT_EQ(api.Pixel(&src, 7, 0), 0xFFFFFFu);

  api.dtor(&copy);
  api.dtor(&dst);
  api.dtor(&src);
  EXPECT_FALSE(api.isValid(&src));  // left empty: destroying it again frees nothing
  api.dtor(&src);
}

TEST_F(SurfaceByOrdinal, HeapHandlesAndFailedCreation) {
  SurfaceApi api(lib);
  Handle* h = api.createHandle();
  ASSERT_NE(h, nullptr);
  EXPECT_FALSE(api.isValid(h));
  EXPECT_EQ(api.getWidth(h), 0);
  Handle* prototype = api.Prototype(16);
  ASSERT_NE(api.create(h, 0, -3, prototype), nullptr);  // at least 1 x 1
  EXPECT_EQ(api.getWidth(h), 1);
  Handle empty;
  api.ctor(&empty);
  EXPECT_EQ(api.create(h, 5, 5, &empty), nullptr);
  EXPECT_EQ(api.getLastError(h), kErrOutOfMemory);
  EXPECT_FALSE(api.isValid(h));
  api.deleteHandle(h);
  api.deleteHandle(nullptr);

  Handle* other = api.createHandle();
  ASSERT_NE(api.create(other, 3, 3, api.Prototype(8)), nullptr);
  ASSERT_TRUE(api.fillAllIndex(other, 5));
  api.deleteHandle824(other);  // the second ordinal of the same function
  api.dtor(&empty);
}

TEST_F(SurfaceByOrdinal, StartUpAndExitAreCounted) {
  SurfaceApi api(lib);
  Handle* prototype = nullptr;
  ASSERT_TRUE(api.getPrototype(&prototype, 24, 0, 0));
  api.libraryInit();  // two users now: the load and this call
  api.libraryExit();
  EXPECT_TRUE(api.isValid(prototype));
  Handle made;
  api.ctor(&made);
  ASSERT_NE(api.create(&made, 2, 2, prototype), nullptr);

  api.libraryExit();  // the load's own start-up is matched: the set goes
  EXPECT_FALSE(api.isValid(prototype));
  EXPECT_FALSE(api.getPrototype(&prototype, 24, 0, 0));
  Handle failed;
  api.ctor(&failed);
  EXPECT_EQ(api.create(&failed, 2, 2, prototype), nullptr);
  EXPECT_EQ(api.getLastError(&failed), kErrOutOfMemory);
  ASSERT_TRUE(api.fillAll(&made, 0x00FF00));  // surfaces outlive the prototypes
  EXPECT_EQ(api.Pixel(&made, 1, 1), 0x00FF00u);

  api.libraryInit();  // built again; unloading will match this call
  ASSERT_TRUE(api.getPrototype(&prototype, 24, 0, 0));
  EXPECT_TRUE(api.isValid(prototype));
  Handle* bad = reinterpret_cast<Handle*>(&made);
  EXPECT_FALSE(api.getPrototype(&bad, 24, 4, 0));  // no such type
  EXPECT_EQ(bad, nullptr);
  EXPECT_FALSE(api.getPrototype(nullptr, 24, 0, 0));
  api.dtor(&made);
  api.dtor(&failed);
}

struct ThreadWork {
  const SurfaceApi* api;
  uint32_t read;
};

DWORD WINAPI DrawOnAnotherThread(void* param) {
  auto* work = static_cast<ThreadWork*>(param);
  const SurfaceApi& api = *work->api;
  Handle* prototype = nullptr;
  if (!api.getPrototype(&prototype, 8, 0, 0)) return 1;
  Handle h;
  api.ctor(&h);
  if (!api.create(&h, 4, 4, prototype)) return 2;
  api.setPixel(&h, 1, 1, 0x0000FF);
  api.getPixel(&h, 1, 1, &work->read);
  api.dtor(&h);
  return 0;
}

TEST_F(SurfaceByOrdinal, ThreadsStartAndLeaveTheirPaletteContexts) {
  SurfaceApi api(lib);
  ThreadWork work{&api, 0};
  for (int i = 0; i < 3; ++i) {
    HANDLE thread = CreateThread(nullptr, 0, DrawOnAnotherThread, &work, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(work.read & 0xFFFFFF, 0x0000FFu);  // pure red is in the default palette
  }
}

// Surfaces of all five depths made by ordinal: keyed and ink blits between
// every pair land the source's colour (as the destination stores it) where
// the source is opaque and leave the rest.
TEST_F(SurfaceByOrdinal, EveryDepthDrawsIntoEveryDepth) {
  SurfaceApi api(lib);
  const int32_t depths[] = {8, 15, 16, 24, 32};
  constexpr uint32_t kColour = 0x0000FF;  // red
  constexpr uint32_t kBackground = 0x000000;
  for (int32_t from : depths)
    for (int32_t to : depths)
      for (uint32_t effect : {0u, kEffectAdd, kEffectXor})
        for (int32_t mode : {0, 1}) {
          Handle src, dst;
          api.ctor(&src);
          api.ctor(&dst);
          ASSERT_NE(api.create(&src, 6, 4, api.Prototype(from)), nullptr) << from;
          ASSERT_NE(api.create(&dst, 6, 4, api.Prototype(to)), nullptr) << to;
          // Source: a red 2 x 2 square at (2, 1) on a white key; destination black.
          ASSERT_TRUE(api.fillAll(&src, 0xFFFFFF));
          ASSERT_TRUE(api.fillRect(&src, 2, 1, 2, 2, kColour));
          api.setTransparentColour(&src, 0xFFFFFF);
          ASSERT_TRUE(api.fillAll(&dst, kBackground));
          // The colours as the destination's format stores them.
          Handle scratch;
          api.ctor(&scratch);
          ASSERT_NE(api.create(&scratch, 1, 1, api.Prototype(to)), nullptr);
          api.setPixel(&scratch, 0, 0, api.Pixel(&src, 0, 0));
          const uint32_t white = api.Pixel(&scratch, 0, 0);
          api.setPixel(&scratch, 0, 0, kBackground);
          const uint32_t black = api.Pixel(&scratch, 0, 0);
          api.setPixel(&scratch, 0, 0, api.Pixel(&src, 2, 1));
          const uint32_t red = api.Pixel(&scratch, 0, 0);
          api.dtor(&scratch);
          ASSERT_TRUE(api.blit(&src, &dst, 0, 0, 0, 0, 6, 4, mode, effect, 0, 0))
              << from << " to " << to << " mode " << mode << " effect " << effect;
          for (int32_t y = 0; y < 4; ++y)
            for (int32_t x = 0; x < 6; ++x) {
              const bool square = x >= 2 && x < 4 && y >= 1 && y < 3;
              // Red over black by copy, add or xor stays red; the white key
              // lands only in an opaque copy (xor and add of white over black
              // give white too).
              const bool landed = square || mode == 0;
              const uint32_t want = square ? red : landed ? white : black;
              // An 8-bit colour result resolves through the inverse table,
              // whose 15-bit cell may answer with an entry of the same cell.
              const uint32_t got = api.Pixel(&dst, x, y) & 0xFFFFFF;
              const uint32_t cell = to == 8 ? 0xF8F8F8 : 0xFFFFFF;
              ASSERT_EQ(got & cell, want & cell)
                  << from << " to " << to << " mode " << mode << " effect " << effect << " at " << x
                  << "," << y;
            }
          api.dtor(&src);
          api.dtor(&dst);
        }
}

}  // namespace
