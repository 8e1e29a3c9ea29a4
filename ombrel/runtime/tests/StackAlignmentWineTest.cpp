// A host compiled elsewhere keeps its stack 4-byte aligned only, as 32-bit
// Windows promises no more: every exported function must work whatever the
// stack pointer's place within 16 bytes when it is called. The ink blits
// (vector code) are called here with the stack at each of the four places
// and must draw what a call from an aligned stack draws.
#include <windows.h>

#include "HostHandle.h"
#include "OrdinalLibrary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

struct MemberCall {
  const void* fn;
  void* self;
  const uint32_t* args;
  uint32_t count;
  uint32_t place;  // the stack pointer modulo 16 at the call
};

// Calls a thiscall member with its arguments copied onto a stack placed as
// asked. Written in assembly so that no compiled code of ours realigns the
// stack between here and the library.
uint32_t CallFromStackPlace(const MemberCall& call) {
  uint32_t result;
  asm volatile(
      "movl %%esp, %%edi\n\t"
      "movl 12(%[c]), %%eax\n\t"
      "leal 64(,%%eax,4), %%eax\n\t"
      "subl %%eax, %%esp\n\t"
      "andl $-16, %%esp\n\t"
      "addl 16(%[c]), %%esp\n\t"
      "xorl %%eax, %%eax\n"
      "1:\n\t"
      "cmpl 12(%[c]), %%eax\n\t"
      "jae 2f\n\t"
      "movl 8(%[c]), %%edx\n\t"
      "movl (%%edx,%%eax,4), %%edx\n\t"
      "movl %%edx, (%%esp,%%eax,4)\n\t"
      "incl %%eax\n\t"
      "jmp 1b\n"
      "2:\n\t"
      "movl 4(%[c]), %%ecx\n\t"
      "call *(%[c])\n\t"
      "movl %%edi, %%esp\n\t"
      : "=a"(result)
      : [c] "S"(&call)
      : "ecx", "edx", "edi", "memory", "cc");
  return result;
}

uint32_t Arg(const void* p) { return uint32_t(reinterpret_cast<uintptr_t>(p)); }

class StackAlignment : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(lib.Loaded()) << "LoadLibrary error " << GetLastError(); }

  // A 64 x 8 surface of stripes in several colours.
  void MakeStriped(Handle* h, int32_t depth, uint32_t seed) {
    ctor(h);
    Handle* prototype = nullptr;
    ASSERT_TRUE(getPrototype(&prototype, depth, 0, 0)) << depth;
    ASSERT_NE(create(h, kWidth, kHeight, prototype), nullptr) << depth;
    for (int32_t x = 0; x < kWidth; x += 4) {
      const uint32_t colour = (seed * 0x9E3779B1u + uint32_t(x) * 0x01234567u) & 0xFFFFFF;
      ASSERT_TRUE(fillRect(h, x, 0, 4, kHeight, colour));
    }
  }
  std::vector<uint32_t> Pixels(Handle* h) {
    std::vector<uint32_t> all;
    for (int32_t y = 0; y < kHeight; ++y)
      for (int32_t x = 0; x < kWidth; ++x) {
        uint32_t c = 0xDEADBEEF;
        getPixel(h, x, y, &c);
        all.push_back(c);
      }
    return all;
  }
  // The destination after one ink blit, called from the stack place given
  // (or normally, for place < 0).
  std::vector<uint32_t> BlitResult(int32_t depth, uint32_t effect, int32_t mode, int place) {
    Handle src, dst;
    MakeStriped(&src, depth, 1);
    MakeStriped(&dst, depth, 2);
    setTransparentColour(&src, 0);
    const uint32_t args[] = {Arg(&dst), 0, 0, 0, 0, kWidth, kHeight, uint32_t(mode), effect, 64, 0};
    uint32_t drawn;
    if (place < 0) {
      drawn = uint32_t(blit(&src, &dst, 0, 0, 0, 0, kWidth, kHeight, mode, effect, 64, 0));
    } else {
      drawn = CallFromStackPlace({reinterpret_cast<const void*>(blit), &src, args, 11, uint32_t(place)});
    }
    std::vector<uint32_t> pixels = Pixels(&dst);
    pixels.push_back(drawn);
    dtor(&src);
    dtor(&dst);
    return pixels;
  }

  static constexpr int32_t kWidth = 64, kHeight = 8;
  OrdinalLibrary lib;
  int32_t(WINAPI* getPrototype)(Handle**, int32_t, int32_t, int32_t) =
      lib.Get<int32_t(WINAPI*)(Handle**, int32_t, int32_t, int32_t)>(172);
  Handle*(OMB_THISCALL* ctor)(Handle*) = lib.Get<Handle*(OMB_THISCALL*)(Handle*)>(264);
  void(OMB_THISCALL* dtor)(Handle*) = lib.Get<void(OMB_THISCALL*)(Handle*)>(286);
  void*(OMB_THISCALL* create)(Handle*, int32_t, int32_t, const Handle*) =
      lib.Get<void*(OMB_THISCALL*)(Handle*, int32_t, int32_t, const Handle*)>(372);
  int32_t(OMB_THISCALL* fillRect)(Handle*, int32_t, int32_t, int32_t, int32_t, uint32_t) =
      lib.Get<int32_t(OMB_THISCALL*)(Handle*, int32_t, int32_t, int32_t, int32_t, uint32_t)>(443);
  int32_t(OMB_THISCALL* getPixel)(Handle*, int32_t, int32_t, uint32_t*) =
      lib.Get<int32_t(OMB_THISCALL*)(Handle*, int32_t, int32_t, uint32_t*)>(554);
  void(OMB_THISCALL* setTransparentColour)(Handle*, uint32_t) =
      lib.Get<void(OMB_THISCALL*)(Handle*, uint32_t)>(753);
  int32_t(OMB_THISCALL* blit)(Handle*, Handle*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                              int32_t, uint32_t, uint32_t, uint32_t) =
      lib.Get<int32_t(OMB_THISCALL*)(Handle*, Handle*, int32_t, int32_t, int32_t, int32_t, int32_t,
                                     int32_t, int32_t, uint32_t, uint32_t, uint32_t)>(343);
};

TEST_F(StackAlignment, InkBlitsDrawTheSameFromEveryStackPlace) {
  for (int32_t depth : {8, 15, 16, 24, 32})
    for (uint32_t effect = 0; effect < 13; ++effect)
      for (int32_t mode : {0, 1}) {
        const std::vector<uint32_t> want = BlitResult(depth, effect, mode, -1);
        for (int place : {0, 4, 8, 12})
          ASSERT_EQ(BlitResult(depth, effect, mode, place), want)
              << "depth " << depth << " effect " << effect << " mode " << mode << " stack at 16n+"
              << place;
      }
}

}  // namespace
