#include "Collision.h"
#include "Entity.h"
#include "EntityList.h"
#include "LogCapture.h"
#include "Sector.h"
#include "SectorGrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

Beam MakeBeam(float ax, float ay, float bx, float by)
{
    Beam beam;
    beam.a = {ax, ay};
    beam.b = {bx, by};
    return beam;
}

// A bare entity for the grid's entity buckets.
class Dot : public Entity {
public:
    explicit Dot(std::vector<HullCircle> circles) { shapes = std::move(circles); }
    void Spawn(float, float, float) override {}
    void Update() override {}
    void Draw(float) override {}
    void Die() override { MarkDead(); }
    Entity* Clone() const override { return new Dot(*this); }
};

int ColumnOf(const SectorGrid& grid, const Sector* s)
{
    for (int c = 0; c < grid.columns; ++c)
        for (int r = 0; r < grid.rows; ++r)
            if (grid.Cell(c, r) == s)
                return c;
    return -1;
}

TEST(SectorGridTest, BuildSizesTheGridAndMovesTheWorld)
{
    std::vector<Beam> beams = {MakeBeam(-500, 0, 100, 800), MakeBeam(1500, 400, 200, 300)};
    EntityList entities;
    auto* dot = new Dot({HullCircle(10, 0, 0, 5, 0)});
    dot->position = dot->previousPosition = {0, 0};
    entities.Append(dot);
    SectorGrid grid;
    grid.Build(beams, entities);

    EXPECT_EQ(grid.worldWidth, 2000.0f);
    EXPECT_EQ(grid.worldHeight, 2800.0f);
    EXPECT_EQ(grid.columns, 9);
    EXPECT_EQ(grid.rows, 12);
    EXPECT_EQ(grid.offset, (Vec2{500, 1000}));
    EXPECT_EQ(beams[0].a, (Vec2{0, 1000}));
    EXPECT_EQ(beams[0].b, (Vec2{600, 1800}));
    EXPECT_EQ(beams[1].a, (Vec2{2000, 1400}));
    EXPECT_EQ(dot->position, (Vec2{500, 1000}));
    EXPECT_EQ(dot->previousPosition, (Vec2{500, 1000}));
    EXPECT_EQ(dot->shapes[0].x, 505.0f); // placed through PlaceShapes
    EXPECT_EQ(grid.Cell(3, 5)->centre, (Vec2{875, 1375}));
    EXPECT_FALSE(dot->sectors.empty());
    entities.DeleteAll(); // leaves the cells before the grid goes
}

TEST(SectorGridTest, SectorAtTruncatesTowardZeroAndRejectsOutside)
{
    std::vector<Beam> beams = {MakeBeam(0, 1000, 2000, 1800)};
    EntityList none;
    SectorGrid grid;
    grid.Build(beams, none);
    EXPECT_EQ(grid.SectorAt(-100, 300), grid.Cell(0, 1));
    EXPECT_EQ(grid.SectorAt(300, -300), nullptr);
    EXPECT_EQ(grid.SectorAt(2249, 0), grid.Cell(8, 0));
    EXPECT_EQ(grid.SectorAt(2250, 0), nullptr);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(grid.SectorAt(nan, 0), nullptr);
    EXPECT_EQ(grid.SectorAt(0, inf), nullptr);
    EXPECT_EQ(grid.SectorAt(3e38f, 0), nullptr);
    EXPECT_EQ(grid.SectorAt(-3e38f, -3e38f), nullptr);
}

TEST(SectorGridTest, IndexFunctionsFollowTheRangeRuleAndRejectNonFinite)
{
    int first = 7, end = 7;
    ASSERT_TRUE(SectorIndexRange(0, 100, first, end));
    EXPECT_EQ(first, -1);
    EXPECT_EQ(end, 2);
    ASSERT_TRUE(SectorIndexRange(100, 260, first, end));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(end, 3);
    ASSERT_TRUE(SectorIndexRange(600, 600, first, end));
    EXPECT_EQ(first, 1);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    first = end = 7;
    EXPECT_FALSE(SectorIndexRange(nan, 0, first, end));
    EXPECT_FALSE(SectorIndexRange(0, std::numeric_limits<float>::infinity(), first, end));
    EXPECT_EQ(first, 7);
    int cell = 7;
    EXPECT_FALSE(SectorCellIndex(nan, cell));
    EXPECT_EQ(cell, 7);
    ASSERT_TRUE(SectorCellIndex(1e30f, cell)); // finite: clamped, never overflows
    EXPECT_GT(cell, 1000000);
}

