// What the sprite passes and searches need of a sprite window: its pool,
// application (for the image bank), back buffer, background surface, dirty
// list and collision switch. The window functions pass the window record
// through this; tests pass memory surfaces and a recording dirty list.
#pragma once

#include <cstdint>

#include "sprite/SpriteImages.h"
#include "sprite/SpritePool.h"
#include "surface/SurfaceTypes.h"

struct AppObject;
class cSurfaceImpl;

class SpriteWindow {
 public:
  virtual SpritePool* Pool() = 0;
  virtual AppObject* App() = 0;
  // The back buffer; null when the window has no drawing surface.
  virtual cSurfaceImpl* Drawing() = 0;
  // The background surface, null when there is none.
  virtual cSurfaceImpl* Background() = 0;
  // Makes the background surface when the window keeps one for its sprites
  // (as the first draw pass does); null otherwise.
  virtual cSurfaceImpl* MakeBackground() = 0;
  virtual void AddDirty(const SurfaceRect& rect) = 0;
  // 0: collisions by rectangle only.
  virtual int32_t PixelCollision() = 0;

 protected:
  ~SpriteWindow() = default;
};

// Image sizes and hot spots from the app's image bank.
class BankSpriteImages final : public SpriteImages {
 public:
  explicit BankSpriteImages(AppObject* app) : app_(app) {}
  bool Geometry(uint32_t image, ImageGeometry* out) override;

 private:
  AppObject* app_;
};
