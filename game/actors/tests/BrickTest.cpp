#include "MissionFixture.h"

#include "Brick.h"
#include "PlayMode.h"
#include "testing/ScreenPlacement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <numeric>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct BrickLevel : MissionFixture {
    // A wall centred at `at`, spawned with the given half sizes.
    Brick* Make(Vec2 at, float hw, float hh)
    {
        auto* brick = static_cast<Brick*>(CreateEntity(EntityTypes::Brick));
        brick->halfWidth = hw;
        brick->halfHeight = hh;
        brick->Spawn(at.x, at.y, 0.0f);
        brick->EnterSectors();
        game.entities.Append(brick);
        return brick;
    }

    static int Present(const Brick& b) { return std::accumulate(b.cells.begin(), b.cells.end(), 0); }

    static bool Cell(const Brick& b, int c, int r) { return b.cells[static_cast<std::size_t>(r * b.columns + c)] != 0; }
};

TEST(Brick, CellsOfSixteenUnitsCoverTheTopLeftOfTheBox)
{
    struct Case {
        float hw, hh;
        int columns, rows;
    };
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const Case c : {Case{40, 24, 5, 3}, Case{40, 20, 5, 2}, Case{7.9f, 40, 0, 5}, Case{-40, 24, 0, 3},
                         Case{40, -1, 5, 0}, Case{1e9f, 8, 1024, 1}, Case{inf, inf, 1024, 1024},
                         Case{nan, 16, 0, 2}}) {
        BrickLevel f;
        Brick* b = f.Make({1000, 500}, c.hw, c.hh);
        EXPECT_EQ(b->columns, c.columns) << c.hw << " x " << c.hh;
        EXPECT_EQ(b->rows, c.rows) << c.hw << " x " << c.hh;
        EXPECT_EQ(b->cells.size(), static_cast<std::size_t>(c.columns * c.rows));
        EXPECT_EQ(BrickLevel::Present(*b), c.columns * c.rows);
    }
}

TEST(Brick, AContactRemovesTheCellUnderTheCircleCentre)
{
    BrickLevel f;
    Brick* b = f.Make({1000, 500}, 40, 20); // box x 960..1040, y 480..520
    struct Case {
        HullCircle circle;
        bool hit;
        int column, row;
    };
    const Case cases[] = {
        {HullCircle(2, 961, 481), true, 0, 0},
        {HullCircle(2, 1039, 511), true, 4, 1},
        {HullCircle(6, 955, 490), true, 0, 0}, // 5 left: trunc(-5) / 16 is column 0
        {HullCircle(25, 940, 490), false, 0, 0}, // 20 left: nothing
        {HullCircle(2, 1000, 516), false, 0, 0}, // the bottom strip has no cells
        {HullCircle(2, 1000, 530), false, 0, 0}, // clear of the box
    };
    for (const Case& c : cases) {
        b->InitCells(40, 20);
        EXPECT_EQ(b->CollideShapes({c.circle}, nullptr), c.hit) << c.circle.x << "," << c.circle.y;
        EXPECT_EQ(BrickLevel::Present(*b), c.hit ? 9 : 10) << c.circle.x << "," << c.circle.y;
        if (c.hit) {
            EXPECT_FALSE(BrickLevel::Cell(*b, c.column, c.row));
        }
    }
}

TEST(Brick, ARemovedCellLetsACirclePassAndALaterCircleMayStrike)
{
    BrickLevel f;
    Brick* b = f.Make({1000, 500}, 40, 20);
    const HullCircle first(2, 961, 481);
    const HullCircle second(2, 985, 481);
    ASSERT_TRUE(b->CollideShapes({first}, nullptr));
    EXPECT_FALSE(b->CollideShapes({first}, nullptr)) << "the same cell twice";
    Vec2 normal{7, 7};
    EXPECT_TRUE(b->CollideShapes({first, second}, &normal));
    EXPECT_FALSE(BrickLevel::Cell(*b, 1, 0));
    EXPECT_EQ(BrickLevel::Present(*b), 8);
    EXPECT_EQ(normal.x, 7.0f) << "the normal is never written";
    EXPECT_EQ(normal.y, 7.0f);
}

TEST(Brick, ACloneGetsCellsOfItsOwn)
{
    BrickLevel f;
    Brick* b = f.Make({1000, 500}, 40, 20);
    std::unique_ptr<Brick> copy(static_cast<Brick*>(b->Clone()));
    copy->Spawn(1000, 500, 0.0f);
    ASSERT_TRUE(b->CollideShapes({HullCircle(2, 961, 481)}, nullptr));
    EXPECT_EQ(BrickLevel::Present(*copy), 10);
}

