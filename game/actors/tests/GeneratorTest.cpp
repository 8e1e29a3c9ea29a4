#include "MissionFixture.h"

#include "Debris.h"
#include "Generator.h"
#include "Random.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct GeneratorLevel : MissionFixture {
    Generator* Make(Vec2 at = {1000, 900}, float angle = 0.0f)
    {
        return Place<Generator>(EntityTypes::Generator, at, angle);
    }

    // Updates the generator until it has died (at most 400 ticks).
    static void BurnOut(Generator* g)
    {
        for (int i = 0; i < 400 && !g->dead; ++i)
            g->Update();
    }

    int SmallBursts() const
    {
        int n = 0;
        for (const ExplosionParticles* e : Systems<ExplosionParticles>(game.particles))
            n += e->count == 15 ? 1 : 0;
        return n;
    }
};

TEST(Generator, SpawnCountsItAndSetsHealthAndPoints)
{
    GeneratorLevel f;
    Generator* g = f.Make();
    EXPECT_EQ(f.game.generatorCount, 1);
    EXPECT_FLOAT_EQ(g->health, 10.0f);
    EXPECT_EQ(g->points, 1000);
    EXPECT_FALSE(g->destroyed);
    f.Make({2000, 900});
    EXPECT_EQ(f.game.generatorCount, 2);
}

TEST(Generator, HitsNeededWithRepairBetweenThem)
{
    struct Case {
        float damage;
        int ticksBetween;
        int hits;
    };
    // The ship's fastest fire: 1 damage every 7 ticks, 0.14 repaired between.
    for (const Case c : {Case{1.0f, 7, 12}, Case{10.0f, 0, 1}, Case{5.0f, 0, 2}, Case{2.5f, 1, 5}}) {
        GeneratorLevel f;
        Generator* g = f.Make();
        int hits = 0;
        while (!g->destroyed && hits < 100) {
            g->Damage(c.damage);
            ++hits;
            if (g->destroyed)
                break;
            for (int t = 0; t < c.ticksBetween; ++t)
                g->Update();
        }
        EXPECT_EQ(hits, c.hits) << c.damage << " every " << c.ticksBetween;
        EXPECT_EQ(g->deathTimer, 201);
    }
}

TEST(Generator, RepairStopsAtExactlyTen)
{
    GeneratorLevel f;
    Generator* g = f.Make();
    g->health = 9.99f;
    g->Update();
    EXPECT_EQ(g->health, 10.0f);
    g->health = 5.0f;
    g->Update();
    EXPECT_NEAR(g->health, 5.02f, 1e-5f);
}

TEST(Generator, DamageAtZeroOrBelowChangesNothing)
{
    GeneratorLevel f;
    Generator* g = f.Make();
    g->Damage(10.0f);
    ASSERT_TRUE(g->destroyed);
    for (int i = 0; i < 30; ++i)
        g->Update();
    const float health = g->health;
    g->Damage(3.0f);
    EXPECT_EQ(g->health, health);
    EXPECT_EQ(g->deathTimer, 171);
    g->Update();
    EXPECT_EQ(g->health, health) << "no repair while burning";
}

TEST(Generator, BurnsWithNineSmallExplosionsThenDiesOnTimerZero)
{
    GeneratorLevel f;
    Generator* g = f.Make();
    g->Damage(10.0f);
    std::vector<int> burstTimers;
    while (!g->dead) {
        const int before = f.SmallBursts();
        g->Update();
        if (f.SmallBursts() != before)
            burstTimers.push_back(g->deathTimer);
    }
    EXPECT_EQ(burstTimers, (std::vector<int>{200, 175, 150, 125, 100, 75, 50, 25, 0}));
    EXPECT_EQ(g->deathTimer, 0);
}

