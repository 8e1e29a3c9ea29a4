#include "EnemyFixture.h"

#include "Lander.h"
#include "LanderParticles.h"
#include "Scientist.h"

#include <gtest/gtest.h>

namespace {

// A lander at (2000, floor - gap) about to search; the ship far off.
struct Landers : EnemyFixture {
    Landers() { PlaceShip({500.0f, 200.0f}, 0.0f); }

    Lander* AddLander(Vec2 at)
    {
        auto* lander = Add<Lander>(at);
        lander->searchTimer = 0;
        return lander;
    }
    Scientist* AddScientist(Vec2 at) { return Add<Scientist>(at); }
};

TEST(Lander, ChoosesAScientistWithinFifteenOfTheColumnAboveGroundWithin490)
{
    struct Row {
        float gap;     // the lander's height over the floor
        float offset;  // the scientist's distance beside the column
        bool chosen;
    };
    const Row rows[] = {{300.0f, 15.0f, true}, {300.0f, 15.1f, false}, {300.0f, 0.0f, true},
                        {480.0f, 0.0f, true},  {600.0f, 0.0f, false}};
    for (const Row& row : rows) {
        Landers f;
        Lander* lander = f.AddLander({2000.0f, f.floorY - row.gap});
        Scientist* scientist = f.AddScientist({2000.0f + row.offset, f.floorY - 20.0f});
        lander->Update();
        EXPECT_EQ(lander->abducting, row.chosen) << row.gap << " " << row.offset;
        EXPECT_EQ(lander->target.Get() == scientist, row.chosen) << row.gap << " " << row.offset;
        EXPECT_EQ(scientist->claimed, row.chosen) << row.gap << " " << row.offset;
    }
}

TEST(Lander, WithoutAChoiceItSearchesAgainEveryTickButNotWhileTheShipSpawns)
{
    Landers f;
    Lander* lander = f.AddLander({2000.0f, f.floorY - 300.0f});
    for (int i = 0; i < 5; ++i)
        lander->Update();
    EXPECT_FALSE(lander->abducting);
    f.ship.spawnTimer = 10;
    f.AddScientist({2000.0f, f.floorY - 20.0f});
    lander->Update();
    EXPECT_FALSE(lander->abducting);
    f.ship.spawnTimer = 0;
    lander->Update();
    EXPECT_TRUE(lander->abducting);
}

TEST(Lander, TwoLandersOneScientistAndTheClaimReleasedAtDeath)
{
    Landers f;
    Lander* first = f.AddLander({2000.0f, f.floorY - 300.0f});
    Lander* second = f.AddLander({2005.0f, f.floorY - 300.0f});
    Scientist* scientist = f.AddScientist({2000.0f, f.floorY - 20.0f});
    first->Update();
    second->Update();
    EXPECT_EQ(first->target.Get(), scientist);
    EXPECT_FALSE(second->abducting);
    first->Die();
    EXPECT_FALSE(scientist->claimed);
    second->Update();
    EXPECT_EQ(second->target.Get(), scientist);
    EXPECT_TRUE(scientist->claimed);
}

TEST(Lander, CapturesOnlyWithinFiveBesideAndThirtyFiveAway)
{
    struct Row {
        Vec2 offset;
        bool captured;
    };
    const Row rows[] = {{{4.9f, 33.6f}, true}, {{0.0f, 34.0f}, true}, {{5.0f, 20.0f}, false},
                        {{-5.0f, 20.0f}, false}, {{0.0f, 35.0f}, false}};
    for (const Row& row : rows) {
        Landers f;
        Lander* lander = f.AddLander({2000.0f, 600.0f});
        Scientist* scientist = f.AddScientist(lander->position + row.offset);
        lander->abducting = true;
        lander->target = scientist;
        scientist->claimed = true;
        lander->Update();
        EXPECT_EQ(lander->carrying, row.captured) << row.offset.x << " " << row.offset.y;
        EXPECT_EQ(scientist->dead, row.captured) << row.offset.x;
        if (row.captured) {
            EXPECT_FALSE(lander->abducting);
            EXPECT_EQ(lander->target.Get(), nullptr);
            EXPECT_EQ(f.CountParticles<LanderParticles>(f.game.particles), 2);
            EXPECT_EQ(f.Plays(SampleId::Mutant), 1);
        }
    }
}

TEST(Lander, TheMutantChasesSeventySixTicksAfterTheCaptureAndFiresAtOnce)
{
    Landers f;
    f.PlaceShip({2200.0f, 400.0f}, 0.0f);
    Lander* lander = f.AddLander({2000.0f, 600.0f});
    Scientist* scientist = f.AddScientist(lander->position + Vec2{0.0f, 20.0f});
    lander->abducting = true;
    lander->target = scientist;
    lander->Update(); // the capture: tick 1
    EXPECT_TRUE(lander->mutating);
    EXPECT_EQ(f.EnemyShotsOfKind(1), 1); // its fire timer started at 0
    for (int tick = 2; tick <= 75; ++tick) {
        lander->Update();
        ASSERT_TRUE(lander->mutating) << tick;
    }
    lander->Update();
    EXPECT_FALSE(lander->mutating);
}

TEST(Lander, RescueSendsItBackToWandering)
{
    Landers f;
    Lander* lander = f.AddLander({2000.0f, 600.0f});
    Scientist* scientist = f.AddScientist({2000.0f, 800.0f});
    lander->abducting = true;
    lander->target = scientist;
    scientist->claimed = true;
    scientist->dead = true; // rescued
    lander->Update();
    EXPECT_FALSE(lander->abducting);
    EXPECT_EQ(lander->target.Get(), nullptr);
    EXPECT_TRUE(lander->searchTimer >= 250 && lander->searchTimer <= 700 && lander->searchTimer % 50 == 0)
        << lander->searchTimer;

    // A target already deleted counts as dead too.
    Lander* other = f.AddLander({1000.0f, 600.0f});
    auto* gone = new Scientist();
    other->abducting = true;
    other->target = gone;
    delete gone;
    other->Update();
    EXPECT_FALSE(other->abducting);
}

TEST(Lander, PaysByItsFormAndFreesItsScientist)
{
    struct Row {
        bool carrying;
        int points;
    };
    for (const Row& row : {Row{false, 125}, Row{true, 150}}) {
        Landers f;
        Lander* lander = f.AddLander({2000.0f, 600.0f});
        Scientist* scientist = f.AddScientist({2000.0f, 800.0f});
        EXPECT_EQ(lander->points, 0);
        lander->carrying = row.carrying;
        lander->abducting = !row.carrying;
        lander->target = scientist;
        scientist->claimed = true;
        lander->Damage(1.0f);
        lander->Die();
        EXPECT_EQ(f.ship.score, row.points) << row.carrying;
        EXPECT_EQ(lander->points, row.points) << row.carrying;
        EXPECT_FALSE(scientist->claimed) << row.carrying;
    }
}

TEST(Lander, TheTractorBeamShowsOnTicksSevenKPlusOneWithin150)
{
    struct Row {
        int ticks;
        float distance;
        bool drawn;
    };
    const Row rows[] = {{1, 100.0f, true}, {8, 149.0f, true}, {8, 150.0f, false},
                        {2, 100.0f, false}, {7, 100.0f, false}, {15, 10.0f, true}};
    for (const Row& row : rows) {
        Landers f;
        f.game.drawSink = &f.sink;
        f.game.drawState = &f.state;
        Lander* lander = f.AddLander({2000.0f, 600.0f});
        Scientist* scientist = f.AddScientist({2000.0f, 600.0f + row.distance});
        lander->abducting = true;
        lander->target = scientist;
        lander->ticks = 0; // never a beam tick: the model alone
        lander->Draw(0.0f);
        const std::size_t model = f.sink.vertices.size();
        lander->ticks = row.ticks;
        f.sink.vertices.clear();
        lander->Draw(0.0f);
        const std::size_t beam = f.sink.vertices.size() - model;
        EXPECT_EQ(beam, row.drawn ? 40u : 0u) << row.ticks << " " << row.distance;
    }
}

} // namespace
