// Throughput of the geometry slots against references measured in the same
// run: the nearest-pixel stretch (x2, x0.5) against pixman's SRC with a scale
// transform and nearest filter and against a brute-force per-pixel stretch;
// the resample against pixman's separable convolution (linear kernel, box
// sampling); rotation by 33 degrees against pixman's affine transform
// (nearest, and bilinear for the smoothed form) and a brute-force rotation.
// The table printed at the end gives reference time / our time (above 1:
// faster).
#include <benchmark/benchmark.h>

#include "RatioReporter.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <deque>

#include "palette/PaletteApi.h"
#include "surface/SurfaceHandle.h"
#include "surface/cMemSurface.h"

#if PIXEL_BENCH_REFERENCES
#include <pixman.h>
#endif

namespace {

// Source and destination surfaces of one case, made once and kept.
struct Pair {
  cSurfaceImpl* src = nullptr;
  cSurfaceImpl* dest = nullptr;
};

cSurfaceImpl* MakeSurface(int32_t depth, int32_t w, int32_t h) {
  static std::map<int32_t, cMemSurface*> prototypes;
  cMemSurface*& p = prototypes[depth];
  if (p == nullptr) p = cMemSurface::CreatePrototype(depth);
  return p->MakeInstance(w, h);
}

// "x2", "x0.5" or "rot33": the destination size follows.
Pair& Surfaces(const std::string& kind, int32_t w, int32_t h, int32_t depth) {
  static std::map<std::string, Pair> made;
  const std::string key = kind + std::to_string(w) + "x" + std::to_string(h) + "/" + std::to_string(depth);
  Pair& p = made[key];
  if (p.src != nullptr) return p;
  p.src = MakeSurface(depth, w, h);
  std::mt19937 rng(7);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t i = 0; i < w * p.src->view.bytesPerPixel; ++i)
      p.src->view.firstRow[int64_t(y) * p.src->view.pitch + i] = uint8_t(rng());
  int32_t dw = w * 2, dh = h * 2;
  if (kind == "x0.5") {
    dw = w / 2;
    dh = h / 2;
  } else if (kind == "rot33") {
    const double c = std::cos(33 * 3.14159265358979 / 180), s = std::sin(33 * 3.14159265358979 / 180);
    dw = int32_t(w * c + h * s);
    dh = int32_t(w * s + h * c);
  }
  p.dest = MakeSurface(depth, dw, dh);
  return p;
}

void Count(benchmark::State& st, const Pair& p) {
  st.SetItemsProcessed(int64_t(st.iterations()) * p.dest->view.width * p.dest->view.height);
}

using Body = void (*)(benchmark::State&, const std::string& kind, int32_t w, int32_t h, int32_t depth);

void OursStretch(benchmark::State& st, const std::string& kind, int32_t w, int32_t h, int32_t depth,
                 uint32_t flags) {
  Pair& p = Surfaces(kind, w, h, depth);
  const int32_t dw = p.dest->view.width, dh = p.dest->view.height;
  for (auto _ : st) p.src->Stretch(p.dest, 0, 0, dw, dh, 0, 0, w, h, 0, 0, 0, flags);
  Count(st, p);
}
void OursNearest(benchmark::State& st, const std::string& kind, int32_t w, int32_t h, int32_t depth) {
  OursStretch(st, kind, w, h, depth, 0);
}
void OursResample(benchmark::State& st, const std::string& kind, int32_t w, int32_t h, int32_t depth) {
  OursStretch(st, kind, w, h, depth, StretchResample);
}

