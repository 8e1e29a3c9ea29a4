// Throughput of the pixel routines of every format against references
// measured in the same run (medians when run with --benchmark_repetitions): memcpy/memset of the same rows, SDL 1.2's colour-key
// blit, pixman's OVER with an a8 mask and pixman's SRC conversion. The table
// printed at the end gives ours / reference throughput (above 1: faster).
#include <benchmark/benchmark.h>

#include "RatioReporter.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "palette/PaletteApi.h"
#include "palette/cPalette.h"
#include "pixel/CpuFeatures.h"
#include "pixel/PixelView.h"

#if PIXEL_BENCH_REFERENCES
#include <SDL.h>
#include <pixman.h>
#endif

namespace {

constexpr int32_t kIndexOf(int32_t depth) {
  return depth == 32 ? 4 : depth == 24 ? 3 : depth == 16 ? 2 : depth == 15 ? 1 : 0;
}
constexpr uint32_t KeyOf(int32_t depth) {
  return depth >= 24 ? 0x00FF00FF : depth == 16 ? 0xF81F : depth == 15 ? 0x7C1F : 0xFD;
}

// The default palette with its inverse table built.
cPalette* BenchPalette() {
  static cPalette* palette = [] {
    PaletteStartup();
    cPalette* p = PaletteGetDefault();
    BuildInverseTable(p);  // misses still fill on first use, as in a running program
    return p;
  }();
  return palette;
}

// One image: pixels in rows padded to 4 bytes, an alpha plane, a key.
struct Image {
  int32_t w, h, depth, bpp;
  uint32_t stride;
  std::vector<uint8_t> pixels, alpha;
  PixelView view{};

  Image(int32_t width, int32_t height, int32_t d, std::mt19937& rng, bool sprite)
      : w(width), h(height), depth(d), bpp((d + 7) / 8) {
    stride = (static_cast<uint32_t>(w) * bpp + 3) & ~3u;
    pixels.resize(stride * h);
    alpha.resize(((w + 3) & ~3) * h);
    const uint32_t key = KeyOf(depth);
    for (int32_t y = 0; y < h; ++y) {
      // Runs of 1..32 pixels: about 40% key pixels, alpha 0, 255 or mixed.
      for (int32_t x = 0; x < w;) {
        const int32_t run = 1 + rng() % 32;
        const uint32_t kind = rng() % 10;
        for (int32_t i = 0; i < run && x < w; ++i, ++x) {
          uint32_t v = rng() & (bpp == 1 ? 0xFF : bpp == 2 ? 0xFFFF : 0x00FFFFFF);
          if (sprite && kind < 4) v = key;
          std::memcpy(&pixels[y * stride + x * bpp], &v, bpp);
          alpha[y * ((w + 3) & ~3) + x] =
              kind < 4 ? 0 : kind < 7 ? 255 : static_cast<uint8_t>(1 + rng() % 254);
        }
      }
    }
    view.width = w;
    view.height = h;
    view.clipRight = w;
    view.clipBottom = h;
    view.depth = depth;
    view.depthIndex = kIndexOf(depth);
    view.bytesPerPixel = bpp;
    view.transparentColour = 0x00FF00FF;
    view.transparentValue = key;
    view.flags = CpuFeatures();
    if (depth == 8) view.palette = BenchPalette();
    view.buffer = view.firstRow = pixels.data();
    view.rowBytes = stride;
    view.pitch = static_cast<int32_t>(stride);
    view.ops = GetPixelOps(view.depthIndex);
  }

  PixelView WithAlpha() const {
    PixelView v = view;
    v.alphaBlock = v.alphaFirstRow = const_cast<uint8_t*>(alpha.data());
    v.alphaRowBytes = v.alphaPitch = (w + 3) & ~3;
    return v;
  }
};

struct Pair {
  std::unique_ptr<Image> src, dest;
};

Pair& Images(int32_t w, int32_t h, int32_t depth) {
  static std::map<std::tuple<int, int, int>, Pair> cache;
  Pair& p = cache[{w, h, depth}];
  if (!p.src) {
    std::mt19937 rng(w * 31 + h * 7 + depth);
    p.src = std::make_unique<Image>(w, h, depth, rng, true);
    p.dest = std::make_unique<Image>(w, h, depth, rng, false);
  }
  return p;
}

// A destination of another format for conversions.
Image& Other(int32_t w, int32_t h, int32_t depth) {
  static std::map<std::tuple<int, int, int>, std::unique_ptr<Image>> cache;
  std::unique_ptr<Image>& img = cache[{w, h, depth}];
  if (!img) {
    std::mt19937 rng(w * 13 + h + depth);
    img = std::make_unique<Image>(w, h, depth, rng, false);
  }
  return *img;
}

void Count(benchmark::State& st, const Image& img) {
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations()) * img.w * img.h * img.bpp);
}

