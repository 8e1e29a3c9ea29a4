// The repaint of a damaged client region from the back buffer (the window
// procedure's background erase).
#pragma once

#include <cstdint>

#include "window/WindowObject.h"

void RepaintWindowRegion(WindowObject* window, int32_t x, int32_t y, int32_t width,
                         int32_t height);
