// The run-length form against the keyed blit of the same sprite (16 bits,
// 10, 50 and 90% transparent in runs) and against SDL 1.2's run-length
// colour-key blit; the byte-run packing against zlib's run-length strategy
// at level 1 on the same image data. Ratios (ours / reference throughput)
// are printed at the end.
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

#include "pixel/CpuFeatures.h"
#include "pixel/PixelView.h"
#include "pixel/RunLengthPack.h"
#include "pixel/RunLengthRows.h"

#if PIXEL_BENCH_REFERENCES
#include <SDL.h>
#include <zlib.h>
#endif

namespace {

constexpr uint32_t kKey = 0xF81F;

struct Sprite {
  int32_t w, h;
  std::vector<uint8_t> pixels, dest, block;
  PixelView view{}, rle{}, target{};

  Sprite(int32_t width, int32_t height, int percentTransparent) : w(width), h(height) {
    std::mt19937 rng(uint32_t(w * 7 + percentTransparent));
    pixels.resize(size_t(w) * h * 2);
    dest.resize(pixels.size());
    for (int32_t i = 0; i < w * h;) {
      const int32_t run = 1 + int32_t(rng() % 24);
      const bool clear = int(rng() % 100) < percentTransparent;
      for (int32_t k = 0; k < run && i < w * h; ++k, ++i) {
        const uint16_t v = clear ? uint16_t(kKey) : uint16_t(rng() % 0xF000 + 1);
        std::memcpy(&pixels[size_t(i) * 2], &v, 2);
      }
    }
    view.width = view.clipRight = w;
    view.height = view.clipBottom = h;
    view.depth = 16;
    view.depthIndex = 2;
    view.bytesPerPixel = 2;
    view.transparentValue = kKey;
    view.flags = CpuFeatures();
    view.buffer = view.firstRow = pixels.data();
    view.rowBytes = uint32_t(w) * 2;
    view.pitch = w * 2;
    view.ops = GetPixelOps(2);
    target = view;
    target.buffer = target.firstRow = dest.data();
    uint32_t size[3];
    view.ops->RleSize(size, view.firstRow, w, h, view.pitch, kKey);
    block.assign(size[0], 0);
    std::memcpy(block.data(), size, sizeof size);
    view.ops->RleEncode(block.data(), view.firstRow, w, h, view.pitch, kKey);
    rle = view;
    rle.buffer = rle.firstRow = block.data();
    rle.ops = GetRlePixelOps(2);
  }
};

Sprite& SpriteOf(int32_t w, int32_t h, int percent) {
  static std::map<std::tuple<int, int, int>, std::unique_ptr<Sprite>> cache;
  auto& s = cache[{w, h, percent}];
  if (!s) s = std::make_unique<Sprite>(w, h, percent);
  return *s;
}

using Body = void (*)(benchmark::State&, int32_t, int32_t, int);

void Count(benchmark::State& st, const Sprite& s) {
  st.SetBytesProcessed(int64_t(st.iterations()) * s.w * s.h * 2);
}

void OursRle(benchmark::State& st, int32_t w, int32_t h, int percent) {
  Sprite& s = SpriteOf(w, h, percent);
  for (auto _ : st) s.rle.ops->BlitKeyed(&s.target, 0, 0, &s.rle, 0, 0, w, h);
  Count(st, s);
}
void OursKeyed(benchmark::State& st, int32_t w, int32_t h, int percent) {
  Sprite& s = SpriteOf(w, h, percent);
  for (auto _ : st) s.view.ops->BlitKeyed(&s.target, 0, 0, &s.view, 0, 0, w, h);
  Count(st, s);
}
void OursPack(benchmark::State& st, int32_t w, int32_t h, int percent) {
  Sprite& s = SpriteOf(w, h, percent);
  std::vector<uint8_t> out(RlePackedSize(s.pixels.data(), uint32_t(s.pixels.size()), 2));
  for (auto _ : st) benchmark::DoNotOptimize(RlePack(out.data(), s.pixels.data(), uint32_t(s.pixels.size()), 2));
  Count(st, s);
}
void OursUnpack(benchmark::State& st, int32_t w, int32_t h, int percent) {
  Sprite& s = SpriteOf(w, h, percent);
  std::vector<uint8_t> packed(RlePackedSize(s.pixels.data(), uint32_t(s.pixels.size()), 2));
  RlePack(packed.data(), s.pixels.data(), uint32_t(s.pixels.size()), 2);
  for (auto _ : st)
    benchmark::DoNotOptimize(RleUnpack(s.dest.data(), uint32_t(s.dest.size()), packed.data(),
                                       uint32_t(packed.size()), 2));
  Count(st, s);
}

#if PIXEL_BENCH_REFERENCES
void SdlRle(benchmark::State& st, int32_t w, int32_t h, int percent) {
  Sprite& s = SpriteOf(w, h, percent);
  SDL_Surface* src = SDL_CreateRGBSurfaceFrom(s.pixels.data(), w, h, 16, w * 2, 0xF800, 0x07E0, 0x1F, 0);
  SDL_Surface* dst = SDL_CreateRGBSurfaceFrom(s.dest.data(), w, h, 16, w * 2, 0xF800, 0x07E0, 0x1F, 0);
  SDL_SetColorKey(src, SDL_SRCCOLORKEY | SDL_RLEACCEL, kKey);
  for (auto _ : st) {
    SDL_Rect r{0, 0, static_cast<Uint16>(w), static_cast<Uint16>(h)};
    SDL_BlitSurface(src, nullptr, dst, &r);
  }
  SDL_FreeSurface(src);
  SDL_FreeSurface(dst);
  Count(st, s);
}
void ZlibDeflate(benchmark::State& st, int32_t w, int32_t h, int percent) {
  Sprite& s = SpriteOf(w, h, percent);
  std::vector<uint8_t> out(compressBound(uLong(s.pixels.size())));
  for (auto _ : st) {
    z_stream z{};
    deflateInit2(&z, 1, Z_DEFLATED, 15, 8, Z_RLE);
    z.next_in = s.pixels.data();
    z.avail_in = uInt(s.pixels.size());
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    deflateEnd(&z);
  }
  Count(st, s);
}
void ZlibInflate(benchmark::State& st, int32_t w, int32_t h, int percent) {
  Sprite& s = SpriteOf(w, h, percent);
  std::vector<uint8_t> packed(compressBound(uLong(s.pixels.size())));
  z_stream z{};
  deflateInit2(&z, 1, Z_DEFLATED, 15, 8, Z_RLE);
  z.next_in = s.pixels.data();
  z.avail_in = uInt(s.pixels.size());
  z.next_out = packed.data();
  z.avail_out = uInt(packed.size());
  deflate(&z, Z_FINISH);
  const size_t packedSize = packed.size() - z.avail_out;
  deflateEnd(&z);
  for (auto _ : st) {
    z_stream in{};
    inflateInit(&in);
    in.next_in = packed.data();
    in.avail_in = uInt(packedSize);
    in.next_out = s.dest.data();
    in.avail_out = uInt(s.dest.size());
    inflate(&in, Z_FINISH);
    inflateEnd(&in);
  }
  Count(st, s);
}
#endif

struct Comparison {
  const char* op;
  Body ours;
  Body ref;
  const char* refName;
};

std::vector<Comparison> Comparisons() {
  std::vector<Comparison> c = {{"run-length blit", &OursRle, &OursKeyed, "keyed blit"}};
#if PIXEL_BENCH_REFERENCES
  c.push_back({"run-length blit", &OursRle, &SdlRle, "SDL 1.2 RLEACCEL"});
  c.push_back({"pack", &OursPack, &ZlibDeflate, "zlib Z_RLE 1"});
  c.push_back({"unpack", &OursUnpack, &ZlibInflate, "zlib inflate"});
#endif
  return c;
}

struct Size {
  int32_t w, h;
};
constexpr Size kSizes[] = {{640, 480}, {64, 64}};
constexpr int kPercents[] = {10, 50, 90};

std::string Name(const char* op, const char* impl, Size s, int percent) {
  return std::string(op) + "/" + impl + "/" + std::to_string(s.w) + "x" + std::to_string(s.h) + "/" +
         std::to_string(percent) + "%";
}

class RatioTable : public RatioReporter {
 public:
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n| operation | size | transparent | reference | ours / reference | goal |\n");
    std::printf("|---|---|---|---|---|---|\n");
    for (const Comparison& c : Comparisons())
      for (Size s : kSizes)
        for (int percent : kPercents) {
          const std::optional<double> ours = Nanoseconds(Name(c.op, "ours", s, percent));
          const std::optional<double> ref = Nanoseconds(Name(c.op, c.refName, s, percent));
          if (!ours || !ref) continue;
          const double ratio = *ref / *ours;
          std::printf("| %s | %dx%d | %d%% | %s | %.2fx | 1.0x %s |\n", c.op, s.w, s.h, percent,
                      c.refName, ratio, ratio >= 1.0 ? "met" : "MISSED");
        }
  }
};

}  // namespace

int main(int argc, char** argv) {
  std::map<std::string, bool> registered;
  for (const Comparison& c : Comparisons())
    for (Size s : kSizes)
      for (int percent : kPercents)
        for (auto [body, impl] : {std::pair{c.ours, "ours"}, std::pair{c.ref, c.refName}}) {
          const std::string name = Name(c.op, impl, s, percent);
          if (registered[name]) continue;
          registered[name] = true;
          benchmark::RegisterBenchmark(name.c_str(), [body = body, s, percent](benchmark::State& st) {
            body(st, s.w, s.h, percent);
          });
        }
  benchmark::Initialize(&argc, argv);
  RatioTable reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