TEST(SectorGridTest, CircleQueriesWrapAcrossTheSeamAndSkipListedCells)
{
    std::vector<Beam> beams = {MakeBeam(0, 1000, 2000, 1800)};
    EntityList none;
    SectorGrid grid;
    grid.Build(beams, none);
    ASSERT_EQ(grid.columns, 9);
    const float w = grid.worldWidth;

    std::vector<Sector*> cells;
    ASSERT_TRUE(grid.SectorsForCircle(HullCircle(20, 10, 1300), cells));
    EXPECT_TRUE(std::count(cells.begin(), cells.end(), grid.Cell(8, 5)) == 1) << "shifted to W + 10";
    EXPECT_TRUE(std::count(cells.begin(), cells.end(), grid.Cell(0, 5)) == 1);
    const std::size_t before = cells.size();
    EXPECT_FALSE(grid.SectorsForCircle(HullCircle(20, 10, 1300), cells));
    EXPECT_EQ(cells.size(), before);

    cells.clear();
    ASSERT_TRUE(grid.SectorsForCircle(HullCircle(20, w - 10, 1300), cells));
    EXPECT_TRUE(std::count(cells.begin(), cells.end(), grid.Cell(0, 5)) == 1) << "shifted to -10";

    const float nan = std::numeric_limits<float>::quiet_NaN();
    cells.clear();
    EXPECT_FALSE(grid.SectorsForCircle(HullCircle(20, nan, 1300), cells));
    EXPECT_FALSE(grid.SectorsForRect(Rect(nan, 10, 0, 0), cells));
    EXPECT_FALSE(grid.SectorsForBeam(MakeBeam(0, 0, nan, 5), cells));
    EXPECT_TRUE(cells.empty());
}

TEST(SectorGridTest, ABoxOverTheWholeGridTakesEveryCellOnceInLinearTime)
{
    // A damaged map's trigger zone of half size 1e7 over a map of 20000 x 100000
    // units: about 33,000 cells, each reached from up to three wrap images.
    std::vector<Beam> beams = {MakeBeam(0, 0, 20000, 100000)};
    EntityList none;
    SectorGrid grid;
    grid.Build(beams, none);
    const std::size_t total = static_cast<std::size_t>(grid.columns) * static_cast<std::size_t>(grid.rows);
    ASSERT_GT(total, 30000u);

    std::vector<Sector*> cells = {grid.Cell(3, 4)}; // already listed: not taken again
    ASSERT_TRUE(grid.SectorsForRect(Rect(2e7f, 2e7f, 10000, 50000), cells));
    EXPECT_EQ(cells.size(), total);
    std::vector<Sector*> sorted = cells;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_TRUE(std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end()) << "a cell was taken twice";

    // The same box again adds nothing; a fresh list takes every cell again.
    EXPECT_FALSE(grid.SectorsForRect(Rect(2e7f, 2e7f, 10000, 50000), cells));
    std::vector<Sector*> fresh;
    ASSERT_TRUE(grid.SectorsForCircle(HullCircle(1e7f, 10000, 50000), fresh));
    EXPECT_EQ(fresh.size(), total);
}

