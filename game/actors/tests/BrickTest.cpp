#include "MissionFixture.h"

#include "Brick.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <numeric>

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

} // namespace