// Per pixel: the source index by a division, the pixel copied by bytes.
void BruteNearest(benchmark::State& st, const std::string& kind, int32_t w, int32_t h, int32_t depth) {
  Pair& p = Surfaces(kind, w, h, depth);
  const PixelView& s = p.src->view;
  const PixelView& d = p.dest->view;
  const int32_t bytes = s.bytesPerPixel;
  for (auto _ : st) {
    for (int32_t y = 0; y < d.height; ++y)
      for (int32_t x = 0; x < d.width; ++x)
        std::memcpy(d.firstRow + int64_t(y) * d.pitch + int64_t(x) * bytes,
                    s.firstRow + int64_t(y * s.height / d.height) * s.pitch +
                        int64_t(x * s.width / d.width) * bytes,
                    size_t(bytes));
    benchmark::ClobberMemory();
  }
  Count(st, p);
}

void OursRotate(benchmark::State& st, const std::string& kind, int32_t w, int32_t h, int32_t depth,
                int32_t antiAlias) {
  Pair& p = Surfaces(kind, w, h, depth);
  for (auto _ : st) p.src->Rotate(p.dest, 33, antiAlias, 0, 0);
  Count(st, p);
}
void OursRotateNearest(benchmark::State& st, const std::string& kind, int32_t w, int32_t h, int32_t depth) {
  OursRotate(st, kind, w, h, depth, 0);
}
void OursRotateSmooth(benchmark::State& st, const std::string& kind, int32_t w, int32_t h, int32_t depth) {
  OursRotate(st, kind, w, h, depth, 1);
}

// Per pixel: the turned point by multiplications in double precision.
void BruteRotate(benchmark::State& st, const std::string& kind, int32_t w, int32_t h, int32_t depth) {
  Pair& p = Surfaces(kind, w, h, depth);
  const PixelView& s = p.src->view;
  const PixelView& d = p.dest->view;
  const int32_t bytes = s.bytesPerPixel;
  const double c = std::cos(33 * 3.14159265358979 / 180), sn = std::sin(33 * 3.14159265358979 / 180);
  for (auto _ : st) {
    for (int32_t y = 0; y < d.height; ++y)
      for (int32_t x = 0; x < d.width; ++x) {
        const double u = x - d.width / 2.0, v = y - d.height / 2.0;
        const int32_t sx = int32_t(std::floor(s.width / 2.0 + u * c - v * sn + 0.5));
        const int32_t sy = int32_t(std::floor(s.height / 2.0 + u * sn + v * c + 0.5));
        uint8_t* to = d.firstRow + int64_t(y) * d.pitch + int64_t(x) * bytes;
        if (sx >= 0 && sy >= 0 && sx < s.width && sy < s.height)
          std::memcpy(to, s.firstRow + int64_t(sy) * s.pitch + int64_t(sx) * bytes, size_t(bytes));
        else
          std::memset(to, 0, size_t(bytes));
      }
    benchmark::ClobberMemory();
  }
  Count(st, p);
}

// A 4x4 source stretched to 10^8 x 64 at the top-left of a 64x64 surface
// (its clip cuts the stretch to 64x64), against the 4x4 -> 64x64 stretch that
// writes as many pixels unclipped: a clipped stretch costs what its clip holds.
constexpr int32_t kHugeWidth = 100000000;
Pair& ClipPair(int32_t depth) {
  static std::map<int32_t, Pair> made;
  Pair& p = made[depth];
  if (p.src != nullptr) return p;
  p.src = MakeSurface(depth, 4, 4);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t i = 0; i < 4 * p.src->view.bytesPerPixel; ++i)
      p.src->view.firstRow[int64_t(y) * p.src->view.pitch + i] = uint8_t(y * 16 + i);
  p.dest = MakeSurface(depth, 64, 64);
  return p;
}
void OursClippedHuge(benchmark::State& st, int32_t depth) {
  Pair& p = ClipPair(depth);
  for (auto _ : st) p.src->Stretch(p.dest, 0, 0, kHugeWidth, 64, 0, 0, 4, 4, 0, 0, 0, 0);
  st.SetItemsProcessed(int64_t(st.iterations()) * 64 * 64);
}
void OursUnclippedSmall(benchmark::State& st, int32_t depth) {
  Pair& p = ClipPair(depth);
  for (auto _ : st) p.src->Stretch(p.dest, 0, 0, 64, 64, 0, 0, 4, 4, 0, 0, 0, 0);
  st.SetItemsProcessed(int64_t(st.iterations()) * 64 * 64);
}
std::string ClipName(int32_t depth, const char* impl) {
  return "clipped stretch 4x4 to 10^8x64/" + std::to_string(depth) + "/" + impl;
}

