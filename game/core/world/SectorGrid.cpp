#include "SectorGrid.h"

#include "Entity.h"
#include "EntityList.h"
#include "Line.h"
#include "Log.h"
#include "MapData.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace {
// Far beyond any grid the build makes, and safe to convert to int.
constexpr float kIndexLimit = 1.0e9f;

int TruncIndex(float t)
{
    t = std::max(-kIndexLimit, std::min(kIndexLimit, t));
    return static_cast<int>(t);
}

bool Finite(float v) { return std::isfinite(v); }
} // namespace

bool SectorCellIndex(float v, int& out)
{
    if (!Finite(v))
        return false;
    out = TruncIndex(v * kSectorScale);
    return true;
}

bool SectorIndexRange(float lo, float hi, int& first, int& end)
{
    if (!Finite(lo) || !Finite(hi))
        return false;
    first = TruncIndex(lo * kSectorScale - 1.0f);
    end = TruncIndex(hi * kSectorScale + 2.0f);
    return true;
}

bool SectorGrid::FitsExtent(float width, float height)
{
    if (!Finite(width) || !Finite(height) || width < 0.0f || height < 0.0f)
        return false;
    const double columnCount = std::trunc(double(width) * double(kSectorScale) + 1.0);
    const double rowCount = std::trunc((double(height) + 2000.0) * double(kSectorScale) + 1.0);
    return columnCount * rowCount <= double(kMaxCells);
}

Sector* SectorGrid::Cell(int column, int row) const
{
    if (!cells || column < 0 || column >= columns || row < 0 || row >= rows)
        return nullptr;
    return &cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(column)];
}

Sector* SectorGrid::SectorAt(float x, float y) const
{
    int column = 0;
    int row = 0;
    if (!SectorCellIndex(x, column) || !SectorCellIndex(y, row))
        return nullptr;
    return Cell(column, row);
}

template <typename Visit>
void SectorGrid::ForEachWrappedCell(int firstColumn, int endColumn, int firstRow, int endRow,
                                    Visit&& visit) const
{
    if (!cells)
        return;
    firstRow = std::max(firstRow, 0);
    endRow = std::min(endRow, rows);
    if (firstRow >= endRow)
        return;
    // Beyond one wrap on each side nothing is reachable; keeps huge ranges cheap.
    firstColumn = std::max(firstColumn, -columns);
    endColumn = std::min(endColumn, 2 * columns);
    for (int c = firstColumn; c < endColumn; ++c) {
        int column = c;
        float shift = 0.0f;
        if (column < 0) {
            column += columns;
            shift = worldWidth;
        } else if (column >= columns) {
            column -= columns;
            shift = -worldWidth;
        }
        if (column < 0 || column >= columns)
            continue; // one wrap step only
        for (int r = firstRow; r < endRow; ++r)
            visit(cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(column)],
                  shift);
    }
}

void SectorGrid::SectorsInRange(const Rect& box, std::vector<Sector*>& out) const
{
    int c0, c1, r0, r1;
    if (!cells || !SectorIndexRange(box.min.x, box.max.x, c0, c1) || !SectorIndexRange(box.min.y, box.max.y, r0, r1))
        return;
    ClampToGrid(c0, c1, r0, r1);
    for (int c = c0; c < c1; ++c)
        for (int r = r0; r < r1; ++r)
            out.push_back(Cell(c, r));
}

void SectorGrid::ClampToGrid(int& firstColumn, int& endColumn, int& firstRow, int& endRow) const
{
    firstColumn = std::max(firstColumn, 0);
    endColumn = std::min(endColumn, columns);
    firstRow = std::max(firstRow, 0);
    endRow = std::min(endRow, rows);
}

std::uint32_t SectorGrid::BeginQuery(const std::vector<Sector*>& taken) const
{
    if (++queryStamp == 0 && cells) {
        // The stamp wrapped: old marks could now read as taken.
        for (std::size_t i = 0, n = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows); i < n; ++i)
            cells[i].queryMark = 0;
        queryStamp = 1;
    }
    for (const Sector* s : taken)
        s->queryMark = queryStamp;
    return queryStamp;
}

