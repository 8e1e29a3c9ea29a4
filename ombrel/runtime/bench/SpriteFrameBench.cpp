// A sprite window's frame (erase, commit, draw, then the dirty rectangles
// copied to a screen buffer as a present does) against a full redraw of
// the same scene (background, every sprite, the whole buffer copied), on a
// 640 x 480 32-bit back buffer with N sprites of 32 x 32, half of them
// moving and half kept. The ratios at the end are time / full-redraw time.
#include <benchmark/benchmark.h>

#include "RatioReporter.h"

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "app/AppApi.h"
#include "app/AppLists.h"
#include "app/DisplayDepth.h"
#include "imagebank/ImageBank.h"
#include "palette/PaletteApi.h"
#include "sprite/SpriteChanges.h"
#include "sprite/SpritePasses.h"
#include "surface/DepthCode.h"
#include "surface/cSurfaceImpl.h"
#include "window/UpdateList.h"

namespace {

constexpr int32_t kWidth = 640, kHeight = 480, kSize = 32;

class Display32 final : public DisplaySource {
 public:
  int32_t ScreenDepthCode() override { return Depth32; }
  int32_t DirectDrawBits() override { return 0; }
};

class BenchWindow final : public SpriteWindow {
 public:
  explicit BenchWindow(AppObject* app)
      : app_(app), pool_(MakeSpritePool(400)), drawing_(app->formatPrototype->MakeInstance(kWidth, kHeight)),
        screen_(app->formatPrototype->MakeInstance(kWidth, kHeight)) {
    dirty_->count = 0;
  }
  ~BenchWindow() {
    DeleteAllSprites(*this);
    FreeSpritePool(&pool_);
    DeleteSurface(background_);
    DeleteSurface(screen_);
    DeleteSurface(drawing_);
  }
  SpritePool* Pool() override { return pool_; }
  AppObject* App() override { return app_; }
  cSurfaceImpl* Drawing() override { return drawing_; }
  cSurfaceImpl* Background() override { return background_; }
  cSurfaceImpl* MakeBackground() override {
    if (background_ == nullptr) background_ = drawing_->MakeInstance(kWidth, kHeight);
    return background_;
  }
  void AddDirty(const SurfaceRect& r) override { UpdateListAdd(*dirty_, r, false); }
  int32_t PixelCollision() override { return 1; }
  // The dirty rectangles onto the screen buffer, then a new list.
  void Present() {
    for (int32_t i = 0; i < UpdateListCount(*dirty_); ++i) {
      const SurfaceRect& r = dirty_->rects[i];
      const int32_t l = std::max(r.left, 0), t = std::max(r.top, 0);
      const int32_t w = std::min(r.right, kWidth) - l, h = std::min(r.bottom, kHeight) - t;
      if (w > 0 && h > 0) drawing_->Blit(screen_, l, t, l, t, w, h, 0, 0, 0, 0);
    }
    dirty_->count = 0;
  }
  void PresentWhole() { drawing_->Blit(screen_, 0, 0, 0, 0, kWidth, kHeight, 0, 0, 0, 0); }