TEST(SectorGridTest, CollideCircleTestsTheSeamColumnsTwice)
{
    // Vertical beams at x = 10 (column 0) and x = 1100 (column 4).
    std::vector<Beam> beams = {MakeBeam(0, 1000, 2000, 1800), MakeBeam(10, 1100, 10, 1400),
                               MakeBeam(1100, 1100, 1100, 1400)};
    EntityList none;
    SectorGrid grid;
    grid.Build(beams, none);
    ASSERT_EQ(grid.columns, 9);
    const float w = grid.worldWidth;
    Sector* seam = grid.SectorAt(10, 1250);
    Sector* middle = grid.SectorAt(1100, 1250);
    ASSERT_EQ(ColumnOf(grid, seam), 0);
    ASSERT_EQ(ColumnOf(grid, middle), 4);

    std::vector<BeamHit> hits;
    // Seen one world width to the left: only the second pass (shifted right) hits.
    EXPECT_TRUE(seam->CollideCircle(HullCircle(5, 10 - w + 250, 1250), hits) == false);
    EXPECT_TRUE(seam->CollideCircle(HullCircle(5, 12 - w, 1250), hits));
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].beam, &beams[1]);
    EXPECT_NEAR(hits[0].point.x, 10.0f, 1e-3f);

    // From the last column the second pass shifts left by W.
    hits.clear();
    EXPECT_TRUE(seam->CollideCircle(HullCircle(5, 12 + w, 1250), hits));
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].beam, &beams[1]);

    // In column 4 of 9 one pass: one hit for one beam, every hit appended.
    hits.clear();
    EXPECT_TRUE(middle->CollideCircle(HullCircle(5, 1102, 1250), hits));
    EXPECT_EQ(hits.size(), 1u);
    EXPECT_FALSE(middle->CollideCircle(HullCircle(5, std::numeric_limits<float>::quiet_NaN(), 1250), hits));
    EXPECT_EQ(hits.size(), 1u);
}

TEST(SectorGridTest, PointOnBeamReportsTheFirstBeamWithinOne)
{
    std::vector<Beam> beams = {MakeBeam(0, 1000, 500, 1000), MakeBeam(0, 1002, 500, 1002)};
    EntityList none;
    SectorGrid grid;
    grid.Build(beams, none); // moved to y 1000 and 1002 (already at their place)
    Sector* cell = grid.SectorAt(100, 1001);
    ASSERT_NE(cell, nullptr);
    std::vector<BeamHit> hits;
    ASSERT_TRUE(cell->PointOnBeam(100, 1001, hits)); // exactly 1.0 from both
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].beam, &beams[0]);
    EXPECT_EQ(hits[0].point, (Vec2{100, 1001}));
    EXPECT_FALSE(cell->PointOnBeam(100, 1003.01f, hits));
}

TEST(SectorGridTest, ClearLogsTheBeamEntriesAndEmptiesTheGrid)
{
    LogCapture log;
    SectorGrid grid;
    grid.Clear(log.Get());
    EXPECT_EQ(log.Text(), "Clearing sectors...\nTotal Beams Cleared:0\n");

    std::vector<Beam> beams = {MakeBeam(0, 0, 100, 0)};
    EntityList entities;
    auto* dot = new Dot({HullCircle(10, 50, 1000)});
    entities.Append(dot);
    grid.Build(beams, entities);
    std::size_t entries = 0;
    for (int c = 0; c < grid.columns; ++c)
        for (int r = 0; r < grid.rows; ++r)
            entries += grid.Cell(c, r)->beams.size();
    ASSERT_GT(entries, 0u);
    ASSERT_FALSE(dot->sectors.empty());
    log.Reset();
    grid.Clear(log.Get());
    EXPECT_EQ(log.Text(), "Clearing sectors...\nTotal Beams Cleared:" + std::to_string(entries) + "\n");
    EXPECT_FALSE(grid.HasCells());
    EXPECT_EQ(grid.SectorAt(50, 1000), nullptr);
    std::vector<Sector*> cells;
    EXPECT_FALSE(grid.SectorsForCircle(HullCircle(10, 50, 1000), cells));
    // Whoever stood in the cells forgot them: leaving now touches no freed cell.
    EXPECT_TRUE(dot->sectors.empty());
    dot->LeaveSectors();
}

TEST(SectorGridTest, MapWithoutBeamsGetsAnEmptyOneColumnWorld)
{
    std::vector<Beam> beams;
    EntityList entities;
    auto* dot = new Dot({HullCircle(10, 0, 0)});
    entities.Append(dot);
    SectorGrid grid;
    grid.Build(beams, entities);
    EXPECT_EQ(grid.worldWidth, 0.0f);
    EXPECT_EQ(grid.worldHeight, 2000.0f);
    EXPECT_EQ(grid.columns, 1);
    EXPECT_EQ(grid.rows, 9);
    EXPECT_EQ(grid.offset, (Vec2{0, 1000}));
    std::vector<Sector*> cells;
    EXPECT_TRUE(grid.SectorsForCircle(HullCircle(300, 0, 1000), cells));
    std::set<Sector*> unique(cells.begin(), cells.end());
    EXPECT_EQ(unique.size(), cells.size());
    std::vector<BeamHit> hits;
    EXPECT_FALSE(grid.SectorAt(0, 1000)->CollideCircle(HullCircle(300, 0, 1000), hits));
    entities.DeleteAll();
}

