#include "SpriteTestWindow.h"

#include <cstring>

SpriteTestWindow::SpriteTestWindow(AppObject* app, int32_t width, int32_t height, bool keepBackground)
    : images(app), app_(app), pool_(MakeSpritePool(400)), drawing_(app->formatPrototype->MakeInstance(width, height)),
      keepBackground_(keepBackground) {}

SpriteTestWindow::~SpriteTestWindow() {
  DeleteAllSprites(*this);
  FreeSpritePool(&pool_);
  DeleteSurface(background_);
  DeleteSurface(drawing_);
}

cSurfaceImpl* SpriteTestWindow::MakeBackground() {
  if (!keepBackground_ || background_ != nullptr) return background_;
  background_ = drawing_->MakeInstance(drawing_->view.width, drawing_->view.height);
  return background_;
}

void SpriteTestWindow::Frame() {
  dirty.clear();
  EraseSprites(*this);
  CommitSprites(*this);
  DrawSprites(*this);
}

std::vector<uint8_t> SurfaceBytes(const cSurfaceImpl* s) {
  // The pixels only: the bytes that pad a row are never written.
  const size_t used = size_t(s->view.width) * size_t(s->view.bytesPerPixel);
  std::vector<uint8_t> out(used * size_t(s->view.height));
  for (int32_t y = 0; y < s->view.height; ++y)
    std::memcpy(out.data() + size_t(y) * used, s->view.firstRow + intptr_t(y) * s->view.pitch, used);
  return out;
}

std::vector<uint8_t> SpriteTestWindow::Pixels() const { return SurfaceBytes(drawing_); }
