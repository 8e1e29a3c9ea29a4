#include "Sector.h"

#include "Collision.h"
#include "Entity.h"
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

std::uint32_t Sector::AddEntity(Entity* entity)
{
    entities.push_back(entity);
    return static_cast<std::uint32_t>(entities.size() - 1);
}

void Sector::RemoveEntity(const Entity* entity, std::uint32_t slot)
{
    if (entity == nullptr)
        return;
    ++departures;
    if (slot < entities.size() && entities[slot] == entity) {
        entities[slot] = nullptr;
        ++gaps;
    } else {
        for (Entity*& held : entities)
            if (held == entity) {
                held = nullptr;
                ++gaps;
            }
    }
    while (!entities.empty() && entities.back() == nullptr) {
        entities.pop_back();
        --gaps;
    }
    if (gaps > 0 && !gapListed && grid != nullptr) {
        gapListed = true;
        grid->ListGaps(this);
    }
}

void Sector::CloseGaps()
{
    gapListed = false;
    if (gaps == 0)
        return;
    ++departures;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entities.size(); ++i) {
        Entity* entity = entities[i];
        if (entity == nullptr)
            continue;
        if (i != kept) {
            entities[kept] = entity;
            entity->MovedInSector(this, static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(kept));
        }
        ++kept;
    }
    entities.resize(kept);
    gaps = 0;
}

void Sector::Clear()
{
    // Whoever still stands in the cell forgets it, so nothing keeps a
    // pointer into the freed cells.
    for (Entity* entity : Entities())
        entity->ForgetSectors();
    entities.clear();
    gaps = 0;
    gapListed = false;
    ++departures;
    projectiles.clear();
    beams.clear();
}

void Sector::RemoveProjectile(const Projectile* projectile)
{
    projectiles.erase(std::remove(projectiles.begin(), projectiles.end(), projectile), projectiles.end());
}