bool SectorGrid::SectorsForCircle(const HullCircle& circle, std::vector<Sector*>& out) const
{
    const float reach = std::fabs(circle.radius);
    int c0, c1, r0, r1;
    if (!SectorIndexRange(circle.x - reach, circle.x + reach, c0, c1) ||
        !SectorIndexRange(circle.y - reach, circle.y + reach, r0, r1))
        return false;
    bool any = false;
    const std::uint32_t stamp = BeginQuery(out);
    ForEachWrappedCell(c0, c1, r0, r1, [&](Sector& cell, float shift) {
        if (cell.queryMark == stamp)
            return;
        HullCircle moved = circle;
        moved.x += shift;
        if (cell.IntersectsCircle(moved)) {
            cell.queryMark = stamp;
            out.push_back(&cell);
            any = true;
        }
    });
    return any;
}

bool SectorGrid::SectorsForRect(const Rect& box, std::vector<Sector*>& out) const
{
    int c0, c1, r0, r1;
    if (!SectorIndexRange(box.min.x, box.max.x, c0, c1) || !SectorIndexRange(box.min.y, box.max.y, r0, r1))
        return false;
    bool any = false;
    const std::uint32_t stamp = BeginQuery(out);
    ForEachWrappedCell(c0, c1, r0, r1, [&](Sector& cell, float shift) {
        if (cell.queryMark == stamp)
            return;
        const Rect moved(box.half.x * 2.0f, box.half.y * 2.0f, box.centre.x + shift, box.centre.y);
        if (cell.IntersectsRect(moved)) {
            cell.queryMark = stamp;
            out.push_back(&cell);
            any = true;
        }
    });
    return any;
}

namespace {
bool BeamRange(const Beam& beam, int& c0, int& c1, int& r0, int& r1)
{
    if (!Finite(beam.a.x) || !Finite(beam.a.y) || !Finite(beam.b.x) || !Finite(beam.b.y))
        return false;
    return SectorIndexRange(std::min(beam.a.x, beam.b.x), std::max(beam.a.x, beam.b.x), c0, c1) &&
           SectorIndexRange(std::min(beam.a.y, beam.b.y), std::max(beam.a.y, beam.b.y), r0, r1);
}

Beam Shifted(const Beam& beam, float shift)
{
    Beam moved = beam;
    moved.a.x += shift;
    moved.b.x += shift;
    return moved;
}
} // namespace

bool SectorGrid::SectorsForBeam(const Beam& beam, std::vector<Sector*>& out) const
{
    int c0, c1, r0, r1;
    if (!BeamRange(beam, c0, c1, r0, r1))
        return false;
    bool any = false;
    const std::uint32_t stamp = BeginQuery(out);
    ForEachWrappedCell(c0, c1, r0, r1, [&](Sector& cell, float shift) {
        if (cell.queryMark == stamp)
            return;
        if (cell.IntersectsSegment(Shifted(beam, shift))) {
            cell.queryMark = stamp;
            out.push_back(&cell);
            any = true;
        }
    });
    return any;
}

void SectorGrid::AddBeam(Beam* beam)
{
    if (beam == nullptr)
        return;
    int c0, c1, r0, r1;
    bool taken = false;
    if (BeamRange(*beam, c0, c1, r0, r1)) {
        ForEachWrappedCell(c0, c1, r0, r1, [&](Sector& cell, float shift) {
            if (cell.IntersectsSegment(Shifted(*beam, shift))) {
                cell.beams.push_back(beam);
                taken = true;
            }
        });
    }
    if (!taken)
        Log::Instance().Write("Failed to find sector for beam!\n");
}

void SectorGrid::RemoveBeams(const std::vector<Beam*>& beams)
{
    for (Beam* beam : beams) {
        int c0, c1, r0, r1;
        if (beam == nullptr || !BeamRange(*beam, c0, c1, r0, r1))
            continue;
        // A cell reached through two wrap images still loses one entry.
        const std::uint32_t stamp = BeginQuery({});
        ForEachWrappedCell(c0, c1, r0, r1, [&](Sector& cell, float) {
            if (cell.queryMark == stamp)
                return;
            cell.queryMark = stamp;
            auto it = std::find(cell.beams.begin(), cell.beams.end(), beam);
            if (it != cell.beams.end())
                cell.beams.erase(it);
        });
    }
}

