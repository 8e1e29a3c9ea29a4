#include <gtest/gtest.h>

#include <cstring>

#include "surface/cMemSurface.h"
#include "surface/cNullSurface.h"

#if OMB_I686
#define TEST_THISCALL __attribute__((thiscall))
#else
#define TEST_THISCALL
#endif

namespace {

// Slot of a virtual member: GCC's member pointers hold 1 + the byte offset
// in the table for virtual functions (both builds use this object model).
template <typename F>
int SlotOf(F member) {
  struct Raw {
    uintptr_t ptr;
    ptrdiff_t adjust;
  } raw;
  static_assert(sizeof(member) == sizeof(raw), "member pointer shape");
  std::memcpy(&raw, &member, sizeof raw);
  return int((raw.ptr - 1) / sizeof(void*));
}

TEST(SurfaceLayout, SlotsSitInTheExportedOrder) {
  struct Row {
    int slot;
    int actual;
    const char* name;
  };
  const Row rows[] = {
      {0, SlotOf(&cSurfaceImpl::Delete), "Delete"},
      {1, SlotOf(&cSurfaceImpl::MakeInstance), "MakeInstance"},
      {9, SlotOf(&cSurfaceImpl::GetScanLine), "GetScanLine"},
      {11, SlotOf(&cSurfaceImpl::SetDepth), "SetDepth"},
      {13, SlotOf(&cSurfaceImpl::GetKind), "GetKind"},
      {18, SlotOf(&cSurfaceImpl::Lock), "Lock"},
      {23, SlotOf(&cSurfaceImpl::GetClipRect), "GetClipRect"},
      {29, SlotOf(&cSurfaceImpl::GetPixel), "GetPixel"},
      {31, SlotOf(&cSurfaceImpl::Blit), "Blit"},
      {36, SlotOf(&cSurfaceImpl::Stretch), "Stretch"},
      {41, SlotOf(&cSurfaceImpl::FillRect), "FillRect"},
      {45, SlotOf(&cSurfaceImpl::DrawText), "DrawText"},
      {46, SlotOf(&cSurfaceImpl::IsEmpty), "IsEmpty"},
      {50, SlotOf(&cSurfaceImpl::SetPalette), "SetPalette"},
      {58, SlotOf(&cSurfaceImpl::GetBlackIndex), "GetBlackIndex"},
      {63, SlotOf(&cSurfaceImpl::SetTransparentColour), "SetTransparentColour"},
      {66, SlotOf(&cSurfaceImpl::BuildCollisionMask), "BuildCollisionMask"},
      {67, SlotOf(&cSurfaceImpl::Flip), "Flip"},
      {70, SlotOf(&cSurfaceImpl::Reserved70), "Reserved70"},
  };
  for (const Row& r : rows) EXPECT_EQ(r.actual, r.slot) << r.name;
}

// Calls a slot by number, as the library's callers do.
template <typename R, typename... A>
R CallSlot(cSurfaceImpl* object, int slot, A... args) {
  using Fn = R(TEST_THISCALL*)(cSurfaceImpl*, A...);
  void** table = *reinterpret_cast<void***>(object);
  return reinterpret_cast<Fn>(table[slot])(object, args...);
}

TEST(SurfaceLayout, CallsBySlotNumberReachTheRightBodies) {
  cMemSurface* surface = cMemSurface::CreatePrototype(32);
  ASSERT_NE(surface, nullptr);
  cSurfaceImpl* null = GetNullSurface();
  EXPECT_EQ((CallSlot<int32_t>(surface, 13)), SurfaceKindMemory);
  EXPECT_EQ((CallSlot<int32_t>(surface, 58)), 4);  // base: no palette
  EXPECT_EQ((CallSlot<int32_t>(null, 58)), 0);     // the null surface's own body
  EXPECT_EQ((CallSlot<int32_t>(surface, 9)), -1);
  CallSlot<void>(surface, 63, uint32_t{0x00102030});
  EXPECT_EQ((CallSlot<uint32_t>(surface, 65)), 0x00302010u);
  CallSlot<void>(surface, 0, uint32_t{1});  // slot 0 frees (the leak check sees it)
}

TEST(SurfaceLayout, ViewFollowsTheTablePointer) {
  cMemSurface surface;
  const auto base = reinterpret_cast<const char*>(&surface);
  EXPECT_EQ(reinterpret_cast<const char*>(&surface.view) - base, ptrdiff_t(sizeof(void*)));
  EXPECT_EQ(sizeof(cSurfaceImpl), sizeof(void*) + sizeof(PixelView));
  EXPECT_EQ(sizeof(cMemSurface), sizeof(cSurfaceImpl));
  surface.Delete(0);
}

}  // namespace
