// A window's background collision mask: up to two 1-bit planes over the back
// buffer and a margin around it (plane 0: every solid pixel of the scenery,
// plane 1: only the top edges that can be stood on). The window record keeps
// these fields in its own layout; the window functions copy them into a
// `WindowMask`, work on it and copy it back.
#pragma once

#include <cstdint>

#include "surface/MaskRecord.h"

struct MaskBounds {  // inclusive: left, right, top, bottom (the window record's order)
  int32_t left, right, top, bottom;
};

struct MaskClipRect {  // inclusive: left, top, right, bottom
  int32_t left, top, right, bottom;
};

// A RECT as the interface passes it (left, top, right, bottom).
struct MaskRect {
  int32_t left, top, right, bottom;
};

constexpr int32_t kMaskPlaneAbsent = -1;
constexpr uint32_t kMaskMaxRowBytes = 0xFFFF;  // the window keeps the row length in 16 bits

struct WindowMask {
  uint8_t* bits = nullptr;  // one zeroed block: plane 0, plane 1, 4 spare bytes
  int32_t plane0 = kMaskPlaneAbsent;
  int32_t plane1 = kMaskPlaneAbsent;
  uint32_t planeSize = 0;
  int32_t rowBytes = 0;
  MaskBounds rect{};
  MaskClipRect clip{};
  int32_t originX = 0;
  int32_t originY = 0;

  bool Exists() const { return bits != nullptr; }
  // The rows of plane 0 or 1, null when that plane is absent.
  uint8_t* Plane(int plane) const;
  int32_t Rows() const { return rect.bottom - rect.top + 1; }

  // A mask of the back buffer's size plus margins (column-aligned on the left
  // and right); planes bit 0 plane 0, bit 1 plane 1. 0 on failure, with no
  // mask left.
  int32_t Create(int32_t bufferWidth, int32_t bufferHeight, int32_t marginX, int32_t marginY,
                 int32_t planes);
  // A mask of the given rectangle, grown to cover the back buffer.
  int32_t CreateRect(int32_t bufferWidth, int32_t bufferHeight, int32_t left, int32_t top,
                     int32_t right, int32_t bottom, int32_t planes);
  void Free();
  void Clear(int32_t value);
  void SetClip(const MaskRect* rect);
  void SetOrigin(int32_t x, int32_t y);
  void FillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t value);
  void PaintBits(const CollisionMaskHeader* record, int32_t x, int32_t y, int32_t planes,
                 int32_t value);
  void PaintBitsTop(const CollisionMaskHeader* record, int32_t x, int32_t y);
  int32_t TestPoint(int32_t x, int32_t y, int32_t plane) const;
  int32_t TestRect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t plane) const;
  int32_t Scroll(int32_t dx, int32_t dy, MaskRect* stripX, MaskRect* stripY);

 private:
  int32_t Allocate(int32_t planes);
};

// The bits of a mask record that can be trusted: header size 44, sizes not
// negative and rows long enough for the width. Null otherwise.
const uint8_t* UsableMaskBits(const CollisionMaskHeader* record);
