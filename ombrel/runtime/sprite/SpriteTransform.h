// Transformed images of sprites: the scaled and/or rotated picture of the
// sprite's pending image (rebuilt at the commit) and of the test transform
// (asked by collision tests), made from the app's format.
#pragma once

#include <cstdint>

#include "sprite/SpritePool.h"

struct AppObject;

// Rebuilds the sprite's transformed image from its pending image, scale and
// angle (dropped when there is no transform or no image).
void RebuildTransform(AppObject* app, SpriteRecord* sprite);
// Builds the test transform's surface at width x height from the test
// fields; nothing for an untransformed test.
void BuildTestSurface(AppObject* app, SpriteRecord* sprite, int32_t width, int32_t height);
