#pragma once

// What breaking things leave behind, shared by the ship, its wreck pieces
// and the debris.
#include "Beam.h"
#include "Vec2.h"

#include <cstdint>
#include <functional>

// An explosion burst at a point, direction (0, 0), fading to black.
void AddExplosion(Vec2 at, float r, float g, float b, std::int32_t count);
// A shock ring of speed 40 in (1, 0.75, 0).
void AddShockRing(Vec2 at);
// A shock ring of the given speed and colour.
void AddShockRing(Vec2 at, Rgb colour, float speed);
// Every beam of the model becomes a Debris piece, moved by `at` without the
// owner's rotation, not waiting, shrinking slowly, with the velocity
// baseVelocity + pull * (at - the piece's midpoint).
void BreakIntoDebris(const char* modelName, Vec2 at, Vec2 baseVelocity, float pull);
// Every beam of the model becomes a Debris piece with its end points placed
// by `place`, not waiting, shrinking slowly, with the velocity that
// `velocityAt` gives for the placed piece's midpoint. A turned placement
// gives each piece the direction and normal of its placed ends.
void BreakIntoDebris(const char* modelName, const std::function<Vec2(Vec2)>& place,
                     const std::function<Vec2(Vec2)>& velocityAt, bool turned);
