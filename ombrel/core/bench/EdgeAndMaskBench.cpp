// The passes that look at every pixel of a sprite or a surface beside the
// blit itself, against references measured in the same run:
//   a keyed blit with edge smoothing of a 64 x 64 sprite (32 and 16 bits)
//     against the plain keyed blit of the same sprite (goal: <= 10x);
//   BuildCollisionMask of 640 x 480 at 32 bits against a per-pixel loop
//     setting the same bits (goal: <= 1 ns per pixel);
//   GetContentBox of 640 x 480 at 32 bits (the content in a small corner, so
//     almost every row is read whole) against the same per-pixel loop over
//     the pixels (goal: <= 1 ns per pixel).
// Every surface is made before the timed loops.
#include <benchmark/benchmark.h>

#include "RatioReporter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "palette/PaletteApi.h"
#include "surface/BlitPaths.h"
#include "surface/MaskRecord.h"
#include "surface/cMemSurface.h"

namespace {

constexpr uint32_t kKey = 0x00FF00FF;
constexpr int32_t kSprite = 64, kWidth = 640, kHeight = 480;

struct Scene {
  cMemSurface* prototype = nullptr;
  cSurfaceImpl* sprite = nullptr;  // a disc with ragged edges on the key
  cSurfaceImpl* dest = nullptr;    // 640 x 480 of noise
  cSurfaceImpl* sparse = nullptr;  // 640 x 480 of key, a few pixels at the bottom right
};

Scene& SceneAt(int32_t depth) {
  static std::map<int32_t, Scene> scenes;
  Scene& s = scenes[depth];
  if (s.sprite != nullptr) return s;
  s.prototype = cMemSurface::CreatePrototype(depth);
  s.sprite = s.prototype->MakeInstance(kSprite, kSprite);
  s.dest = s.prototype->MakeInstance(kWidth, kHeight);
  s.sparse = s.prototype->MakeInstance(kWidth, kHeight);
  for (cSurfaceImpl* x : {s.sprite, s.sparse}) x->SetTransparentColour(kKey);
  std::mt19937 rng{uint32_t(depth)};
  for (int32_t y = 0; y < kSprite; ++y)
    for (int32_t x = 0; x < kSprite; ++x) {
      const int32_t dx = 2 * x - kSprite + 1, dy = 2 * y - kSprite + 1;
      const int32_t r = kSprite - 2 - int32_t(rng() % 6);
      s.sprite->SetPixel(x, y, dx * dx + dy * dy < r * r ? 0x00204080u + uint32_t(x * 3 + y) : kKey);
    }
  for (int32_t y = 0; y < kHeight; ++y)
    for (int32_t x = 0; x < kWidth; ++x) s.dest->SetPixel(x, y, rng() & 0x00FFFFFF);
  s.sparse->FillRect(0, 0, kWidth, kHeight, kKey);
  s.sparse->SetPixel(kWidth - 3, kHeight - 2, 0x00123456);
  s.sparse->SetPixel(kWidth - 9, kHeight - 5, 0x00654321);
  return s;
}

void SmoothedKeyedBlit(benchmark::State& st) {
  Scene& s = SceneAt(int32_t(st.range(0)));
  for (auto _ : st) s.sprite->Blit(s.dest, 100, 100, 0, 0, kSprite, kSprite, 1, 0, 0, BlitSmoothEdges);
  st.SetItemsProcessed(int64_t(st.iterations()) * kSprite * kSprite);
}

void KeyedBlit(benchmark::State& st) {
  Scene& s = SceneAt(int32_t(st.range(0)));
  for (auto _ : st) s.sprite->Blit(s.dest, 100, 100, 0, 0, kSprite, kSprite, 1, 0, 0, 0);
  st.SetItemsProcessed(int64_t(st.iterations()) * kSprite * kSprite);
}

void BuildMask(benchmark::State& st) {
  Scene& s = SceneAt(32);
  std::vector<uint8_t> mask(s.dest->BuildCollisionMask(nullptr, 0));
  for (auto _ : st) benchmark::DoNotOptimize(s.dest->BuildCollisionMask(mask.data(), 0));
  st.SetItemsProcessed(int64_t(st.iterations()) * kWidth * kHeight);
}

// The reference: the same bits set pixel by pixel with the pixel size read
// from the view, as the mask builder did.
void MaskByPixel(benchmark::State& st) {
  Scene& s = SceneAt(32);
  const PixelView& v = s.dest->view;
  std::vector<uint8_t> mask(s.dest->BuildCollisionMask(nullptr, 0));
  const uint32_t rowBytes = CollisionMaskRowBytes(kWidth);
  for (auto _ : st) {
    std::memset(mask.data(), 0, mask.size());
    for (int32_t y = 0; y < kHeight; ++y) {
      const uint8_t* p = v.firstRow + int64_t(y) * v.pitch;
      uint8_t* bits = mask.data() + sizeof(CollisionMaskHeader) + int64_t(y) * rowBytes;
      for (int32_t x = 0; x < kWidth; ++x, p += v.bytesPerPixel) {
        uint32_t value = 0;
        std::memcpy(&value, p, size_t(v.bytesPerPixel));
        if (value != v.transparentValue) bits[x >> 3] |= uint8_t(1u << (x & 7));
      }
    }
    benchmark::DoNotOptimize(mask.data());
  }
  st.SetItemsProcessed(int64_t(st.iterations()) * kWidth * kHeight);
}

void ContentBox(benchmark::State& st) {
  Scene& s = SceneAt(32);
  SurfaceRect box{};
  for (auto _ : st) benchmark::DoNotOptimize(s.sparse->GetContentBox(&box));
  st.SetItemsProcessed(int64_t(st.iterations()) * kWidth * kHeight);
}

void ContentByPixel(benchmark::State& st) {
  Scene& s = SceneAt(32);
  const PixelView& v = s.sparse->view;
  for (auto _ : st) {
    int32_t minX = kWidth - 1, minY = kHeight - 1, maxX = 0, maxY = 0;
    for (int32_t y = 0; y < kHeight; ++y) {
      const uint8_t* p = v.firstRow + int64_t(y) * v.pitch;
      for (int32_t x = 0; x < kWidth; ++x, p += v.bytesPerPixel) {
        uint32_t value = 0;
        std::memcpy(&value, p, size_t(v.bytesPerPixel));
        if (value == v.transparentValue) continue;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
      }
    }
    benchmark::DoNotOptimize(minX + minY + maxX + maxY);
  }
  st.SetItemsProcessed(int64_t(st.iterations()) * kWidth * kHeight);
}

}  // namespace

