#pragma once

#include "Vec2.h"

// A 2D affine map: (x, y) -> (a x + c y + e, b x + d y + f).
struct Affine2 {
    float a = 1.0f, b = 0.0f, c = 0.0f, d = 1.0f, e = 0.0f, f = 0.0f;

    Vec2 Apply(float x, float y) const { return {a * x + c * y + e, b * x + d * y + f}; }
    // This map followed by m applied first (as OpenGL multiplies).
    Affine2 Then(const Affine2& m) const
    {
        return {a * m.a + c * m.b, b * m.a + d * m.b, a * m.c + c * m.d,
                b * m.c + d * m.d, a * m.e + c * m.f + e, b * m.e + d * m.f + f};
    }
    // The map back; false (and out untouched) when this one squashes the
    // plane flat or holds a value that is not finite. In doubles, so a large
    // scale does not overflow the determinant.
    bool Inverse(Affine2& out) const
    {
        const double det = static_cast<double>(a) * d - static_cast<double>(b) * c;
        if (!(det != 0.0 && det - det == 0.0 && e - e == 0.0f && f - f == 0.0f))
            return false;
        const double ia = d / det, ib = -b / det, ic = -c / det, id = a / det;
        out = {static_cast<float>(ia), static_cast<float>(ib), static_cast<float>(ic), static_cast<float>(id),
               static_cast<float>(-(ia * e + ic * f)), static_cast<float>(-(ib * e + id * f))};
        return true;
    }
};
