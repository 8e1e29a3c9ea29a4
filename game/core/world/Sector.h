#pragma once

#include <cstdint>

#include "Beam.h"
#include "CellEntities.h"
#include "HullCircle.h"
#include "Rect.h"
#include "Vec2.h"

#include <vector>

class Entity;
class Projectile;
class SectorGrid;

// Edge of a cell and the size of the box its exact tests use: the box reaches
// 62.5 units beyond the cell on every side.
constexpr float kSectorSize = 250.0f;
constexpr float kSectorTestSize = 375.0f;
constexpr float kSectorScale = 0.004f; // 1 / kSectorSize, as the index rules use it

// A beam met by a query and the point where it was met.
struct BeamHit {
    Beam* beam = nullptr;
    Vec2 point;
};

// One 250-unit cell of the sector grid. Its lists hold non-owning pointers.
// They may grow while someone walks them (an actor dying in a query makes
// debris that registers itself): walk the beams and projectiles by index,
// not by iterator; Entities() walks the entities that way.
class Sector {
public:
    Vec2 centre;
    std::vector<Beam*> beams;
    std::vector<Projectile*> projectiles;
    // The grid this cell belongs to (for the wrap width); set by the build.
    const SectorGrid* grid = nullptr;
    // The grid's query stamp when a query last took this cell (see
    // SectorGrid::BeginQuery); not part of the cell's contents.
    mutable std::uint32_t queryMark = 0;
    // Whether the grid lists the cell for closing its gaps.
    bool gapListed = false;

    // The 375-unit test box around the centre.
    Rect TestBox() const { return Rect(kSectorTestSize, kSectorTestSize, centre.x, centre.y); }

    bool IntersectsRect(const Rect& rect) const;
    bool IntersectsSegment(const Beam& beam) const;
    bool IntersectsCircle(const HullCircle& circle) const;

    // Every beam of the cell that the circle meets, appended with the point
    // where the segment enters the circle. A circle in the first or last
    // column is tested a second time shifted by the world width. Answers
    // whether anything was appended.
    bool CollideCircle(const HullCircle& circle, std::vector<BeamHit>& hits) const;
    // The first beam within 1.0 of (x, y), appended with that point.
    bool PointOnBeam(float x, float y, std::vector<BeamHit>& hits) const;

    // The entities standing in the cell, in the order they entered, gaps
    // passed over; from a place of the list on.
    CellEntities Entities() const { return CellEntities(entities, 0); }
    CellEntities EntitiesFrom(std::size_t place) const { return CellEntities(entities, place); }
    // The entity at a place of the list; null for a gap or past its end.
    Entity* EntityAt(std::size_t place) const { return place < entities.size() ? entities[place] : nullptr; }
    // The length of the list, gaps included: the place the next entity takes.
    std::size_t EntityPlaces() const { return entities.size(); }
    // Counts every entity that left the cell or moved in its list: while it
    // stays the same, the list has only grown at its end and every place
    // still holds what it held.
    std::uint32_t Departures() const { return departures; }

    // Appends the entity and answers its slot.
    std::uint32_t AddEntity(Entity* entity);
    // The entity leaves the slot when the slot holds it; otherwise (a slot
    // unknown or stale) every occurrence leaves.
    void RemoveEntity(const Entity* entity, std::uint32_t slot);
    // Moves the entities together over the nulls, keeping their order, and
    // tells each moved one its new slot. Only between walks of the list.
    void CloseGaps();
    // Entities standing in the cell (the non-null entries).
    std::size_t EntityCount() const { return entities.size() - gaps; }
    // Every entity standing in the cell forgets the grid, and the lists are
    // emptied (the grid is going).
    void Clear();
    void RemoveProjectile(const Projectile* projectile);

private:
    // One that leaves turns its place into a null at once (found through its
    // slot, Entity::sectorSlots, so leaving costs no search however full the
    // cell is, and no walker of the list is disturbed). Nulls at the end are
    // dropped at once, the others when the grid closes the gaps
    // (SectorGrid::CloseGaps, before each update pass).
    std::vector<Entity*> entities;
    std::uint32_t gaps = 0; // nulls in `entities`
    std::uint32_t departures = 0;
};
