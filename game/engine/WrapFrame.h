#pragma once

#include "Vec2.h"

// What the wrap-aware helpers need of the running game: the player's current
// position and the world width W. The world wraps horizontally, so the
// player is seen at three images: x - W, x and x + W.
struct WrapFrame {
    Vec2 player;
    float worldWidth = 0.0f;
};

// The image of the player nearest to (x, y). Ties go to +W, then -W, then
// the player's own image.
Vec2 NearestPlayerPosition(float x, float y, const WrapFrame& frame);

// Unit vector from (x, y) toward the nearest image of the player, with ties
// going to the own image, then +W, then -W; (0, 0) when (x, y) lies on it.
Vec2 DirectionToPlayer(float x, float y, const WrapFrame& frame);