#if PIXEL_BENCH_REFERENCES
pixman_format_code_t PixmanFormat(int32_t depth) {
  switch (depth) {
    case 32:
      return PIXMAN_x8r8g8b8;
    case 24:
      return PIXMAN_r8g8b8;
    case 16:
      return PIXMAN_r5g6b5;
    case 15:
      return PIXMAN_x1r5g5b5;
    default:
      return PIXMAN_c8;
  }
}
// pixman's indexed form of the palette: its colours and its own inverse
// table (filled from the library's complete one).
const pixman_indexed_t* PixmanIndexed() {
  static pixman_indexed_t indexed = [] {
    pixman_indexed_t x{};
    const cPalette* p = BenchPalette();
    for (int i = 0; i < 256; ++i) {
      const PaletteEntry e = p->log.entries[i];
      x.rgba[i] = 0xFF000000u | uint32_t(e.red) << 16 | uint32_t(e.green) << 8 | e.blue;
    }
    for (uint32_t k = 0; k < 32768; ++k) x.ent[k] = p->inverse[k];  // both keyed r << 10 | g << 5 | b
    return x;
  }();
  return &indexed;
}
pixman_image_t* PixmanOf(Image& img) {
  pixman_image_t* image = pixman_image_create_bits(PixmanFormat(img.depth), img.w, img.h,
                                                   reinterpret_cast<uint32_t*>(img.pixels.data()),
                                                   static_cast<int>(img.stride));
  if (img.depth == 8) pixman_image_set_indexed(image, PixmanIndexed());
  return image;
}
pixman_image_t* PixmanMaskOf(Image& img, std::vector<uint8_t>& bytes) {
  return pixman_image_create_bits(PIXMAN_a8, img.w, img.h, reinterpret_cast<uint32_t*>(bytes.data()),
                                  (img.w + 3) & ~3);
}
SDL_Surface* SdlOf(Image& img) {
  const int bits = img.depth == 15 ? 16 : img.depth;
  const Uint32 r = img.depth >= 24 ? 0xFF0000 : img.depth == 16 ? 0xF800 : img.depth == 15 ? 0x7C00 : 0;
  const Uint32 g = img.depth >= 24 ? 0xFF00 : img.depth == 16 ? 0x07E0 : img.depth == 15 ? 0x03E0 : 0;
  const Uint32 b = img.depth >= 24 ? 0xFF : img.depth == 8 ? 0 : 0x1F;
  return SDL_CreateRGBSurfaceFrom(img.pixels.data(), img.w, img.h, bits,
                                  static_cast<int>(img.stride), r, g, b, 0);
}
#endif

using Body = void (*)(benchmark::State&, int32_t, int32_t, int32_t);

void OursCopy(benchmark::State& st, int32_t w, int32_t h, int32_t depth) {
  Pair& p = Images(w, h, depth);
  for (auto _ : st) p.src->view.ops->Copy(&p.dest->view, 0, 0, &p.src->view, 0, 0, w, h);
  Count(st, *p.src);
}
void RefMemcpy(benchmark::State& st, int32_t w, int32_t h, int32_t depth) {
  Pair& p = Images(w, h, depth);
  for (auto _ : st) {
    for (int32_t y = 0; y < h; ++y)
      std::memcpy(&p.dest->pixels[y * p.dest->stride], &p.src->pixels[y * p.src->stride],
                  static_cast<size_t>(w) * p.src->bpp);
    benchmark::ClobberMemory();
  }
  Count(st, *p.src);
}
void OursFill(benchmark::State& st, int32_t w, int32_t h, int32_t depth) {
  Pair& p = Images(w, h, depth);
  for (auto _ : st) p.dest->view.ops->FillRect(&p.dest->view, 0, 0, p.dest->view.pitch, w, h, 0x123456);
  Count(st, *p.dest);
}
void RefMemset(benchmark::State& st, int32_t w, int32_t h, int32_t depth) {
  Pair& p = Images(w, h, depth);
  for (auto _ : st) {
    for (int32_t y = 0; y < h; ++y)
      std::memset(&p.dest->pixels[y * p.dest->stride], 0x12, static_cast<size_t>(w) * p.dest->bpp);
    benchmark::ClobberMemory();
  }
  Count(st, *p.dest);
}
template <uint32_t Flags>
void OursKeyed(benchmark::State& st, int32_t w, int32_t h, int32_t depth) {
  Pair& p = Images(w, h, depth);
  PixelView src = p.src->view;
  src.flags = Flags == 1 ? CpuFeatures() : 0;
  for (auto _ : st) src.ops->BlitKeyed(&p.dest->view, 0, 0, &src, 0, 0, w, h);
  Count(st, *p.src);
}
template <uint32_t Flags>
void OursAlpha(benchmark::State& st, int32_t w, int32_t h, int32_t depth) {
  Pair& p = Images(w, h, depth);
  PixelView src = p.src->WithAlpha();
  src.flags = Flags == 1 ? CpuFeatures() : 0;
  for (auto _ : st) src.ops->BlitKeyed(&p.dest->view, 0, 0, &src, 0, 0, w, h);
  Count(st, *p.src);
}
template <uint32_t Flags>
void OursBlend(benchmark::State& st, int32_t w, int32_t h, int32_t depth) {
  Pair& p = Images(w, h, depth);
  PixelView dest = p.dest->view;
  dest.flags = Flags == 1 ? CpuFeatures() : 0;
  for (auto _ : st) p.src->view.ops->BlitInk(&dest, 0, 0, &p.src->view, 0, 0, w, h, 1, 64);
  Count(st, *p.src);
}
// An ink blit with the destination's vector flag set (Flags 1) or cleared.
template <uint32_t Flags, uint32_t Effect, bool Keyed>
void OursInk(benchmark::State& st, int32_t w, int32_t h, int32_t depth) {
  Pair& p = Images(w, h, depth);
  PixelView dest = p.dest->view;
  dest.flags = Flags == 1 ? CpuFeatures() : 0;
  const uint32_t parameter = Effect == 1 ? 64 : 0;
  const auto blit = Keyed ? p.src->view.ops->BlitKeyedInk : p.src->view.ops->BlitInk;
  for (auto _ : st) blit(&dest, 0, 0, &p.src->view, 0, 0, w, h, Effect, parameter);
  Count(st, *p.src);
}
template <int32_t To>
void OursConvert(benchmark::State& st, int32_t w, int32_t h, int32_t depth) {
  Pair& p = Images(w, h, depth);
  Image& other = Other(w, h, To);
  for (auto _ : st)
    p.src->view.ops->ConvertRows(&other.view, 0, 0, w * other.bpp, &p.src->view, 0, 0, w, h);
  Count(st, *p.src);
}