TEST(Generator, SmallExplosionTakesItsJitterAndColourInDrawOrder)
{
    for (float angle : {0.0f, 90.0f}) {
        GeneratorLevel f;
        Generator* g = f.Make({1000, 900}, angle);
        g->Damage(10.0f);
        f.game.particles.Clear();
        f.game.ribbons.Clear();
        for (int seed : {5, 1234, 98765}) {
            SeedRandom(seed);
            const int j1 = Random() % 30 - 15;
            const int j2 = Random() % 30 - 15;
            const float green = Random() % 2 == 0 ? 0.0f : 0.8f;
            SeedRandom(seed);
            g->deathTimer = 126; // the next update bursts at 125
            f.game.particles.Clear();
            f.game.ribbons.Clear();
            g->Update();
            Vec2 forward;
            Vec2 side;
            AngleToVectors(angle, forward, side);
            const Vec2 expected = g->position - (25.0f + j2) * side + static_cast<float>(j1) * forward;
            const auto bursts = f.Systems<ExplosionParticles>(f.game.particles);
            ASSERT_EQ(bursts.size(), 1u);
            EXPECT_NEAR(bursts[0]->box.centre.x, expected.x, 1e-3f) << seed << " at " << angle;
            EXPECT_NEAR(bursts[0]->box.centre.y, expected.y, 1e-3f) << seed << " at " << angle;
            EXPECT_EQ(bursts[0]->startColour[0], 1.0f);
            EXPECT_EQ(bursts[0]->startColour[1], green);
            EXPECT_EQ(bursts[0]->startColour[2], 0.0f);
            const auto rings = f.Systems<ShockRing>(f.game.ribbons);
            ASSERT_EQ(rings.size(), 1u);
            EXPECT_EQ(rings[0]->speed, 24.0f);
            EXPECT_NEAR(rings[0]->centre.x, expected.x, 1e-3f);
        }
    }
}

TEST(Generator, OnlyTheLastOneFadesTheMusicAndStartsTheCountdown)
{
    GeneratorLevel f;
    ASSERT_TRUE(f.game.audio.LoadMusic("Data/Sound/Dizura Zeve.mp3", f.game.music[0]));
    Generator* first = f.Make({1000, 900});
    Generator* last = f.Make({3000, 900});
    f.host.audio.calls.clear();

    first->Damage(10.0f);
    GeneratorLevel::BurnOut(first);
    EXPECT_EQ(f.Calls("FadeOutMusic(1000)"), 0);
    EXPECT_EQ(f.CallsStartingWith("PlayMusic("), 0);
    EXPECT_EQ(f.Plays(SampleId::Siren1), 0);
    EXPECT_FALSE(f.game.selfDestruct.running);
    EXPECT_EQ(f.game.generatorCount, 1);

    last->Damage(10.0f);
    for (int i = 0; i < 100; ++i)
        last->Update();
    ASSERT_EQ(last->deathTimer, 101);
    EXPECT_EQ(f.Calls("FadeOutMusic(1000)"), 0);
    last->Update();
    EXPECT_EQ(f.Calls("FadeOutMusic(1000)"), 1) << "two seconds before the end";
    GeneratorLevel::BurnOut(last);
    EXPECT_EQ(f.Calls("FadeOutMusic(1000)"), 1);
    EXPECT_EQ(f.CallsStartingWith("PlayMusic("), 1);
    EXPECT_EQ(f.Plays(SampleId::Siren1), 1);
    EXPECT_TRUE(f.game.selfDestruct.running);
    EXPECT_FLOAT_EQ(f.game.selfDestruct.secondsLeft, 60.99f);
    EXPECT_EQ(f.game.generatorCount, 0);

    last->Die(); // as the detonation would call it
    EXPECT_EQ(f.CallsStartingWith("PlayMusic("), 1);
    EXPECT_EQ(f.Plays(SampleId::Siren1), 1);
    EXPECT_EQ(f.game.generatorCount, 0);
}

TEST(Generator, WithoutMusicTheCountdownStillStartsSilently)
{
    GeneratorLevel f;
    ASSERT_EQ(f.game.music[0], nullptr);
    Generator* g = f.Make();
    g->Damage(10.0f);
    GeneratorLevel::BurnOut(g);
    EXPECT_TRUE(f.game.selfDestruct.running);
    EXPECT_EQ(f.CallsStartingWith("PlayMusic("), 0);
}

