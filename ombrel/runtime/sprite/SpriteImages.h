// What the sprite code needs to know of the images it shows: an image's
// size and hot spot by id. The window's application bank answers it; tests
// pass a table of their own.
#pragma once

#include <cstdint>

struct ImageGeometry {
  int32_t width, height, hotX, hotY;
};

class SpriteImages {
 public:
  // False when there is no such image.
  virtual bool Geometry(uint32_t image, ImageGeometry* out) = 0;

 protected:
  ~SpriteImages() = default;
};
