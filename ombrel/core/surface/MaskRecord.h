// The collision mask record that slot 66 `BuildCollisionMask` writes and
// the sprite collision code keeps: a 44-byte header, then one bit per pixel.
#pragma once

#include <cstddef>
#include <cstdint>

struct CollisionMaskHeader {
  uint32_t headerSize;  // 44
  int32_t width;
  int32_t height;
  uint32_t rowBytes;  // the width rounded up to 16 pixels, in bytes
  int32_t hotX;       // hot spot of the image the mask belongs to
  int32_t hotY;
  uint32_t reserved[5];
};
static_assert(sizeof(CollisionMaskHeader) == 44, "collision mask header");
static_assert(offsetof(CollisionMaskHeader, rowBytes) == 12, "collision mask row bytes");
static_assert(offsetof(CollisionMaskHeader, hotX) == 16, "collision mask hot spot");

// Rows follow the header, top row first; pixel x of a row is bit (x & 7) of
// byte x >> 3, bit 0 first, set for a solid pixel.
constexpr uint32_t CollisionMaskRowBytes(int32_t width) {
  return width <= 0 ? 0 : ((uint32_t(width) + 15) & ~15u) / 8;
}

// Flag of `BuildCollisionMask`: each column keeps only its first
// kTopEdgeDepth solid pixels from the top.
constexpr uint32_t MaskTopEdge = 0x1;
constexpr int32_t kTopEdgeDepth = 6;