TEST(Generator, BreaksIntoOneDebrisPerBeamFlyingOutward)
{
    GeneratorLevel f;
    Generator* g = f.Make({1000, 900}, 90.0f);
    const Vec2 at = g->position;
    g->Damage(10.0f);
    GeneratorLevel::BurnOut(g);
    Vec2 forward;
    Vec2 side;
    AngleToVectors(90.0f, forward, side);
    const auto& beams = f.models.models["Generator"].beams;
    std::vector<Debris*> pieces;
    for (Entity* e : f.game.entities)
        if (auto* d = dynamic_cast<Debris*>(e))
            pieces.push_back(d);
    ASSERT_EQ(pieces.size(), beams.size());
    for (std::size_t i = 0; i < beams.size(); ++i) {
        const Vec2 a = at - beams[i].a.x * forward + beams[i].a.y * side;
        const Vec2 b = at - beams[i].b.x * forward + beams[i].b.y * side;
        EXPECT_NEAR(pieces[i]->beam.a.x, a.x, 1e-3f) << i;
        EXPECT_NEAR(pieces[i]->beam.a.y, a.y, 1e-3f) << i;
        EXPECT_NEAR(pieces[i]->beam.b.x, b.x, 1e-3f) << i;
        EXPECT_NEAR(pieces[i]->beam.b.y, b.y, 1e-3f) << i;
        const Vec2 v = (0.5f * (a + b) - at) * 0.085f;
        EXPECT_NEAR(pieces[i]->velocity.x, v.x, 1e-4f) << i;
        EXPECT_NEAR(pieces[i]->velocity.y, v.y, 1e-4f) << i;
        EXPECT_FALSE(pieces[i]->waiting);
        EXPECT_TRUE(pieces[i]->slowShrink);
    }
}

TEST(Generator, DebrisMadeDuringTheListPassUpdatesInThatPass)
{
    GeneratorLevel f;
    Generator* g = f.Make({1000, 900});
    g->Damage(10.0f);
    g->deathTimer = 1; // dies in the next update
    const Vec2 at = g->position;
    f.game.entities.Pass();
    const auto& beams = f.models.models["Generator"].beams;
    int moved = 0;
    int pieces = 0;
    for (Entity* e : f.game.entities) {
        auto* d = dynamic_cast<Debris*>(e);
        if (d == nullptr)
            continue;
        const Beam& source = beams[static_cast<std::size_t>(pieces++)];
        const Vec2 placed{at.x - source.a.x, at.y + source.a.y}; // angle 0: F (1, 0), S (0, 1)
        moved += Length(d->beam.a - placed) > 1e-3f || d->dead ? 1 : 0;
    }
    EXPECT_EQ(pieces, static_cast<int>(beams.size()));
    EXPECT_EQ(moved, pieces) << "every piece had its first update in the pass that made it";
}

TEST(Generator, PaysOnceAtItsDeathEvenWhenTheDetonationCallsDieAgain)
{
    GeneratorLevel f;
    Generator* g = f.Make();
    const std::int32_t before = f.ship.score;
    g->Damage(10.0f);
    EXPECT_EQ(f.ship.score, before) << "not when the health reaches zero";
    GeneratorLevel::BurnOut(g);
    EXPECT_EQ(f.ship.score, before + 1000);
    g->Die();
    g->Die();
    EXPECT_EQ(f.ship.score, before + 1000);

    // An intact generator that the detonation kills pays once too.
    Generator* other = f.Make({3000, 900});
    other->Die();
    other->Die();
    EXPECT_EQ(f.ship.score, before + 2000);
}

TEST(Generator, DrawsItsModelAtItsPose)
{
    GeneratorLevel f;
    Generator* g = f.Make({1000, 900}, 30.0f);
    EXPECT_EQ(f.DrawOnce(*g).size(), 3u * 3u * 4u) << "three beams of three quads each";
    EXPECT_NE(std::find(f.state.calls.begin(), f.state.calls.end(), "Translate(1000,900)"), f.state.calls.end());
}

} // namespace
