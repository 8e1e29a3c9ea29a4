#include "Sector.h"

#include "Collision.h"
#include "Line.h"
#include "SectorGrid.h"

#include <algorithm>

bool Sector::IntersectsRect(const Rect& rect) const { return RectsOverlap(TestBox(), rect); }

bool Sector::IntersectsSegment(const Beam& beam) const
{
    return SegmentIntersectsRect(Line(beam.a, beam.b), TestBox());
}

bool Sector::IntersectsCircle(const HullCircle& circle) const
{
    return CircleIntersectsRect(circle, TestBox());
}

namespace {
bool CollideBeams(const std::vector<Beam*>& beams, const HullCircle& circle, std::vector<BeamHit>& hits)
{
    bool any = false;
    for (std::size_t i = 0; i < beams.size(); ++i) {
        Beam* beam = beams[i];
        Vec2 point;
        if (SegmentCircleIntersection(Line(beam->a, beam->b), circle, &point)) {
            hits.push_back({beam, point});
            any = true;
        }
    }
    return any;
}
} // namespace

bool Sector::CollideCircle(const HullCircle& circle, std::vector<BeamHit>& hits) const
{
    int column = 0;
    if (!SectorCellIndex(circle.x, column))
        return false;
    bool any = CollideBeams(beams, circle, hits);
    if (grid == nullptr)
        return any; // a loose cell has no seam
    const int columns = grid->columns;
    const float width = grid->worldWidth;
    if (column <= 0 || column >= columns - 1) {
        // Near the seam the beams of the other side may lie one world width away.
        HullCircle shifted = circle;
        shifted.x += column > 0 ? -width : width;
        any = CollideBeams(beams, shifted, hits) || any;
    }
    return any;
}

bool Sector::PointOnBeam(float x, float y, std::vector<BeamHit>& hits) const
{
    for (Beam* beam : beams) {
        if (DistancePointToSegment(x, y, Line(beam->a, beam->b)) <= 1.0f) {
            hits.push_back({beam, {x, y}});
            return true;
        }
    }
    return false;
}

void Sector::RemoveEntity(const Entity* entity)
{
    entities.erase(std::remove(entities.begin(), entities.end(), entity), entities.end());
}

void Sector::RemoveProjectile(const Projectile* projectile)
{
    projectiles.erase(std::remove(projectiles.begin(), projectiles.end(), projectile), projectiles.end());
}
