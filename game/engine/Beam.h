#pragma once

#include "Vec2.h"

#include <cstddef>
#include <cstdint>

// An RGB colour, each component 0..1.
struct Rgb {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

// One glowing line segment: terrain of a map, part of a vector model, debris.
// Files store it in a different field order (see ModelFile.h).
struct Beam {
    Vec2 a;
    Vec2 b;
    Rgb colourA;
    Rgb colourB;
    Vec2 normal;
    Vec2 direction; // unit, from A to B
    std::uint32_t stamp = 0; // the world draw draws a map beam once per stamp
    std::uint16_t id = 0;    // record number in its map; 0 for model beams
};

static_assert(sizeof(Beam) == 64, "Beam is a 64-byte record");
static_assert(offsetof(Beam, normal) == 40 && offsetof(Beam, direction) == 48,
              "memory holds the normal before the direction");
static_assert(offsetof(Beam, stamp) == 56 && offsetof(Beam, id) == 60, "Beam layout");
