#include "ParticleTerrain.h"

#include "Collision.h"
#include "Line.h"

#include <algorithm>

const Beam* ParticleBeamAt(const Sector& sector, float x, float y)
{
    constexpr float kMargin = 2.0f; // the 1-unit reach plus room for rounding
    for (const Beam* beam : sector.beams) {
        const Vec2 a = beam->a;
        const Vec2 b = beam->b;
        // Non-short-circuit tests: one well-predicted branch per beam.
        const bool outside = (x < std::min(a.x, b.x) - kMargin) | (x > std::max(a.x, b.x) + kMargin) |
                             (y < std::min(a.y, b.y) - kMargin) | (y > std::max(a.y, b.y) + kMargin);
        if (outside)
            continue;
        if (DistancePointToSegment(x, y, Line(beam->a, beam->b)) <= 1.0f)
            return beam;
    }
    return nullptr;
}
