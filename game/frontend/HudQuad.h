#pragma once

#include "Vec2.h"

class DrawSink;

// One quad of a textured HUD piece from corner p0 to corner p1, with u from
// u0 to u1 across and v from v0 (at p0's edge) to v1.
void TexturedQuad(DrawSink& sink, Vec2 p0, Vec2 p1, float u0, float u1, float v0, float v1);