void SectorGrid::Build(std::vector<Beam>& beams, EntityList& entities)
{
    // 1-2. Bounds of the finite end points, then the margins above and below.
    constexpr float inf = std::numeric_limits<float>::infinity();
    float minX = inf, minY = inf, maxX = -inf, maxY = -inf;
    for (const Beam& beam : beams) {
        for (const Vec2& p : {beam.a, beam.b}) {
            if (!Finite(p.x) || !Finite(p.y))
                continue;
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
    }
    if (!(minX <= maxX) || !FitsExtent(maxX - minX, maxY - minY)) {
        // No beams (or a map the loader should have refused): an empty world.
        minX = minY = maxX = maxY = 0.0f;
    }
    maxY += 1000.0f;
    minY -= 1000.0f;

    // 3-4. Sizes and cells.
    worldWidth = maxX - minX;
    worldHeight = maxY - minY;
    offset = {-minX, -minY};
    columns = static_cast<std::int32_t>(worldWidth * kSectorScale + 1.0f);
    rows = static_cast<std::int32_t>(worldHeight * kSectorScale + 1.0f);
    const std::size_t count = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
    gapped.clear();
    cells.reset(new Sector[count]);

    // 5. Move the world.
    for (Beam& beam : beams) {
        beam.a += offset;
        beam.b += offset;
    }
    for (Entity* entity : entities) {
        entity->position += offset;
        entity->previousPosition += offset;
        entity->PlaceShapes(entity->position.x, entity->position.y);
        entity->MoveArea(offset);
    }

    // 6. Centres, then the buckets. Each beam visits only the cells of its
    // own index range (no wrap); cell lists come out in beam order, as a scan
    // of every beam for every cell would give them.
    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            Sector& cell = *Cell(c, r);
            cell.centre = {125.0f + 250.0f * static_cast<float>(c), 125.0f + 250.0f * static_cast<float>(r)};
            cell.grid = this;
        }
    }
    for (Beam& beam : beams) {
        int c0, c1, r0, r1;
        if (!BeamRange(beam, c0, c1, r0, r1))
            continue;
        ClampToGrid(c0, c1, r0, r1);
        for (int c = c0; c < c1; ++c)
            for (int r = r0; r < r1; ++r) {
                Sector& cell = *Cell(c, r);
                if (cell.IntersectsSegment(beam))
                    cell.beams.push_back(&beam);
            }
    }

    // Entities: one entry per (cell, entity, circle) that meets, in the order
    // a column-major scan of the cells would append them.
    struct Entry {
        std::size_t order; // column-major cell number
        std::size_t entity;
        std::size_t circle;
        Sector* cell;
        Entity* owner;
    };
    std::vector<Entry> entries;
    std::size_t entityIndex = 0;
    for (Entity* entity : entities) {
        for (std::size_t k = 0; k < entity->shapes.size(); ++k) {
            const HullCircle& circle = entity->shapes[k];
            const float reach = std::fabs(circle.radius);
            int c0, c1, r0, r1;
            if (!SectorIndexRange(circle.x - reach, circle.x + reach, c0, c1) ||
                !SectorIndexRange(circle.y - reach, circle.y + reach, r0, r1))
                continue;
            ClampToGrid(c0, c1, r0, r1);
            for (int c = c0; c < c1; ++c)
                for (int r = r0; r < r1; ++r) {
                    Sector* cell = Cell(c, r);
                    if (cell->IntersectsCircle(circle))
                        entries.push_back({static_cast<std::size_t>(c) * static_cast<std::size_t>(rows) + static_cast<std::size_t>(r),
                                           entityIndex, k, cell, entity});
                }
        }
        ++entityIndex;
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& x, const Entry& y) {
        return std::tie(x.order, x.entity, x.circle) < std::tie(y.order, y.entity, y.circle);
    });
    for (const Entry& e : entries)
        e.owner->JoinSector(e.cell);
}

void SectorGrid::CloseGaps()
{
    for (Sector* cell : gapped)
        cell->CloseGaps();
    gapped.clear();
}

void SectorGrid::Clear() { Clear(Log::Instance()); }

void SectorGrid::Clear(Log& log)
{
    log.Write("Clearing sectors...\n");
    long long count = 0;
    if (cells) {
        const std::size_t n = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
        for (std::size_t i = 0; i < n; ++i) {
            Sector& cell = cells[i];
            count += static_cast<long long>(cell.beams.size());
            cell.Clear();
        }
        cells.reset();
    }
    gapped.clear();
    log.Writef("Total Beams Cleared:%i\n", static_cast<int>(count));
}