 private:
  AppObject* app_;
  SpritePool* pool_;
  cSurfaceImpl* drawing_;
  cSurfaceImpl* screen_;
  cSurfaceImpl* background_ = nullptr;
  std::unique_ptr<UpdateList> dirty_ = std::make_unique<UpdateList>();
};

struct Scene {
  AppObject* app = nullptr;
  int32_t image = 0;
  Scene() {
    ReleasePalette(PaletteStartup());
    app = AppCreate(nullptr, nullptr);
    Display32 display;
    AppSetDepthOn(app, Depth32, display);
    std::vector<uint8_t> pixels(size_t(kSize) * kSize * 4, 0);
    for (int32_t y = 0; y < kSize; ++y)
      for (int32_t x = 0; x < kSize; ++x) {
        const int32_t dx = 2 * x - kSize + 1, dy = 2 * y - kSize + 1;
        if (dx * dx + dy * dy > kSize * kSize) continue;  // a disc
        std::memset(pixels.data() + (size_t(y) * kSize + size_t(x)) * 4, 0x80 + x, 3);
      }
    image = ImageCreate(app, kSize, kSize, 0, 0, 0, 0, 0, 0, pixels.data(), nullptr);
  }
  ~Scene() {
    AppDestroy(app);
    AppListThreadDetach();
    PaletteShutdown();
  }
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

void FillScenery(cSurfaceImpl* s) {
  for (int32_t y = 0; y < kHeight; y += 16)
    for (int32_t x = 0; x < kWidth; x += 16) s->FillRect(x, y, 16, 16, uint32_t(x * 0x10101 + y * 0x100));
}

struct Mover {
  SpriteRecord* sprite;
  int32_t dx, dy;
};

void Populate(BenchWindow& w, int32_t n, std::vector<Mover>& movers) {
  std::mt19937 rng{uint32_t(n)};
  BankSpriteImages images(w.App());
  for (int32_t i = 0; i < n; ++i) {
    const bool kept = i % 2 == 1;
    SpriteRecord* s = CreateSprite(w.Pool(), &images, int32_t(rng() % (kWidth - kSize)), int32_t(rng() % (kHeight - kSize)),
                                   uint32_t(TheScene().image), 1, 0, 0, kept ? uint32_t(kSpriteKept) : 0u, i);
    if (!kept) movers.push_back({s, int32_t(rng() % 5) - 2, int32_t(rng() % 5) - 2});
  }
}

void Step(BenchWindow& w, std::vector<Mover>& movers) {
  BankSpriteImages images(w.App());
  for (Mover& m : movers) {
    SpriteRecord* s = m.sprite;
    if (s->nextX + m.dx < 0 || s->nextX + m.dx > kWidth - kSize) m.dx = -m.dx;
    if (s->nextY + m.dy < 0 || s->nextY + m.dy > kHeight - kSize) m.dy = -m.dy;
    MoveSprite(w.Pool(), &images, s, s->nextX + m.dx, s->nextY + m.dy, s->nextImage);
  }
}

void DirtyFrame(benchmark::State& state) {
  BenchWindow w(TheScene().app);
  FillScenery(w.Drawing());
  std::vector<Mover> movers;
  Populate(w, int32_t(state.range(0)), movers);
  for (auto _ : state) {
    Step(w, movers);
    EraseSprites(w);
    CommitSprites(w);
    DrawSprites(w);
    w.Present();
  }
}

void FullRedraw(benchmark::State& state) {
  BenchWindow w(TheScene().app);
  cSurfaceImpl* scenery = w.Drawing()->MakeInstance(kWidth, kHeight);
  FillScenery(scenery);
  std::vector<Mover> movers;
  Populate(w, int32_t(state.range(0)), movers);
  cSurfaceImpl* image = ImageSurface(TheScene().app, FindImage(TheScene().app, uint32_t(TheScene().image)));
  for (auto _ : state) {
    Step(w, movers);
    CommitSprites(w);
    scenery->Blit(w.Drawing(), 0, 0, 0, 0, kWidth, kHeight, 0, 0, 0, 0);
    for (SpriteRecord* s = w.Pool()->First(); s != nullptr; s = s->next)
      image->Blit(w.Drawing(), s->rect.left, s->rect.top, 0, 0, kSize, kSize, 1, 0, 0, 0);
    w.PresentWhole();
  }
  DeleteSurface(image);
  DeleteSurface(scenery);
}

}  // namespace

BENCHMARK(DirtyFrame)->Arg(10)->Arg(50)->Arg(200)->Arg(399)->Unit(benchmark::kMicrosecond);
BENCHMARK(FullRedraw)->Arg(10)->Arg(50)->Arg(200)->Arg(399)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nFrame time / full-redraw time (goals: <= 0.3 at 10, 0.6 at 50, 1.1 at 399):\n");
  const auto us = RatioReporter::TimeIn("us", 1e3, 1);
  for (const char* n : {"10", "50", "200", "399"})
    reporter.PrintRatio(std::string("DirtyFrame/") + n, std::string("FullRedraw/") + n, us);
  benchmark::Shutdown();
  return 0;
}