BENCHMARK(SmoothedKeyedBlit)->Arg(32)->Arg(16)->Unit(benchmark::kMicrosecond);
BENCHMARK(KeyedBlit)->Arg(32)->Arg(16)->Unit(benchmark::kMicrosecond);
BENCHMARK(BuildMask)->Unit(benchmark::kMicrosecond);
BENCHMARK(MaskByPixel)->Unit(benchmark::kMicrosecond);
BENCHMARK(ContentBox)->Unit(benchmark::kMicrosecond);
BENCHMARK(ContentByPixel)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  PaletteStartup();
  for (int32_t depth : {32, 16}) SceneAt(depth);  // every input before the first timed loop
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nTime / reference time (goals: smoothing <= 10x the keyed blit; mask and content box "
              "<= 1 ns per pixel):\n");
  const auto us = RatioReporter::TimeIn("us", 1e3, 2);
  reporter.PrintRatio("SmoothedKeyedBlit/32", "KeyedBlit/32", us);
  reporter.PrintRatio("SmoothedKeyedBlit/16", "KeyedBlit/16", us);
  reporter.PrintRatio("BuildMask", "MaskByPixel", us);
  reporter.PrintRatio("ContentBox", "ContentByPixel", us);
  const double pixels = double(kWidth) * kHeight;
  for (const char* name : {"BuildMask", "ContentBox"})
    if (const auto ns = reporter.Nanoseconds(name)) std::printf("  %-24s   %8.3f ns per pixel\n", name, *ns / pixels);
  benchmark::Shutdown();
  return 0;
}
