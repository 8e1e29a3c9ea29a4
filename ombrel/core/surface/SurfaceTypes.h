// Enumerations and small records shared by every surface implementation.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"

// Result of slot `GetKind`.
enum SurfaceKind : int32_t {
  SurfaceKindMemory = 1,     // memory, DIB and byte views, bank images, the null surface
  SurfaceKindDC = 2,         // device context
  SurfaceKindDIB = 3,        // DIB section, device context made on demand
  SurfaceKindDIBWithDC = 4,  // DIB section with its own device context
  SurfaceKindDirectDraw = 5,
  SurfaceKindDirectDrawSysMem = 6,
};

// Last argument of slot `Blit`; other bits are ignored.
constexpr uint32_t BlitSmoothEdges = 0x1;
constexpr uint32_t BlitWithAlpha = 0x2;

// Last argument of slot `Stretch`; other bits are ignored.
constexpr uint32_t StretchResample = 0x1;
constexpr uint32_t StretchResampleKeyed = 0x2;
constexpr uint32_t StretchWithAlpha = 0x4;

// Blit modes: every source pixel written, or the transparent ones skipped.
constexpr int32_t BlitOpaque = 0;
constexpr int32_t BlitKeyed = 1;

// A rectangle given by its edges; right and bottom exclusive.
struct SurfaceRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};
OMB_PIN_SIZE(SurfaceRect, 16);