// A maze (38% walls, white) on a dark surface, filled from a free pixel;
// each iteration first restores the picture (the same copy in both).
struct Maze {
  cSurfaceHandle surface;
  std::vector<uint8_t> original;
  std::vector<uint8_t> wall;
  int32_t seedX = 0, seedY = 0;
};

Maze& MazeOf(int32_t w, int32_t h, int32_t depth) {
  static std::map<std::string, Maze> made;
  Maze& m = made[std::to_string(w) + "x" + std::to_string(h) + "/" + std::to_string(depth)];
  if (!m.original.empty()) return m;
  m.surface.impl = MakeSurface(depth, w, h);
  m.surface.FillAll(0x00101010);
  std::mt19937 rng(5);
  m.wall.assign(size_t(w) * h, 0);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      if (rng() % 100 < 38) {
        m.wall[size_t(y) * w + x] = 1;
        m.surface.SetBufferPixel(x, y, 0x00FFFFFF);
      }
  m.wall[0] = 0;
  m.surface.SetBufferPixel(0, 0, 0x00101010);
  const PixelView& v = m.surface.impl->view;
  m.original.assign(v.firstRow, v.firstRow + int64_t(v.pitch) * h);
  return m;
}

void Restore(Maze& m) {
  const PixelView& v = m.surface.impl->view;
  std::memcpy(v.firstRow, m.original.data(), m.original.size());
}

void OursFill(benchmark::State& st, const std::string&, int32_t w, int32_t h, int32_t depth) {
  Maze& m = MazeOf(w, h, depth);
  for (auto _ : st) {
    Restore(m);
    m.surface.FloodFillSimple(0, 0, 0x000000FF, 0, 0, 0, 0, 0);
  }
  st.SetItemsProcessed(int64_t(st.iterations()) * w * h);
}

// Four-way fill with a queue over the wall map, writing the pixels.
void QueueFill(benchmark::State& st, const std::string&, int32_t w, int32_t h, int32_t depth) {
  Maze& m = MazeOf(w, h, depth);
  const PixelView& v = m.surface.impl->view;
  std::vector<uint8_t> seen(m.wall.size());
  std::deque<std::pair<int32_t, int32_t>> queue;
  for (auto _ : st) {
    Restore(m);
    std::fill(seen.begin(), seen.end(), 0);
    queue.assign(1, {0, 0});
    seen[0] = 1;
    while (!queue.empty()) {
      const auto [x, y] = queue.front();
      queue.pop_front();
      uint8_t* p = v.firstRow + int64_t(y) * v.pitch + int64_t(x) * v.bytesPerPixel;
      p[0] = 0;
      p[1] = 0;
      p[2] = 0xFF;
      const std::pair<int32_t, int32_t> next[4] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
      for (auto [nx, ny] : next) {
        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
        const size_t i = size_t(ny) * w + nx;
        if (seen[i] || m.wall[i]) continue;
        seen[i] = 1;
        queue.push_back({nx, ny});
      }
    }
    benchmark::ClobberMemory();
  }
  st.SetItemsProcessed(int64_t(st.iterations()) * w * h);
}

#if PIXEL_BENCH_REFERENCES
pixman_image_t* PixmanOf(const PixelView& v) {
  return pixman_image_create_bits(v.depth == 32 ? PIXMAN_x8r8g8b8 : PIXMAN_r8g8b8, v.width, v.height,
                                  reinterpret_cast<uint32_t*>(v.firstRow), int(v.pitch));
}

