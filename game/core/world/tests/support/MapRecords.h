#pragma once

// Small record builders shared by the map, loader and level-start tests.
#include "Beam.h"
#include "MapWriter.h"

#include <cstdint>

// An actor record of the map file: type, position and angle, every other
// field at its default.
inline MapActor Actor(std::int32_t type, float x, float y, float angle = 0.0f)
{
    MapActor actor;
    actor.type = type;
    actor.position = {x, y};
    actor.angle = angle;
    return actor;
}

// A beam running along +x with its normal up, whatever its end points: the
// tests that use it check positions, not directions.
inline Beam FlatBeam(float ax, float ay, float bx, float by)
{
    Beam beam;
    beam.a = {ax, ay};
    beam.b = {bx, by};
    beam.direction = {1, 0};
    beam.normal = {0, -1};
    return beam;
}