#if PIXEL_BENCH_REFERENCES
void SdlKeyed(benchmark::State& st, int32_t w, int32_t h, int32_t depth) {
  Pair& p = Images(w, h, depth);
  SDL_Surface* s = SdlOf(*p.src);
  SDL_Surface* d = SdlOf(*p.dest);
  SDL_SetColorKey(s, SDL_SRCCOLORKEY, p.src->view.transparentValue);
  for (auto _ : st) {
    SDL_Rect r{0, 0, static_cast<Uint16>(w), static_cast<Uint16>(h)};
    SDL_BlitSurface(s, nullptr, d, &r);
  }
  SDL_FreeSurface(s);
  SDL_FreeSurface(d);
  Count(st, *p.src);
}
void PixmanOverA8(benchmark::State& st, int32_t w, int32_t h, int32_t depth, bool constantMask) {
  Pair& p = Images(w, h, depth);
  std::vector<uint8_t> maskBytes = p.src->alpha;
  if (constantMask) std::fill(maskBytes.begin(), maskBytes.end(), 128);
  pixman_image_t* s = PixmanOf(*p.src);
  pixman_image_t* m = PixmanMaskOf(*p.src, maskBytes);
  pixman_image_t* d = PixmanOf(*p.dest);
  for (auto _ : st) pixman_image_composite32(PIXMAN_OP_OVER, s, m, d, 0, 0, 0, 0, 0, 0, w, h);
  pixman_image_unref(s);
  pixman_image_unref(m);
  pixman_image_unref(d);
  Count(st, *p.src);
}
void PixmanAlpha(benchmark::State& st, int32_t w, int32_t h, int32_t depth) {
  PixmanOverA8(st, w, h, depth, false);
}
void PixmanBlend(benchmark::State& st, int32_t w, int32_t h, int32_t depth) {
  PixmanOverA8(st, w, h, depth, true);
}
template <int32_t To>
void PixmanConvert(benchmark::State& st, int32_t w, int32_t h, int32_t depth) {
  Pair& p = Images(w, h, depth);
  pixman_image_t* s = PixmanOf(*p.src);
  pixman_image_t* d = PixmanOf(Other(w, h, To));
  for (auto _ : st) pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, w, h);
  pixman_image_unref(s);
  pixman_image_unref(d);
  Count(st, *p.src);
}
#endif

struct Comparison {
  const char* op;
  Body ours;
  const char* oursName;
  Body ref;
  const char* refName;
  double goal;
  std::vector<int32_t> depths;  // source depths measured
};

