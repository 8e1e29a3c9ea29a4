// The sprite window of a library window record: its pool, app, back buffer,
// background surface, dirty list and collision switch, for the sprite
// passes and searches; and its mask fields as a `WindowMask`.
#pragma once

#include "mask/WindowMask.h"
#include "sprite/SpriteWindow.h"
#include "window/WindowObject.h"

class WindowSpriteAccess final : public SpriteWindow {
 public:
  explicit WindowSpriteAccess(WindowObject* window) : window_(window) {}
  SpritePool* Pool() override;
  AppObject* App() override;
  cSurfaceImpl* Drawing() override;
  cSurfaceImpl* Background() override;
  cSurfaceImpl* MakeBackground() override;
  void AddDirty(const SurfaceRect& rect) override;
  int32_t PixelCollision() override;

 private:
  WindowObject* window_;
};

// The window's mask fields as a mask, and back.
WindowMask LoadWindowMask(const WindowObject& window);
void StoreWindowMask(WindowObject& window, const WindowMask& mask);
