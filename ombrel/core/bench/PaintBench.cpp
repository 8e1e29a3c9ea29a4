// Throughput of the tile paint filling a 640x480 surface (and a 64x64 one)
// with 1x1, 8x8 and 64x64 patterns at an offset, against references measured
// in the same run: pixman's SRC composite of a NORMAL-repeat source (the same
// tiling), a brute-force per-pixel modulo copy, and memcpy of the same bytes
// (the ceiling). The table at the end gives reference time / ours (above 1:
// faster).
#include <benchmark/benchmark.h>

#include "RatioReporter.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "palette/PaletteApi.h"
#include "paint/cPaintTile.h"
#include "surface/SurfaceHandle.h"
#include "surface/cMemSurface.h"

#if PIXEL_BENCH_REFERENCES
#include <pixman.h>
#endif

namespace {

constexpr int32_t kOffsetX = 3, kOffsetY = 5;

struct Case {
  cSurfaceHandle pattern;
  cSurfaceHandle dest;
  bool made = false;
};

cSurfaceImpl* MakeSurface(int32_t depth, int32_t w, int32_t h) {
  static std::map<int32_t, cMemSurface*> prototypes;
  cMemSurface*& p = prototypes[depth];
  if (p == nullptr) p = cMemSurface::CreatePrototype(depth);
  return p->MakeInstance(w, h);
}

Case& Surfaces(int32_t tile, int32_t w, int32_t h, int32_t depth) {
  static std::map<std::string, Case> made;
  Case& c = made[std::to_string(tile) + "/" + std::to_string(w) + "x" + std::to_string(h) + "/" +
                 std::to_string(depth)];
  if (c.made) return c;
  c.made = true;
  cSurfaceHandle::AttachImpl(&c.pattern, MakeSurface(depth, tile, tile));
  cSurfaceHandle::AttachImpl(&c.dest, MakeSurface(depth, w, h));
  std::mt19937 rng(7);
  const PixelView& v = cSurfaceHandle::GetImpl(&c.pattern)->view;
  for (int32_t y = 0; y < tile; ++y)
    for (int32_t i = 0; i < tile * v.bytesPerPixel; ++i) v.firstRow[int64_t(y) * v.pitch + i] = uint8_t(rng());
  return c;
}

void Count(benchmark::State& st, int32_t w, int32_t h) {
  st.SetItemsProcessed(int64_t(st.iterations()) * w * h);
}

using Body = void (*)(benchmark::State&, int32_t tile, int32_t w, int32_t h, int32_t depth);

void Ours(benchmark::State& st, int32_t tile, int32_t w, int32_t h, int32_t depth) {
  Case& c = Surfaces(tile, w, h, depth);
  cPaintTile paint(&c.pattern, kOffsetX, kOffsetY);
  for (auto _ : st) benchmark::DoNotOptimize(c.dest.FillRectPaint(0, 0, w, h, &paint));
  Count(st, w, h);
}

// Each destination pixel copied from the pattern at its remainder.
void Brute(benchmark::State& st, int32_t tile, int32_t w, int32_t h, int32_t depth) {
  Case& c = Surfaces(tile, w, h, depth);
  const PixelView& s = cSurfaceHandle::GetImpl(&c.pattern)->view;
  const PixelView& d = cSurfaceHandle::GetImpl(&c.dest)->view;
  const int32_t bpp = d.bytesPerPixel;
  for (auto _ : st) {
    for (int32_t y = 0; y < h; ++y) {
      const uint8_t* srow = s.firstRow + int64_t((y + kOffsetY) % tile) * s.pitch;
      uint8_t* drow = d.firstRow + int64_t(y) * d.pitch;
      for (int32_t x = 0; x < w; ++x) std::memcpy(drow + x * bpp, srow + ((x + kOffsetX) % tile) * bpp, bpp);
    }
    benchmark::ClobberMemory();
  }
  Count(st, w, h);
}

// The same bytes copied row by row from a buffer of the destination's size.
void Memcpy(benchmark::State& st, int32_t tile, int32_t w, int32_t h, int32_t depth) {
  Case& c = Surfaces(tile, w, h, depth);
  const PixelView& d = cSurfaceHandle::GetImpl(&c.dest)->view;
  std::vector<uint8_t> source(size_t(d.pitch) * h, 0x5A);
  for (auto _ : st) {
    for (int32_t y = 0; y < h; ++y)
      std::memcpy(d.firstRow + int64_t(y) * d.pitch, source.data() + size_t(y) * d.pitch, size_t(w) * d.bytesPerPixel);
    benchmark::ClobberMemory();
  }
  Count(st, w, h);
}

#if PIXEL_BENCH_REFERENCES
pixman_image_t* PixmanOf(const PixelView& v) {
  return pixman_image_create_bits(v.depth == 32 ? PIXMAN_x8r8g8b8 : PIXMAN_r8g8b8, v.width, v.height,
                                  reinterpret_cast<uint32_t*>(v.firstRow), int(v.pitch));
}

void PixmanRepeat(benchmark::State& st, int32_t tile, int32_t w, int32_t h, int32_t depth) {
  Case& c = Surfaces(tile, w, h, depth);
  pixman_image_t* s = PixmanOf(cSurfaceHandle::GetImpl(&c.pattern)->view);
  pixman_image_t* d = PixmanOf(cSurfaceHandle::GetImpl(&c.dest)->view);
  pixman_image_set_repeat(s, PIXMAN_REPEAT_NORMAL);
  for (auto _ : st) pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, kOffsetX, kOffsetY, 0, 0, 0, 0, w, h);
  pixman_image_unref(s);
  pixman_image_unref(d);
  Count(st, w, h);
}
#endif

