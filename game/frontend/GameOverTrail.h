#pragma once

// One fading copy of the game-over model, in view units.
struct GameOverTrailPoint {
    float scale = 0.0f;
    float angle = 0.0f; // degrees
    float life = 1.0f;  // 1 when made, removed at 0 or below
    float x = 0.0f;
    float y = 0.0f;
};
static_assert(sizeof(GameOverTrailPoint) == 5 * sizeof(float), "five floats in this order");

// Ages the point by one tick (3 x tickLength of life); true when it is
// spent and leaves the trail.
bool GameOverTrailExpired(GameOverTrailPoint& point, float tickLength);