TEST(SectorGridTest, NonFiniteEndPointsDoNotPoisonTheBounds)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<Beam> beams = {MakeBeam(0, 0, 1000, 0), MakeBeam(nan, 5, 20, std::numeric_limits<float>::infinity())};
    EntityList none;
    SectorGrid grid;
    grid.Build(beams, none);
    EXPECT_EQ(grid.worldWidth, 1000.0f);
    EXPECT_EQ(grid.worldHeight, 2000.0f);
    EXPECT_EQ(grid.columns, 5);
    for (int c = 0; c < grid.columns; ++c)
        for (int r = 0; r < grid.rows; ++r) {
            const auto& list = grid.Cell(c, r)->beams;
            EXPECT_EQ(std::count(list.begin(), list.end(), &beams[1]), 0);
        }
}

TEST(SectorGridTest, WrappedColumnsOutsideANarrowGridAreSkipped)
{
    // W = 100: one column; a box three worlds wide reaches virtual columns
    // far beyond one wrap step.
    std::vector<Beam> beams = {MakeBeam(0, 0, 100, 50)};
    EntityList none;
    SectorGrid grid;
    grid.Build(beams, none);
    ASSERT_EQ(grid.columns, 1);
    std::vector<Sector*> cells;
    EXPECT_TRUE(grid.SectorsForRect(Rect(300, 100, 50, 1025), cells));
    for (Sector* s : cells)
        EXPECT_EQ(ColumnOf(grid, s), 0);
    std::set<Sector*> unique(cells.begin(), cells.end());
    EXPECT_EQ(unique.size(), cells.size());
    cells.clear();
    EXPECT_TRUE(grid.SectorsForCircle(HullCircle(1e6f, 50, 1025), cells));
    EXPECT_EQ(cells.size(), static_cast<std::size_t>(grid.rows));
}

TEST(SectorGridTest, NarrowGridTakesABeamTwiceAndRemovesOneEntryPerCall)
{
    std::vector<Beam> beams = {MakeBeam(0, 0, 300, 0)}; // W = 300: two columns
    EntityList none;
    SectorGrid grid;
    grid.Build(beams, none);
    ASSERT_EQ(grid.columns, 2);
    // Its range covers virtual columns -1..2: column 0 is reached unshifted
    // and again as column 2 shifted left by W.
    Beam mover = MakeBeam(0, 1000, 260, 1000);
    grid.AddBeam(&mover);
    Sector* cell = grid.Cell(0, 4);
    const auto count = [&] { return std::count(cell->beams.begin(), cell->beams.end(), &mover); };
    const auto added = count();
    EXPECT_EQ(added, 2);
    grid.RemoveBeams({&mover});
    EXPECT_EQ(count(), added - 1);
    grid.RemoveBeams({&mover});
    EXPECT_EQ(count(), added - 2);
}

TEST(SectorGridTest, AddBeamOutsideTheRowsLogsAndStaysOut)
{
    std::vector<Beam> beams = {MakeBeam(0, 0, 1000, 0)};
    EntityList none;
    SectorGrid grid;
    grid.Build(beams, none);
    Beam far = MakeBeam(10, -5000, 20, -5000);
    grid.AddBeam(&far);
    for (int c = 0; c < grid.columns; ++c)
        for (int r = 0; r < grid.rows; ++r) {
            const auto& list = grid.Cell(c, r)->beams;
            EXPECT_EQ(std::count(list.begin(), list.end(), &far), 0);
        }
}

// ---- Oracle: every query against a scan of every cell --------------------

struct Fixture {
    std::vector<Beam> beams;
    EntityList entities;
    SectorGrid grid;
};

