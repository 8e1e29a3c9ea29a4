#include <gtest/gtest.h>

#include "LibError.h"
#include "surface/DirectDraw.h"
#include "surface/DirectDrawRegistry.h"
#include "surface/SurfaceHandle.h"
#include "surface/SurfaceLibrary.h"
#include "surface/SurfaceLibraryApi.h"
#include "surface/cNullSurface.h"

namespace {

class SurfaceLibraryTest : public ::testing::Test {
 protected:
  // The prototype handed out and the answer, as one value for tables.
  struct Look {
    cSurfaceHandle* handle;
    int32_t found;
  };
  Look Get(int32_t depth, int32_t type, int32_t option) {
    cSurfaceHandle* out = reinterpret_cast<cSurfaceHandle*>(this);  // must be overwritten
    const int32_t found = library_.GetPrototype(&out, depth, type, option);
    return {out, found};
  }
  SurfaceLibrary library_;
};

TEST_F(SurfaceLibraryTest, MemoryPrototypesByRoundedDepth) {
  library_.Init();
  struct Case {
    int32_t asked, depth, found;
  };
  const Case cases[] = {{-5, 8, 0}, {0, 8, 0},   {8, 8, 1},   {12, 15, 0}, {15, 15, 1},
                        {16, 16, 1}, {17, 24, 0}, {24, 24, 1}, {25, 32, 0}, {32, 32, 1},
                        {33, 32, 0}};
  for (const Case& c : cases) {
    const Look look = Get(c.asked, SurfaceTypeMemory, 0);
    ASSERT_NE(look.handle, nullptr) << c.asked;
    EXPECT_EQ(look.handle->GetDepth(), c.depth) << c.asked;
    EXPECT_EQ(look.found, c.found) << c.asked;
    EXPECT_EQ(look.handle->GetWidth(), 0) << c.asked;
    EXPECT_EQ(cSurfaceHandle::GetImpl(look.handle)->GetKind(), SurfaceKindMemory);
  }
  EXPECT_NE(Get(8, SurfaceTypeMemory, 0).handle->GetPalette(), nullptr);
  EXPECT_EQ(Get(16, SurfaceTypeMemory, 0).handle->GetPalette(), nullptr);
  library_.Exit();
}

TEST_F(SurfaceLibraryTest, DisplayTypesPickTheirPrototypeByOption) {
  library_.Init();
  cSurfaceHandle* dib = Get(24, SurfaceTypeScreen, 0).handle;
  cSurfaceHandle* ownDC = Get(24, SurfaceTypeOwnDC, 0).handle;
  ASSERT_NE(dib, nullptr);
  ASSERT_NE(ownDC, nullptr);
  EXPECT_NE(dib, ownDC);
  EXPECT_EQ(Get(24, SurfaceTypeSystemMem, 0).handle, dib);
  EXPECT_EQ(Get(24, SurfaceTypeOwnDC, 1).handle, ownDC);
  EXPECT_EQ(Get(24, SurfaceTypeScreen, 1).handle, ownDC);
  EXPECT_EQ(Get(24, SurfaceTypeSystemMem, 7).handle, ownDC);
  EXPECT_NE(Get(8, SurfaceTypeOwnDC, 0).handle, ownDC);  // one per depth
#ifdef _WIN32
  // DirectDraw: its prototypes, true only for the depth its surfaces get (the display's).
  for (int32_t type : {1, 2, 3}) {
    const Look look = Get(24, type, 2);
    ASSERT_NE(look.handle, nullptr);
    EXPECT_EQ(cSurfaceHandle::GetImpl(look.handle)->GetKind(),
              type == 3 ? SurfaceKindDirectDrawSysMem : SurfaceKindDirectDraw) << type;
    EXPECT_EQ(look.found, DirectDrawInUseDepth() == 24 ? 1 : 0) << type;
    EXPECT_EQ(Get(DirectDrawInUseDepth(), type, 2).found, 1) << type;
  }
#else
  // Without DirectDraw the own-DC DIB stands in, answering false.
  for (int32_t type : {1, 2, 3}) {
    const Look look = Get(24, type, 2);
    EXPECT_EQ(look.handle, ownDC) << type;
    EXPECT_EQ(look.found, 0) << type;
  }
#endif
  EXPECT_EQ(GetOwnDCPrototype(24) != nullptr, true);
#ifdef _WIN32
  // DIB sections exist: empty 0 x 0 prototypes of each kind and depth.
  EXPECT_EQ(cSurfaceHandle::GetImpl(dib)->GetKind(), SurfaceKindDIB);
  EXPECT_EQ(cSurfaceHandle::GetImpl(ownDC)->GetKind(), SurfaceKindDIBWithDC);
  EXPECT_EQ(dib->GetDepth(), 24);
  EXPECT_EQ(dib->GetWidth(), 0);
  EXPECT_EQ(Get(15, SurfaceTypeOwnDC, 0).found, 1);
#else
  EXPECT_FALSE(dib->IsValid());  // no DIB sections here: the handles stay empty
#endif

  const Look bad = Get(24, 4, 0);
  EXPECT_EQ(bad.handle, nullptr);
  EXPECT_EQ(bad.found, 0);
  EXPECT_EQ(library_.GetPrototype(nullptr, 24, 0, 0), 0);
  library_.Exit();
}

#ifdef _WIN32
// The thread's DirectDraw object lives from its first DirectDraw surface to
// the last exit of the library on that thread.
TEST_F(SurfaceLibraryTest, LastExitReleasesTheThreadsDirectDraw) {
  library_.Init();
  library_.Init();
  const Look look = Get(24, SurfaceTypeScreen, 2);
  ASSERT_NE(look.handle, nullptr);
  ASSERT_EQ(cSurfaceHandle::GetImpl(look.handle)->GetKind(), SurfaceKindDirectDraw);
  {
    cSurfaceHandle surface;  // makes the thread's object and primary when it has none
    ASSERT_NE(surface.Create(4, 4, look.handle), nullptr);
  }
  EXPECT_NE(GetThreadDirectDraw(), nullptr);
  EXPECT_NE(GetThreadPrimary(), nullptr);
  library_.Exit();
  EXPECT_NE(GetThreadDirectDraw(), nullptr);  // not the last exit
  library_.Exit();
  EXPECT_EQ(GetThreadDirectDraw(), nullptr);
  EXPECT_EQ(GetThreadPrimary(), nullptr);
}
#endif

TEST_F(SurfaceLibraryTest, StartUpAndExitAreCounted) {
  EXPECT_EQ(library_.Users(), 0);
  EXPECT_FALSE(Get(32, 0, 0).handle->IsValid());  // before start-up: empty handles
  library_.Exit();  // unmatched: ignored
  EXPECT_EQ(library_.Users(), 0);

  library_.Init();
  cSurfaceHandle* prototype = Get(32, 0, 0).handle;
  cSurfaceImpl* built = cSurfaceHandle::GetImpl(prototype);
  EXPECT_TRUE(prototype->IsValid());
  library_.Init();
  EXPECT_EQ(library_.Users(), 2);
  EXPECT_EQ(cSurfaceHandle::GetImpl(prototype), built);  // later calls only count

  // A surface made from a prototype outlives the prototype set.
  cSurfaceHandle surface;
  ASSERT_NE(surface.Create(3, 3, Get(8, 0, 0).handle), nullptr);

  library_.Exit();
  EXPECT_TRUE(prototype->IsValid());
  library_.Exit();
  EXPECT_EQ(library_.Users(), 0);
  EXPECT_FALSE(prototype->IsValid());
  EXPECT_FALSE(Get(32, 0, 0).found);

  cSurfaceHandle failed;
  EXPECT_EQ(failed.Create(4, 4, prototype), nullptr);
  EXPECT_EQ(failed.GetLastError(), ErrOutOfMemory);

  EXPECT_TRUE(surface.FillAll(0x0000FF));
  uint32_t c = 0;
  EXPECT_TRUE(surface.GetPixel(2, 2, &c));
  EXPECT_NE(surface.GetPalette(), nullptr);

  library_.Init();  // builds the set again
  EXPECT_TRUE(Get(32, 0, 0).found);
  library_.Exit();
}

TEST(SurfaceLibraryProcess, FlatStartUpCountsAndServesThePrototypes) {
  const int32_t before = SurfaceLibraryUsers();
  SurfaceLibraryInit();
  SurfaceLibraryInit();
  EXPECT_EQ(SurfaceLibraryUsers(), before + 2);
#ifdef _WIN32
  EXPECT_EQ(GetNullSurface()->isWindowsNT, 1);  // every system this runs on is of the NT family
#else
  EXPECT_EQ(GetNullSurface()->isWindowsNT, 0);
#endif
  cSurfaceHandle* prototype = nullptr;
  EXPECT_TRUE(GetSurfacePrototype(&prototype, 16, SurfaceTypeMemory, 0));
  cSurfaceHandle h;
  ASSERT_NE(h.Create(2, 2, prototype), nullptr);
  EXPECT_EQ(h.GetDepth(), 16);
  SurfaceLibraryExit();
  EXPECT_TRUE(prototype->IsValid());
  SurfaceLibraryExit();
  EXPECT_EQ(SurfaceLibraryUsers(), before);
  EXPECT_FALSE(prototype->IsValid());
}

}  // namespace
