// Drawing with the platform on a surface's device context, in handle
// coordinates: the context is taken from the implementation, its clip
// narrowed to the handle's clip rectangle for the drawing's lifetime, and
// both given back at the end. Without a context the surface's last error
// becomes ErrInvalidData and `Dc()` is null.
#pragma once

#include <cstdint>

class cSurfaceHandle;
class cSurfaceImpl;

class DeviceDrawing {
 public:
  explicit DeviceDrawing(cSurfaceHandle& surface);
  ~DeviceDrawing();
  DeviceDrawing(const DeviceDrawing&) = delete;
  DeviceDrawing& operator=(const DeviceDrawing&) = delete;

  void* Dc() const { return dc_; }
  // Handle point (x, y) is context point (x - ShiftX(), y - ShiftY()): the
  // handle's origin, unless the context applies it itself.
  int32_t ShiftX() const { return shiftX_; }
  int32_t ShiftY() const { return shiftY_; }

 private:
  cSurfaceHandle& surface_;
  cSurfaceImpl* impl_;
  void* dc_ = nullptr;
  void* savedClip_ = nullptr;
  int32_t shiftX_ = 0;
  int32_t shiftY_ = 0;
};