void RandomMap(Fixture& f, std::mt19937& rng, float width, int beamCount, int entityCount)
{
    std::uniform_real_distribution<float> x(0, width), y(0, 1500), d(-400, 400), r(1, 150);
    f.beams.push_back(MakeBeam(0, 0, width, 0)); // spans the width
    for (int i = 1; i < beamCount; ++i) {
        const float ax = x(rng), ay = y(rng);
        f.beams.push_back(MakeBeam(ax, ay, std::clamp(ax + d(rng), 0.0f, width), std::clamp(ay + d(rng), 0.0f, 1500.0f)));
    }
    for (int i = 0; i < entityCount; ++i) {
        std::vector<HullCircle> circles;
        const float px = x(rng), py = y(rng);
        for (int k = 0; k < 1 + i % 3; ++k)
            circles.emplace_back(r(rng), px, py, d(rng) * 0.2f, d(rng) * 0.2f);
        auto* dot = new Dot(circles);
        dot->position = dot->previousPosition = {px, py};
        f.entities.Append(dot);
    }
    f.grid.Build(f.beams, f.entities);
}

// The cells a wrapped query must report, found by scanning every cell and
// each of its three images (-W, 0, +W) that lies in the shape's index range.
template <typename Test>
std::set<Sector*> Oracle(const SectorGrid& g, float lo, float hi, float top, float bottom, Test&& exact)
{
    std::set<Sector*> out;
    int c0, c1, r0, r1;
    if (!SectorIndexRange(lo, hi, c0, c1) || !SectorIndexRange(top, bottom, r0, r1))
        return out;
    for (int c = 0; c < g.columns; ++c)
        for (int r = 0; r < g.rows; ++r)
            for (int k = -1; k <= 1; ++k) {
                const int virtualColumn = c + k * g.columns;
                if (virtualColumn < c0 || virtualColumn >= c1 || r < r0 || r >= r1)
                    continue;
                if (exact(*g.Cell(c, r), -static_cast<float>(k) * g.worldWidth))
                    out.insert(g.Cell(c, r));
            }
    return out;
}

// Every reported cell truly meets the shape at one of the three images, and
// every cell meeting the unshifted shape is reported.
template <typename Test>
void ExpectSoundAndComplete(const SectorGrid& g, const std::set<Sector*>& got, Test&& exact)
{
    for (int c = 0; c < g.columns; ++c)
        for (int r = 0; r < g.rows; ++r) {
            Sector* s = g.Cell(c, r);
            const bool any = exact(*s, 0.0f) || exact(*s, g.worldWidth) || exact(*s, -g.worldWidth);
            if (got.count(s)) {
                EXPECT_TRUE(any) << "cell " << c << "," << r << " reported without meeting the shape";
            }
            if (exact(*s, 0.0f)) {
                EXPECT_TRUE(got.count(s)) << "cell " << c << "," << r << " missed";
            }
        }
}

std::set<Sector*> AsSet(const std::vector<Sector*>& cells)
{
    std::set<Sector*> s(cells.begin(), cells.end());
    EXPECT_EQ(s.size(), cells.size()) << "a cell listed twice";
    return s;
}

class SectorGridOracleTest : public ::testing::TestWithParam<float> {};

