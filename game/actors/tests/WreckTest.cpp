#include "ShipFixture.h"

#include "Debris.h"
#include "EntityFactory.h"
#include "ExplosionParticles.h"
#include "PlayerDebris.h"
#include "ShockRing.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Wreck : ShipFixture {
    Wreck()
    {
        StartFlatLevel(2000.0f, 8); // floor at y 1000
        DeleteEntities(game.entities);
        game.particles.Clear();
    }

    Debris* MakeDebris(Vec2 a, Vec2 b)
    {
        auto* piece = static_cast<Debris*>(CreateEntity(EntityTypes::Debris));
        piece->beam = MakeBeam(a, b, {1.0f, 0.5f, 0.0f});
        piece->beam.colourB = {0.0f, 0.5f, 1.0f};
        piece->Spawn(a.x, a.y, 0.0f);
        piece->splits = false;
        piece->waiting = false;
        game.entities.Append(piece);
        return piece;
    }

    PlayerDebris* MakePiece(EntityType type, Vec2 at)
    {
        auto* piece = static_cast<PlayerDebris*>(CreateEntity(type));
        piece->Spawn(at.x, at.y, 0.0f);
        game.entities.Append(piece);
        return piece;
    }

    int Count(EntityType type) const
    {
        int n = 0;
        for (Entity* e : game.entities)
            n += e->type == type ? 1 : 0;
        return n;
    }

    template <typename T>
    std::vector<const T*> Systems(const ParticleList& list) const
    {
        return SystemsOf<T>(list);
    }
};

TEST(Debris, APieceShrinksAwayAfter261SlowOr79FastMovingTicks)
{
    // 40.05 long: at exactly 40 the slow piece reaches length 1.0 after 260
    // ticks, where single-precision rounding alone decides the tick.
    for (bool slow : {true, false}) {
        Wreck f;
        Debris* piece = f.MakeDebris({500, 500}, {540.05f, 500});
        piece->slowShrink = slow;
        piece->spin = 0.0f;
        piece->velocity = {};
        int ticks = 0;
        while (!piece->dead && ticks < 1000) {
            piece->Update();
            ++ticks;
        }
        EXPECT_EQ(ticks, slow ? 261 : 79) << slow;
    }
}

TEST(Debris, AFreshPieceKeepsItsOrientation)
{
    Wreck f;
    Debris* piece = f.MakeDebris({500, 500}, {530, 540}); // length 50
    piece->velocity = {};
    piece->spin = 0.0f;
    piece->Update();
    const Vec2 d = piece->beam.b - piece->beam.a;
    EXPECT_NEAR(d.x / Length(d), 0.6f, 1e-5f);
    EXPECT_NEAR(d.y / Length(d), 0.8f, 1e-5f);
    EXPECT_NEAR(Length(d), 49.5f, 1e-3f);
}

TEST(Debris, ASplitMakesTwoHalvesAndAFlashByLength)
{
    struct Row {
        float length;
        int flash;
    };
    for (const Row& row : {Row{5.5f, 6}, Row{300.0f, 20}}) {
        Wreck f;
        Debris* piece = f.MakeDebris({500, 500}, {500 + row.length, 500});
        piece->splits = true;
        piece->splitTimer = 1;
        piece->waiting = true; // a waiting piece splits on time too
        piece->Update();
        EXPECT_TRUE(piece->dead);
        std::vector<const Debris*> halves;
        for (Entity* e : f.game.entities)
            if (e != piece)
                halves.push_back(static_cast<const Debris*>(e));
        ASSERT_EQ(halves.size(), 2u);
        EXPECT_FLOAT_EQ(Length(halves[0]->beam.b - halves[0]->beam.a), row.length / 2.0f);
        EXPECT_EQ(halves[0]->beam.a, (Vec2{500, 500}));
        EXPECT_EQ(halves[1]->beam.b, (Vec2{500 + row.length, 500}));
        EXPECT_FLOAT_EQ(halves[0]->beam.colourB.r, 0.5f); // the mixed middle colour
        EXPECT_FALSE(halves[0]->waiting || halves[1]->waiting);
        const auto flashes = f.Systems<ExplosionParticles>(f.game.particles);
        ASSERT_EQ(flashes.size(), 1u);
        EXPECT_EQ(flashes[0]->count, row.flash);
    }
}

TEST(PlayerDebris, APieceLivesAtMostFiftyTicksInTheAir)
{
    Wreck f;
    PlayerDebris* piece = f.MakePiece(1003, {500.0f, 300.0f});
    EXPECT_GE(piece->health, 1.0f);
    EXPECT_LT(piece->health, 2.5f);
    EXPECT_GE(piece->spin, -15.0f);
    EXPECT_LT(piece->spin, 15.0f);
    piece->health = 1.0f;
    piece->Damage(1000.0f); // cannot be shot
    EXPECT_EQ(piece->health, 1.0f);
    EXPECT_FALSE(piece->dead);
    f.game.gravity = {};
    int ticks = 0;
    while (!piece->dead && ticks < 100) {
        piece->Update();
        ++ticks;
    }
    // As with the shots: 50 subtractions of 0.02 in single precision leave
    // a hair above 0, so a life of 1.0 ends on the 51st update.
    EXPECT_EQ(ticks, 51);
}

TEST(PlayerDebris, SmokeEveryFifteenthTick)
{
    Wreck f;
    PlayerDebris* piece = f.MakePiece(1000, {500.0f, 300.0f});
    piece->health = 10.0f;
    f.game.gravity = {};
    std::vector<int> smokeTicks;
    for (int tick = 1; tick <= 45; ++tick) {
        const std::size_t before = f.game.particles.Size();
        piece->Update();
        if (f.game.particles.Size() > before)
            smokeTicks.push_back(tick);
    }
    EXPECT_EQ(smokeTicks, (std::vector<int>{15, 30, 45}));
}

TEST(PlayerDebris, TouchingTheTerrainBreaksItIntoItsBeamsOnce)
{
    Wreck f;
    PlayerDebris* piece = f.MakePiece(1005, {700.0f, 997.0f});
    piece->health = 10.0f;
    piece->Update();
    EXPECT_TRUE(piece->dead);
    EXPECT_EQ(f.Count(EntityTypes::Debris), 2); // the model's two beams
    EXPECT_EQ(f.Systems<ShockRing>(f.game.ribbons).size(), 1u);
    piece->Die();
    EXPECT_EQ(f.Count(EntityTypes::Debris), 2);
    for (Entity* e : f.game.entities) {
        if (e->type != EntityTypes::Debris)
            continue;
        const auto& d = static_cast<const Debris&>(*e);
        const Vec2 middle = 0.5f * (d.beam.a + d.beam.b);
        EXPECT_NEAR(d.velocity.x, (piece->position.x - middle.x) * 0.125f, 1e-4f);
        EXPECT_NEAR(d.velocity.y, (piece->position.y - middle.y) * 0.125f, 1e-4f);
    }
}

} // namespace
