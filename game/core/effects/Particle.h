#pragma once

#include "Vec2.h"

// One glowing square of a particle system: twelve floats.
struct Particle {
    Vec2 position;
    Vec2 previousPosition; // the draw blends between the two
    Vec2 velocity;         // world units per tick
    float colour[3] = {0.0f, 0.0f, 0.0f}; // drawn additively: black is invisible
    float life = 0.0f;     // seconds left; removed at 0 or less
    float maxLife = 0.0f;  // life at birth (the fuel stream keeps its colour scheme here)
    float size = 0.0f;     // half the side of the square
};

static_assert(sizeof(Particle) == 12 * sizeof(float), "Particle is twelve floats");
