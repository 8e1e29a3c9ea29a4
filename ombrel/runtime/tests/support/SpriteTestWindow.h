// A sprite window for tests, without a system window: a memory back buffer
// of the app's format, a background surface made on the first draw pass,
// the 400-record pool and a dirty list that records what each frame added.
#pragma once

#include <vector>

#include "app/AppObject.h"
#include "sprite/SpritePasses.h"
#include "surface/cSurfaceImpl.h"

class SpriteTestWindow final : public SpriteWindow {
 public:
  SpriteTestWindow(AppObject* app, int32_t width, int32_t height, bool keepBackground = true);
  ~SpriteTestWindow();
  SpriteTestWindow(const SpriteTestWindow&) = delete;
  SpriteTestWindow& operator=(const SpriteTestWindow&) = delete;

  SpritePool* Pool() override { return pool_; }
  AppObject* App() override { return app_; }
  cSurfaceImpl* Drawing() override { return drawing_; }
  cSurfaceImpl* Background() override { return background_; }
  cSurfaceImpl* MakeBackground() override;
  void AddDirty(const SurfaceRect& rect) override { dirty.push_back(rect); }
  int32_t PixelCollision() override { return pixelCollision; }

  // Erase, commit and draw, with the dirty list of this frame only.
  void Frame();
  // The back buffer's rows as bytes.
  std::vector<uint8_t> Pixels() const;

  std::vector<SurfaceRect> dirty;
  int32_t pixelCollision = 1;
  BankSpriteImages images;

 private:
  AppObject* app_;
  SpritePool* pool_;
  cSurfaceImpl* drawing_;
  cSurfaceImpl* background_ = nullptr;
  bool keepBackground_;
};

// Every row of a surface's pixels (without row padding), top first.
std::vector<uint8_t> SurfaceBytes(const cSurfaceImpl* s);