TEST(Brick, TwoShotsOnOneCellTheFirstEndsTheSecondPasses)
{
    BrickLevel f;
    Brick* b = f.Make({1000, 500}, 40, 20);
    Entity* victims[2] = {f.ShotVictimAt({970, 490}), f.ShotVictimAt({970, 490})};
    EXPECT_EQ(victims[0], b);
    EXPECT_EQ(victims[1], nullptr);
    b->Damage(100.0f);
    EXPECT_FALSE(b->dead);
    EXPECT_EQ(BrickLevel::Present(*b), 9);
}

TEST(Brick, TheShipsContactReversesItAndTakesOneCell)
{
    BrickLevel f;
    f.game.gravity = {};
    f.PlaceShip({1000.0f, 500.0f}, 0.0f);
    f.ship.velocity = {2.0f, 0.0f};
    // Both hull circles reach into the box; the first of the list (6.05 at
    // y 489.55) is looked at first and strikes the top row.
    Brick* b = f.Make({1045, 502}, 40, 24);
    f.ShipTick();
    EXPECT_LT(f.ship.velocity.x, 0.0f);
    EXPECT_EQ(BrickLevel::Present(*b), 14);
    EXPECT_FALSE(BrickLevel::Cell(*b, 0, 0));
    EXPECT_FALSE(b->dead);
}

TEST(Brick, DrawsTwoQuadsPerPresentCell)
{
    BrickLevel f;
    Brick* b = f.Make({1000, 500}, 40, 20);
    b->CollideShapes({HullCircle(2, 961, 481)}, nullptr);
    EXPECT_EQ(f.DrawOnce(*b).size(), 9u * 2u * 4u);
}

// The brick's quads that land on the window, as a world draw through the
// placement state puts them there. Only those are kept (a full draw of the
// largest brick is millions of vertices); each quad of a cell counts.
class BrickQuadsOnWindow : public DrawSink {
public:
    struct Quad {
        int column, row;
        Vec2 min, max; // its box on the window, as fractions of it
        bool operator<(const Quad& o) const
        {
            return std::tie(column, row, min.x, min.y) < std::tie(o.column, o.row, o.min.x, o.min.y);
        }
    };

    explicit BrickQuadsOnWindow(const ScreenPlacementState& state) : state(state) {}

    void Begin(Primitive) override { corner = 0; }
    void End() override {}
    void Colour(float r, float g, float b) override { brick = r == 1.0f && g == 0.75f && b == 0.0f; }
    void Colour(float r, float g, float b, float) override { Colour(r, g, b); }
    void TexCoord(float, float) override {}
    void Vertex(float x, float y) override
    {
        if (!brick)
            return;
        if (corner == 0)
            quad = {static_cast<int>(x / 16.0f), static_cast<int>(y / 16.0f), {2.0f, 2.0f}, {-2.0f, -2.0f}};
        const Vec2 w = state.ToWindow(x, y);
        quad.min = {std::min(quad.min.x, w.x), std::min(quad.min.y, w.y)};
        quad.max = {std::max(quad.max.x, w.x), std::max(quad.max.y, w.y)};
        if (++corner < 4)
            return;
        corner = 0;
        ++quads;
        if (quad.max.x > 0.0f && quad.min.x < 1.0f && quad.max.y > 0.0f && quad.min.y < 1.0f)
            shown.insert(quad);
    }

    long quads = 0;       // every brick quad drawn
    std::set<Quad> shown; // those that reach into the window

private:
    const ScreenPlacementState& state;
    bool brick = false;
    int corner = 0;
    Quad quad{};
};

struct BrickView : BrickLevel {
    struct View {
        const char* name;
        Vec2 centre; // the world point at the middle of the view
        float zoom;
        bool turned;
        Vec2 shake;
    };

    void Look(const View& view)
    {
        game.viewWidth = game.windowWidth = 854;
        game.viewHeight = game.windowHeight = 480;
        game.rotatedScreen = view.turned;
        game.UpdateScreenSize();
        game.shakeOffset = view.shake;
        ship.zoom = view.zoom;
        ship.camera = ship.previousCamera = view.centre - game.screenCentre;
        QueryPlaySectors(game);
    }

    // The brick's quads of one world draw (or a whole play frame: world,
    // HUD and radar) through the given state.
    BrickQuadsOnWindow Draw(ScreenPlacementState& state, bool wholeFrame = false)
    {
        BrickQuadsOnWindow sink(state);
        if (wholeFrame)
            game.DrawPlay(1.0f, sink, state);
        else
            game.DrawWorld(1.0f, sink, state);
        return sink;
    }

