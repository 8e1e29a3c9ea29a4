#pragma once

// Placing and turning a hull of circles: the one formula every actor, the
// ship's two hulls and the shots use.
#include "HullCircle.h"
#include "MathUtil.h"
#include "Vec2.h"

#include <vector>

// Every circle's world centre := (x, y) + its offset.
inline void PlaceHull(std::vector<HullCircle>& hull, float x, float y)
{
    for (HullCircle& c : hull) {
        c.x = x + c.offsetX;
        c.y = y + c.offsetY;
    }
}

// Every circle's world centre := centre + U * offset.y + V * offset.x, with
// U and V the vectors of AngleToVectors(degrees + 90).
inline void RotateHull(std::vector<HullCircle>& hull, Vec2 centre, float degrees)
{
    Vec2 u;
    Vec2 v;
    AngleToVectors(degrees + 90.0f, u, v);
    for (HullCircle& c : hull) {
        c.x = centre.x + u.x * c.offsetY + v.x * c.offsetX;
        c.y = centre.y + u.y * c.offsetY + v.y * c.offsetX;
    }
}
