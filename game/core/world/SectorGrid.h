#pragma once

#include "Beam.h"
#include "HullCircle.h"
#include "Rect.h"
#include "Sector.h"
#include "Vec2.h"

#include <cstdint>
#include <memory>
#include <vector>

class EntityList;
class Log;

// Index arithmetic of the grid. Non-finite input has no cell: the functions
// answer false and leave out alone. Finite values far outside any grid are
// clamped so the integer never overflows (such an index lies outside every
// grid anyway).
// The cell index of a coordinate: trunc(v * 0.004).
bool SectorCellIndex(float v, int& out);
// The index range of the extent lo..hi on one axis: first = trunc(lo * 0.004
// - 1) up to, not including, end = trunc(hi * 0.004 + 2).
bool SectorIndexRange(float lo, float hi, int& first, int& end);

// The broad phase of every collision and visibility question: square cells of
// 250 units over the world, which wraps horizontally at worldWidth. Cells
// hold non-owning pointers of the live beams, entities and projectiles.
class SectorGrid {
public:
    // Largest grid the build makes; a bigger map is refused by the loader
    // (FitsExtent) and built as an empty grid here.
    static constexpr std::int64_t kMaxCells = 1 << 22;

    float worldWidth = 0.0f;
    float worldHeight = 0.0f;
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    Vec2 offset;

    SectorGrid() = default;
    SectorGrid(const SectorGrid&) = delete;
    SectorGrid& operator=(const SectorGrid&) = delete;

    // Whether a map whose beams span width x height (before the 1000-unit
    // margins) fits the grid. False for non-finite or negative sizes.
    static bool FitsExtent(float width, float height);

    bool HasCells() const { return cells != nullptr; }
    // Row-major: column c, row r is element r * columns + c. Null without cells
    // or outside the grid.
    Sector* Cell(int column, int row) const;

    // The cell holding (x, y), no wrap; null outside the grid or for
    // non-finite input.
    Sector* SectorAt(float x, float y) const;
    // Every cell of the box's index ranges, clipped to the grid, no wrap, no
    // exact test and no duplicate check.
    void SectorsInRange(const Rect& box, std::vector<Sector*>& out) const;
    // Cells (across the wrap) whose test box the shape meets and that are not
    // yet in out are appended; answers whether any was.
    bool SectorsForCircle(const HullCircle& circle, std::vector<Sector*>& out) const;
    bool SectorsForRect(const Rect& box, std::vector<Sector*>& out) const;
    bool SectorsForBeam(const Beam& beam, std::vector<Sector*>& out) const;

    // A moved platform beam enters every cell its segment meets (no duplicate
    // check); logs "Failed to find sector for beam!" when none takes it.
    void AddBeam(Beam* beam);
    // Each beam leaves every cell of its index ranges (no exact test), one
    // occurrence per cell and call.
    void RemoveBeams(const std::vector<Beam*>& beams);

    // Sizes the grid from the beams, moves the world so the beams span x 0..W
    // and y 1000..H-1000 (beams, entities' poses and hulls, mover and trigger
    // areas), and buckets beams and entities into the cells. A map without
    // beams (or too large for the grid) gets bounds (0,0)-(0,0): one empty
    // cell column, nothing moves.
    void Build(std::vector<Beam>& beams, EntityList& entities);
    // Empties and frees the cells (logging the count of beam entries).
    void Clear();
    void Clear(Log& log);

    // Closes the gaps that leaving entities left in the cells' entity lists
    // (Sector::CloseGaps). The entity list's update pass calls it before it
    // starts, when no cell's list is being walked.
    void CloseGaps();
    // A cell with gaps asks to be closed by the next CloseGaps.
    void ListGaps(Sector* cell) const { gapped.push_back(cell); }

private:
    // Visits every cell of the ranges after the single wrap step, passing the
    // x shift of the wrap image; columns still outside the grid are skipped.
    template <typename Visit>
    void ForEachWrappedCell(int firstColumn, int endColumn, int firstRow, int endRow,
                            Visit&& visit) const;

    // Limits index ranges to the grid, without wrapping.
    void ClampToGrid(int& firstColumn, int& endColumn, int& firstRow, int& endRow) const;

    // Starts a query that appends each cell to `taken` at most once: marks
    // what the list already holds with a new stamp, so membership is one
    // comparison (a search of the list per cell made a box over many cells
    // quadratic: a damaged map's huge trigger zone stalled the level start).
    std::uint32_t BeginQuery(const std::vector<Sector*>& taken) const;

    std::unique_ptr<Sector[]> cells;
    mutable std::uint32_t queryStamp = 0;
    mutable std::vector<Sector*> gapped;
};