    // Cells a view of w x h units can meet at the zoom, one spare at each
    // end and one for rounding, in each of the three wrap images.
    static long Bound(float w, float h, float zoom)
    {
        const auto along = [zoom](float units) { return static_cast<long>(std::ceil(units / (16.0f * zoom))) + 4; };
        return 3 * along(w) * along(h);
    }
};

const BrickView::View kViews[] = {
    {"settled zoom", {2000, 500}, 0.75f, false, {}},
    {"spawn zoom", {2000, 500}, 2.0f, false, {}},
    {"cocktail", {2000, 500}, 0.75f, true, {}},
    {"shaking", {2000, 500}, 0.75f, false, {9, -7}},
    {"at the seam", {30, 500}, 1.0f, false, {}},
};

// The largest brick (1024 cells a side, more than 16000 units) draws what
// the window shows and a bounded number of cells: about a screen's worth in
// the world and the radar, never its million.
TEST(Brick, TheLargestBrickDrawsOnlyTheCellsOnTheScreenAndFillsIt)
{
    for (const BrickView::View& view : kViews) {
        SCOPED_TRACE(view.name);
        BrickView f;
        Brick* b = f.Make(view.centre, 8192, 8192);
        ASSERT_EQ(b->columns, Brick::kMaxCellsPerSide);
        f.Look(view);

        ScreenPlacementState state;
        const BrickQuadsOnWindow world = f.Draw(state);
        EXPECT_LE(world.quads / 2, BrickView::Bound(854, 480, view.zoom));
        // Every point of the window lies under a drawn cell.
        int bare = 0;
        for (int i = 0; i < 64; ++i) {
            for (int j = 0; j < 36; ++j) {
                const Vec2 p{(static_cast<float>(i) + 0.5f) / 64.0f, (static_cast<float>(j) + 0.5f) / 36.0f};
                bare += std::none_of(world.shown.begin(), world.shown.end(), [p](const BrickQuadsOnWindow::Quad& q) {
                    return q.min.x <= p.x && p.x <= q.max.x && q.min.y <= p.y && p.y <= q.max.y;
                });
            }
        }
        EXPECT_EQ(bare, 0) << "points of the window without the brick";

        const BrickQuadsOnWindow frame = f.Draw(state, true);
        const float radarHeight = view.turned ? 4.0f * 480 : 2.0f * 480;
        EXPECT_LE(frame.quads / 2, BrickView::Bound(854, 480, view.zoom) + BrickView::Bound(2 * 854, radarHeight, 1.0f));
    }
}

// Against a draw of every cell: each cell that reaches into the window is
// still drawn, on the brick's edges and corners and across the seam.
TEST(Brick, LeavingOutCellsLosesNothingTheWindowShows)
{
    // Corners of a 200-cell brick over the view's middle, in turn.
    const Vec2 offsets[] = {{1600, 1600}, {-1600, 1600}, {1600, -1600}, {-1600, -1600}, {1700, 0}};
    for (const BrickView::View& view : kViews) {
        for (const Vec2 offset : offsets) {
            SCOPED_TRACE(std::string(view.name) + " at " + std::to_string(offset.x) + "," + std::to_string(offset.y));
            BrickView f;
            // Kept in the world: at the seam its box runs across the seam.
            const float w = f.game.WorldWidth();
            f.Make({std::fmod(view.centre.x + offset.x + w, w), view.centre.y + offset.y}, 1600, 1600);
            f.Look(view);
            ScreenPlacementState state;
            ScreenPlacementState everything;
            everything.tellsShownBox = false;
            const BrickQuadsOnWindow culled = f.Draw(state);
            const BrickQuadsOnWindow full = f.Draw(everything);
            ASSERT_FALSE(full.shown.empty()) << "the brick is not on the window";
            EXPECT_LT(culled.quads, full.quads);
            for (const BrickQuadsOnWindow::Quad& q : full.shown)
                EXPECT_EQ(culled.shown.count(q), 1u) << "cell " << q.column << "," << q.row << " is missing";
            EXPECT_EQ(culled.shown.size(), full.shown.size());
        }
    }
}

// Half sizes of 3e38 (a hostile map): the cells lie so far off that none
// can show, and none is drawn.
TEST(Brick, AHostileBrickOfHugeHalfSizesDrawsNothing)
{
    BrickView f;
    Brick* b = f.Make({2000, 500}, 3e38f, 3e38f);
    ASSERT_EQ(b->cells.size(), 1024u * 1024u);
    f.Look(kViews[0]);
    ScreenPlacementState state;
    EXPECT_EQ(f.Draw(state, true).quads, 0);
}

} // namespace

