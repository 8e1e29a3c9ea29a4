#pragma once

#include "Vec2.h"

// Degrees to radians, as the game has always rounded it.
constexpr float kDegToRad = 0.017453292f;

// Euclidean distance between (x1, y1) and (x2, y2).
float Distance(float x1, float y1, float x2, float y2);

// (x, y) scaled to unit length; (0, 0) for a zero-length (or non-finite) vector.
Vec2 Normalize(float x, float y);

// v bounced off a surface with unit normal n: e = 1 mirrors, e = 0 slides.
Vec2 Reflect(Vec2 v, Vec2 n, float e);

// Render blends: t = 1 gives a (current pose), t = 0 gives b (previous pose).
float Lerp(float a, float b, float t);
Vec2 Lerp2(Vec2 a, Vec2 b, float t);
void Lerp3(const float a[3], const float b[3], float t, float out[3]);

// from -> to over [start, start + duration], clamped to the range between
// from and to. A duration of 0 or less jumps: from before start, to from
// start on.
float Interpolate(float from, float to, float start, float duration, float now);

// Unit vectors of an angle in degrees (y grows downward): forward points
// along the angle, side 90 degrees clockwise from it.
void AngleToVectors(float degrees, Vec2& forward, Vec2& side);

// Length of v.
float Length(Vec2 v);
