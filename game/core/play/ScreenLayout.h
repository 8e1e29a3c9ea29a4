#pragma once

#include "Vec2.h"

// The layout space every screen is designed in.
constexpr float kLayoutWidth = 640.0f;
constexpr float kLayoutHeight = 480.0f;

// A point of the layout space scaled to a target of width x height; on a
// turned screen the target's sides swap.
Vec2 MapLayoutPoint(float x, float y, int width, int height, bool rotated);