std::vector<Comparison> Comparisons() {
  const std::vector<int32_t> all = {32, 24, 16, 15, 8};
  const std::vector<int32_t> colour = {32, 24, 16, 15};
  std::vector<Comparison> c = {
      {"opaque blit", &OursCopy, "ours", &RefMemcpy, "memcpy", 0.8, all},
      {"fill", &OursFill, "ours", &RefMemset, "memset", 0.8, all},
      // The vector ink sets against the plain ones (same pixels).
      {"blend effect p=64 vector", &OursInk<1, 1, false>, "ours", &OursInk<0, 1, false>, "plain", 1.0, {16, 15}},
      {"keyed blend p=64 vector", &OursInk<1, 1, true>, "ours", &OursInk<0, 1, true>, "plain", 1.0, {16, 15}},
      {"add effect vector", &OursInk<1, 9, false>, "ours", &OursInk<0, 9, false>, "plain", 1.0, {16, 15}},
      {"keyed sub vector", &OursInk<1, 11, true>, "ours", &OursInk<0, 11, true>, "plain", 1.0, {16, 15}},
      {"xor effect vector", &OursInk<1, 3, false>, "ours", &OursInk<0, 3, false>, "plain", 1.0, {16, 15, 8}},
      {"keyed xor vector", &OursInk<1, 3, true>, "ours", &OursInk<0, 3, true>, "plain", 1.0, {16, 15, 8}},
      {"alpha-plane blit vector", &OursAlpha<1>, "ours", &OursAlpha<0>, "plain", 1.0, {16, 15}},
  };
#if PIXEL_BENCH_REFERENCES
  c.push_back({"keyed blit", &OursKeyed<1>, "ours", &SdlKeyed, "SDL 1.2 key", 1.0, all});
  c.push_back({"keyed blit (plain)", &OursKeyed<0>, "ours-plain", &SdlKeyed, "SDL 1.2 key", 1.0, all});
  c.push_back({"alpha-plane blit", &OursAlpha<1>, "ours", &PixmanAlpha, "pixman OVER a8", 1.0, colour});
  c.push_back({"alpha-plane blit (plain)", &OursAlpha<0>, "ours-plain", &PixmanAlpha, "pixman OVER a8", 1.0, colour});
  c.push_back({"blend effect p=64", &OursBlend<1>, "ours", &PixmanBlend, "pixman OVER a8", 1.0, colour});
  c.push_back({"blend effect p=64 (plain)", &OursBlend<0>, "ours-plain", &PixmanBlend, "pixman OVER a8", 1.0, colour});
  c.push_back({"convert to 32", &OursConvert<32>, "ours", &PixmanConvert<32>, "pixman SRC", 1.0, {24, 16, 8}});
  c.push_back({"convert to 24", &OursConvert<24>, "ours", &PixmanConvert<24>, "pixman SRC", 1.0, {32, 16}});
  c.push_back({"convert to 16", &OursConvert<16>, "ours", &PixmanConvert<16>, "pixman SRC", 1.0, {32, 24, 15}});
  c.push_back({"convert to 8", &OursConvert<8>, "ours", &PixmanConvert<8>, "pixman SRC", 1.0, {32}});
#endif
  return c;
}

struct Size {
  int32_t w, h;
};
constexpr Size kSizes[] = {{640, 480}, {64, 64}};

std::string Name(const Comparison& c, int32_t depth, Size s, const char* impl) {
  return std::string(c.op) + "/" + std::to_string(depth) + "/" + std::to_string(s.w) + "x" +
         std::to_string(s.h) + "/" + impl;
}

// Prints the ratio table at the end.
class RatioTable : public RatioReporter {
 public:
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n| operation | depth | size | reference | ours / reference | goal |\n");
    std::printf("|---|---|---|---|---|---|\n");
    for (const Comparison& c : Comparisons())
      for (int32_t depth : c.depths)
        for (Size s : kSizes) {
          const std::optional<double> ours = Nanoseconds(Name(c, depth, s, c.oursName));
          const std::optional<double> ref = Nanoseconds(Name(c, depth, s, c.refName));
          if (!ours || !ref) continue;
          const double ratio = *ref / *ours;
          std::printf("| %s | %d | %dx%d | %s | %.2fx | %.1fx %s |\n", c.op, depth, s.w, s.h,
                      c.refName, ratio, c.goal, ratio >= c.goal ? "met" : "MISSED");
        }
  }
};

}  // namespace

int main(int argc, char** argv) {
  std::map<std::string, bool> registered;
  for (const Comparison& c : Comparisons())
    for (int32_t depth : c.depths)
      for (Size s : kSizes)
        for (auto [body, impl] : {std::pair{c.ours, c.oursName}, std::pair{c.ref, c.refName}}) {
          const std::string name = Name(c, depth, s, impl);
          if (registered[name]) continue;  // one reference serves two comparisons
          registered[name] = true;
          benchmark::RegisterBenchmark(name.c_str(), [body = body, s, depth](benchmark::State& st) {
            body(st, s.w, s.h, depth);
          });
        }
  benchmark::Initialize(&argc, argv);
  RatioTable reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