// Destination point -> source point.
pixman_transform_t TransformOf(const std::string& kind, const PixelView& s, const PixelView& d) {
  pixman_f_transform_t f;
  if (kind == "rot33") {
    const double c = std::cos(33 * 3.14159265358979 / 180), sn = std::sin(33 * 3.14159265358979 / 180);
    pixman_f_transform_init_translate(&f, -d.width / 2.0, -d.height / 2.0);
    pixman_f_transform_t turn;
    pixman_f_transform_init_rotate(&turn, c, sn);
    pixman_f_transform_multiply(&f, &turn, &f);
    pixman_f_transform_t back;
    pixman_f_transform_init_translate(&back, s.width / 2.0, s.height / 2.0);
    pixman_f_transform_multiply(&f, &back, &f);
  } else {
    pixman_f_transform_init_scale(&f, double(s.width) / d.width, double(s.height) / d.height);
  }
  pixman_transform_t t;
  pixman_transform_from_pixman_f_transform(&t, &f);
  return t;
}

void Pixman(benchmark::State& st, const std::string& kind, int32_t w, int32_t h, int32_t depth,
            pixman_filter_t filter) {
  Pair& p = Surfaces(kind, w, h, depth);
  pixman_image_t* s = PixmanOf(p.src->view);
  pixman_image_t* d = PixmanOf(p.dest->view);
  const pixman_transform_t t = TransformOf(kind, p.src->view, p.dest->view);
  pixman_image_set_transform(s, &t);
  if (filter == PIXMAN_FILTER_SEPARABLE_CONVOLUTION) {
    int n = 0;
    const double sx = double(p.src->view.width) / p.dest->view.width;
    const double sy = double(p.src->view.height) / p.dest->view.height;
    pixman_fixed_t* params = pixman_filter_create_separable_convolution(
        &n, pixman_double_to_fixed(sx), pixman_double_to_fixed(sy), PIXMAN_KERNEL_LINEAR,
        PIXMAN_KERNEL_LINEAR, PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, 0, 0);
    pixman_image_set_filter(s, filter, params, n);
    free(params);
  } else {
    pixman_image_set_filter(s, filter, nullptr, 0);
  }
  for (auto _ : st)
    pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, p.dest->view.width,
                             p.dest->view.height);
  pixman_image_unref(s);
  pixman_image_unref(d);
  Count(st, p);
}
void PixmanNearest(benchmark::State& st, const std::string& k, int32_t w, int32_t h, int32_t d) {
  Pixman(st, k, w, h, d, PIXMAN_FILTER_NEAREST);
}
void PixmanBilinear(benchmark::State& st, const std::string& k, int32_t w, int32_t h, int32_t d) {
  Pixman(st, k, w, h, d, PIXMAN_FILTER_BILINEAR);
}
void PixmanConvolution(benchmark::State& st, const std::string& k, int32_t w, int32_t h, int32_t d) {
  Pixman(st, k, w, h, d, PIXMAN_FILTER_SEPARABLE_CONVOLUTION);
}
#endif

struct Comparison {
  const char* op;
  const char* kind;
  Body ours;
  Body ref;
  const char* refName;
  double goal;
};