struct Comparison {
  Body ref;
  const char* refName;
  double goal;
};

std::vector<Comparison> Comparisons() {
  std::vector<Comparison> c = {{&Brute, "brute force", 1.0}, {&Memcpy, "memcpy", 0.0}};
#if PIXEL_BENCH_REFERENCES
  c.push_back({&PixmanRepeat, "pixman SRC repeat", 1.0});
#endif
  return c;
}

struct Size {
  int32_t w, h;
};
constexpr Size kSizes[] = {{640, 480}, {64, 64}};
constexpr int32_t kDepths[] = {32, 24};
constexpr int32_t kTiles[] = {1, 8, 64};

std::string Name(int32_t tile, const char* impl, int32_t depth, Size s) {
  return "tile " + std::to_string(tile) + "/" + std::to_string(depth) + "/" + std::to_string(s.w) + "x" +
         std::to_string(s.h) + "/" + impl;
}

class RatioTable : public RatioReporter {
 public:
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n| pattern | depth | surface | reference | reference time / ours | goal |\n");
    std::printf("|---|---|---|---|---|---|\n");
    for (const Comparison& c : Comparisons())
      for (int32_t tile : kTiles)
        for (int32_t depth : kDepths)
          for (Size s : kSizes) {
            const std::optional<double> ours = Nanoseconds(Name(tile, "ours", depth, s));
            const std::optional<double> ref = Nanoseconds(Name(tile, c.refName, depth, s));
            if (!ours || !ref) continue;
            const double ratio = *ref / *ours;
            if (c.goal > 0)
              std::printf("| %dx%d | %d | %dx%d | %s | %.2fx | %.1fx %s |\n", tile, tile, depth, s.w, s.h,
                          c.refName, ratio, c.goal, ratio >= c.goal ? "met" : "MISSED");
            else
              std::printf("| %dx%d | %d | %dx%d | %s | %.2fx | (ceiling) |\n", tile, tile, depth, s.w, s.h,
                          c.refName, ratio);
          }
  }
};

}  // namespace

int main(int argc, char** argv) {
  PaletteStartup();
  std::map<std::string, bool> registered;
  for (const Comparison& c : Comparisons())
    for (int32_t tile : kTiles)
      for (int32_t depth : kDepths)
        for (Size s : kSizes)
          for (auto [body, impl] : {std::pair{&Ours, "ours"}, std::pair{c.ref, c.refName}}) {
            const std::string name = Name(tile, impl, depth, s);
            if (registered[name]) continue;
            registered[name] = true;
            benchmark::RegisterBenchmark(name.c_str(), [body = body, tile, s, depth](benchmark::State& st) {
              body(st, tile, s.w, s.h, depth);
            });
          }
  benchmark::Initialize(&argc, argv);
  RatioTable reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
