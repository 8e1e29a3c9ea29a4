#pragma once

#include "Ribbons.h"
#include "Vec2.h"

// The expanding ring of an explosion: built at once by Emit after the
// creator has set the speed; it widens, fades and is gone after a second.
class ShockRing : public Ribbon {
public:
    Vec2 centre;
    // Set by the creator before Emit: radius speed / 2, trunc(speed) + 1
    // points, half width speed growing by speed per second; the points move
    // outward only when speed > 25.
    float speed = 0.0f;

    // The colour arguments are not kept: Emit receives them again.
    ShockRing(float x, float y, float r, float g, float b);

    // trunc(speed) + 1 points round (x, y); none for a negative or
    // non-finite speed.
    void Emit(float x, float y, float r, float g, float b) override;
    // Widens, fades (and moves out) the points still alive; finished once
    // none is.
    void Update() override;

    // Rings beyond this many points are cut (a ring needs about one point
    // per unit of speed).
    static constexpr int kMaxPoints = 4096;
};