std::vector<Comparison> Comparisons() {
  std::vector<Comparison> c = {
      {"nearest stretch x2", "x2", &OursNearest, &BruteNearest, "brute force", 1.0},
      {"nearest stretch x0.5", "x0.5", &OursNearest, &BruteNearest, "brute force", 1.0},
      {"rotate 33 nearest", "rot33", &OursRotateNearest, &BruteRotate, "brute force", 1.0},
      {"maze flood fill", "maze", &OursFill, &QueueFill, "queue fill", 1.0},
  };
#if PIXEL_BENCH_REFERENCES
  c.push_back({"nearest stretch x2", "x2", &OursNearest, &PixmanNearest, "pixman SRC nearest", 1.0});
  c.push_back({"nearest stretch x0.5", "x0.5", &OursNearest, &PixmanNearest, "pixman SRC nearest", 1.0});
  c.push_back({"resample x2", "x2", &OursResample, &PixmanConvolution, "pixman separable", 1.0});
  c.push_back({"resample x0.5", "x0.5", &OursResample, &PixmanConvolution, "pixman separable", 1.0});
  c.push_back({"rotate 33 nearest", "rot33", &OursRotateNearest, &PixmanNearest, "pixman affine nearest", 1.0});
  c.push_back({"rotate 33 smoothed", "rot33", &OursRotateSmooth, &PixmanBilinear, "pixman affine bilinear", 1.0});
#endif
  return c;
}

struct Size {
  int32_t w, h;
};
constexpr Size kSizes[] = {{640, 480}, {64, 64}};
constexpr int32_t kDepths[] = {32, 24};

std::string Name(const char* op, const char* impl, int32_t depth, Size s) {
  return std::string(op) + "/" + std::to_string(depth) + "/" + std::to_string(s.w) + "x" +
         std::to_string(s.h) + "/" + impl;
}

class RatioTable : public RatioReporter {
 public:
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n| operation | depth | source size | reference | reference time / ours | goal |\n");
    std::printf("|---|---|---|---|---|---|\n");
    for (const Comparison& c : Comparisons())
      for (int32_t depth : kDepths)
        for (Size s : kSizes) {
          const std::optional<double> ours = Nanoseconds(Name(c.op, "ours", depth, s));
          const std::optional<double> ref = Nanoseconds(Name(c.op, c.refName, depth, s));
          if (!ours || !ref) continue;
          const double ratio = *ref / *ours;
          std::printf("| %s | %d | %dx%d | %s | %.2fx | %.1fx %s |\n", c.op, depth, s.w, s.h, c.refName,
                      ratio, c.goal, ratio >= c.goal ? "met" : "MISSED");
        }
    std::printf("\n| operation | depth | ours | reference: 4x4 to 64x64 unclipped | ours / reference time | goal |\n");
    std::printf("|---|---|---|---|---|---|\n");
    for (int32_t depth : kDepths) {
      const std::optional<double> ours = Nanoseconds(ClipName(depth, "ours"));
      const std::optional<double> ref = Nanoseconds(ClipName(depth, "unclipped 64x64"));
      if (!ours || !ref) continue;
      const double ratio = *ours / *ref;
      std::printf("| 4x4 to 10^8x64 clipped to 64x64 | %d | %.0f ns | %.0f ns | %.2fx | <= 2.0x %s |\n", depth,
                  *ours, *ref, ratio, ratio <= 2.0 ? "met" : "MISSED");
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  PaletteStartup();
  std::map<std::string, bool> registered;
  for (const Comparison& c : Comparisons())
    for (int32_t depth : kDepths)
      for (Size s : kSizes)
        for (auto [body, impl] : {std::pair{c.ours, "ours"}, std::pair{c.ref, c.refName}}) {
          const std::string name = Name(c.op, impl, depth, s);
          if (registered[name]) continue;
          registered[name] = true;
          benchmark::RegisterBenchmark(name.c_str(), [body = body, kind = std::string(c.kind), s, depth](
                                                         benchmark::State& st) { body(st, kind, s.w, s.h, depth); });
        }
  for (int32_t depth : kDepths) {
    benchmark::RegisterBenchmark(ClipName(depth, "ours").c_str(),
                                 [depth](benchmark::State& st) { OursClippedHuge(st, depth); });
    benchmark::RegisterBenchmark(ClipName(depth, "unclipped 64x64").c_str(),
                                 [depth](benchmark::State& st) { OursUnclippedSmall(st, depth); });
  }
  benchmark::Initialize(&argc, argv);
  RatioTable reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