TEST_P(SectorGridOracleTest, QueriesMatchAScanOfEveryCell)
{
    const float width = GetParam();
    std::mt19937 rng(static_cast<unsigned>(width));
    Fixture f;
    RandomMap(f, rng, width, 300, 20);
    const SectorGrid& g = f.grid;
    const float w = g.worldWidth;
    std::uniform_real_distribution<float> px(-400, w + 400), py(-400, g.worldHeight + 400), size(0, 900);

    for (int i = 0; i < 150; ++i) {
        const HullCircle circle(size(rng) * 0.5f, px(rng), py(rng));
        std::vector<Sector*> cells;
        const bool any = g.SectorsForCircle(circle, cells);
        const auto exact = [&](const Sector& s, float shift) {
            HullCircle moved = circle;
            moved.x += shift;
            return s.IntersectsCircle(moved);
        };
        const auto got = AsSet(cells);
        EXPECT_EQ(any, !cells.empty());
        EXPECT_EQ(got, Oracle(g, circle.x - circle.radius, circle.x + circle.radius, circle.y - circle.radius,
                              circle.y + circle.radius, exact));
        ExpectSoundAndComplete(g, got, exact);
    }
    for (int i = 0; i < 150; ++i) {
        const Rect box(size(rng), size(rng), px(rng), py(rng));
        std::vector<Sector*> cells;
        g.SectorsForRect(box, cells);
        const auto exact = [&](const Sector& s, float shift) {
            return s.IntersectsRect(Rect(box.half.x * 2, box.half.y * 2, box.centre.x + shift, box.centre.y));
        };
        const auto got = AsSet(cells);
        EXPECT_EQ(got, Oracle(g, box.min.x, box.max.x, box.min.y, box.max.y, exact));
        ExpectSoundAndComplete(g, got, exact);

        // The visible-range query: every cell of the clipped index ranges, once.
        std::vector<Sector*> range;
        g.SectorsInRange(box, range);
        int c0, c1, r0, r1;
        SectorIndexRange(box.min.x, box.max.x, c0, c1);
        SectorIndexRange(box.min.y, box.max.y, r0, r1);
        std::set<Sector*> expected;
        for (int c = 0; c < g.columns; ++c)
            for (int r = 0; r < g.rows; ++r)
                if (c >= c0 && c < c1 && r >= r0 && r < r1)
                    expected.insert(g.Cell(c, r));
        EXPECT_EQ(AsSet(range), expected);
    }
    for (int i = 0; i < 150; ++i) {
        const Beam beam = MakeBeam(px(rng), py(rng), px(rng), py(rng));
        std::vector<Sector*> cells;
        g.SectorsForBeam(beam, cells);
        const auto exact = [&](const Sector& s, float shift) {
            Beam moved = beam;
            moved.a.x += shift;
            moved.b.x += shift;
            return s.IntersectsSegment(moved);
        };
        const auto got = AsSet(cells);
        EXPECT_EQ(got, Oracle(g, std::min(beam.a.x, beam.b.x), std::max(beam.a.x, beam.b.x),
                              std::min(beam.a.y, beam.b.y), std::max(beam.a.y, beam.b.y), exact));
        ExpectSoundAndComplete(g, got, exact);
    }
    for (int i = 0; i < 300; ++i) {
        const float x = px(rng), y = py(rng);
        Sector* expected = nullptr;
        for (int c = 0; c < g.columns; ++c)
            for (int r = 0; r < g.rows; ++r) {
                const Vec2 centre = g.Cell(c, r)->centre;
                const bool inX = (x >= centre.x - 125 && x < centre.x + 125) || (c == 0 && x > -250 && x < 0);
                const bool inY = (y >= centre.y - 125 && y < centre.y + 125) || (r == 0 && y > -250 && y < 0);
                if (inX && inY)
                    expected = g.Cell(c, r);
            }
        EXPECT_EQ(g.SectorAt(x, y), expected) << x << "," << y;
    }
    f.entities.DeleteAll();
}

TEST_P(SectorGridOracleTest, BuildBucketsLikeAScanOfEveryCell)
{
    const float width = GetParam();
    std::mt19937 rng(static_cast<unsigned>(width) + 1);
    Fixture f;
    RandomMap(f, rng, width, 400, 40);
    const SectorGrid& g = f.grid;
    std::vector<std::vector<Sector*>> expectedSectors;
    for (Entity* e : f.entities) {
        (void)e;
        expectedSectors.emplace_back();
    }
    for (int c = 0; c < g.columns; ++c)
        for (int r = 0; r < g.rows; ++r) {
            Sector* cell = g.Cell(c, r);
            std::vector<Beam*> beams;
            for (Beam& beam : f.beams)
                if (cell->IntersectsSegment(beam))
                    beams.push_back(&beam);
            EXPECT_EQ(cell->beams, beams) << "cell " << c << "," << r;
            std::vector<Entity*> entities;
            std::size_t index = 0;
            for (Entity* e : f.entities) {
                for (const HullCircle& circle : e->shapes)
                    if (cell->IntersectsCircle(circle)) {
                        entities.push_back(e);
                        expectedSectors[index].push_back(cell);
                    }
                ++index;
            }
            const CellEntities in = cell->Entities();
            EXPECT_EQ(std::vector<Entity*>(in.begin(), in.end()), entities) << "cell " << c << "," << r;
            EXPECT_EQ(cell->EntityPlaces(), entities.size()) << "cell " << c << "," << r;
        }
    std::size_t index = 0;
    for (Entity* e : f.entities)
        EXPECT_EQ(e->sectors, expectedSectors[index++]);
    f.entities.DeleteAll();
}

INSTANTIATE_TEST_SUITE_P(Widths, SectorGridOracleTest, ::testing::Values(100.0f, 300.0f, 420.0f, 2000.0f, 3333.0f));

} // namespace
