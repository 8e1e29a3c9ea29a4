#pragma once

// A collision circle: radius, world centre, and the offset of the centre from
// its owner's position in the owner's model frame.
struct HullCircle {
    float radius = 0.0f;
    float x = 0.0f;
    float y = 0.0f;
    float offsetX = 0.0f;
    float offsetY = 0.0f;

    HullCircle() = default;
    HullCircle(float radius, float x, float y) : radius(radius), x(x), y(y) {}
    HullCircle(float radius, float x, float y, float offsetX, float offsetY)
        : radius(radius), x(x + offsetX), y(y + offsetY), offsetX(offsetX), offsetY(offsetY)
    {
    }
};

static_assert(sizeof(HullCircle) == 5 * sizeof(float), "HullCircle is five floats");
