#include "window/WindowSizing.h"

#include <algorithm>

#include "window/WindowApi.h"

int32_t BufferExtent(int32_t descriptorValue, int32_t frame) {
  return descriptorValue < 0 ? -descriptorValue : descriptorValue - frame;
}

int32_t ResizeExtent(int32_t value, int32_t current, int32_t frame) {
  if (value == kWindowKeep) return current;
  return value <= 0 ? frame - value : value;
}

bool CappedWindowSize(int32_t clientWidth, int32_t clientHeight, int32_t bufferWidth,
                      int32_t bufferHeight, int32_t frameWidth, int32_t frameHeight,
                      int32_t* windowWidth, int32_t* windowHeight) {
  // Until the buffer's size is known (during creation) nothing is capped.
  if (bufferWidth <= 0 || bufferHeight <= 0) return false;
  if (clientWidth <= bufferWidth && clientHeight <= bufferHeight) return false;
  *windowWidth = std::min(clientWidth, bufferWidth) + frameWidth;
  *windowHeight = std::min(clientHeight, bufferHeight) + frameHeight;
  return true;
}
