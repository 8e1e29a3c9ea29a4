#include "ShipFixture.h"

#include "Debris.h"
#include "EntityFactory.h"
#include "Rotator.h"
#include "PlayerDebris.h"
#include "Random.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include <set>

namespace {

struct Damaged : ShipFixture {
    Damaged()
    {
        StartFlatLevel(2000.0f, 8);
        game.gravity = {};
        PlaceShip({1000.0f, 500.0f}, 0.0f);
        host.audio.calls.clear();
    }

    // A probe of the given type touching the ship's lower circle from the right.
    ProbeActor* AddProbe(EntityType type, float x = 1010.0f)
    {
        return ShipFixture::AddProbe(type, {x, 502.2f}, 5.0f);
    }
};

TEST(PlayerDamage, HullKeepsWholeHundredths)
{
    Damaged f;
    f.ship.Damage(5.3456f);
    EXPECT_EQ(f.ship.hull, 94.65f);
    EXPECT_EQ(f.ship.hitCooldown, 50);
}

TEST(PlayerDamage, TheCooldownIgnoresHitsUntilThePlanetHasBlown)
{
    Damaged f;
    f.ship.Damage(10.0f);
    f.ship.Damage(10.0f);
    EXPECT_EQ(f.ship.hull, 90.0f);
    f.game.selfDestruct.detonated = true;
    f.ship.Damage(10.0f);
    EXPECT_EQ(f.ship.hull, 80.0f);
}

TEST(PlayerDamage, ImmuneWhileSpawningDyingOrLeaving)
{
    struct Row {
        const char* state;
        void (*set)(Damaged&);
    };
    const Row rows[] = {
        {"spawning", [](Damaged& f) { f.ship.spawnTimer = 1; }},
        {"dying", [](Damaged& f) { f.ship.dying = true; }},
        {"aborted", [](Damaged& f) { f.game.missionState.aborted = true; }},
        {"completed", [](Damaged& f) { f.game.missionState.completed = true; }},
    };
    for (const Row& row : rows) {
        Damaged f;
        row.set(f);
        f.ship.Damage(50.0f);
        EXPECT_EQ(f.ship.hull, 100.0f) << row.state;
    }
}

TEST(PlayerDamage, WithoutFuelEveryHitIsFatal)
{
    Damaged f;
    f.ship.fuel = 0.0f;
    f.ship.Damage(1.0f);
    EXPECT_EQ(f.ship.hull, 0.0f);
    EXPECT_TRUE(f.ship.dying);
    EXPECT_EQ(f.ship.endTimer, 300);
}

TEST(PlayerDamage, AHitKnocksTheShipOffItsPlatform)
{
    Damaged f;
    auto* platform = CreateEntity(EntityTypes::Rotator);
    f.game.entities.Append(platform);
    auto* rotator = static_cast<Rotator*>(platform);
    rotator->carriedActors.push_back(EntityRef<>(&f.ship));
    f.ship.carrier = platform;
    f.ship.landed = true;
    f.ship.landedBeam = &f.game.map.liveBeams[0];
    f.ship.Damage(1.0f);
    EXPECT_TRUE(rotator->carriedActors.empty());
    EXPECT_EQ(f.ship.carrier.Get(), nullptr);
    EXPECT_FALSE(f.ship.landed);
    EXPECT_EQ(f.ship.landedBeam, nullptr);
}

TEST(PlayerDamage, ContactsHurtByTheActorsType)
{
    struct Row {
        EntityType type;
        float hull;        // after the tick
        bool handled;      // pushed and damaged by the contact
    };
    const Row rows[] = {
        {EntityTypes::BlueTurret, 87.5f, true}, // pushed 2.5 away: 2.5 + 10
        {EntityTypes::Mine, 25.0f, true},       // 75, then the contact falls into the cooldown
        {EntityTypes::Missile, 85.0f, true},    // 15 likewise
        {EntityTypes::Rotator, 100.0f, false},
        {EntityTypes::Mover, 100.0f, false},
        {EntityTypes::Laser, 100.0f, false},
    };
    for (const Row& row : rows) {
        Damaged f;
        ProbeActor* probe = f.AddProbe(row.type);
        f.ShipTick();
        EXPECT_EQ(f.ship.hull, row.hull) << row.type;
        // A contact that is handled ends the pass; the others are asked in
        // every cell the two share.
        if (row.handled) {
            EXPECT_EQ(probe->record->contacts, 1) << row.type;
        } else {
            EXPECT_GE(probe->record->contacts, 1) << row.type;
        }
        EXPECT_EQ(probe->record->damage, row.handled ? 2.5f : 0.0f) << row.type;
        if (row.handled) {
            EXPECT_LT(f.ship.position.x, 1000.0f) << row.type;
        } else {
            EXPECT_EQ(f.ship.position.x, 1000.0f) << row.type;
        }
    }
}

TEST(PlayerDamage, ABrickReversesTheShip)
{
    Damaged f;
    f.AddProbe(EntityTypes::Brick);
    f.ship.velocity = {2.0f, 0.0f};
    f.ShipTick();
    // Moved, slowed by the drag, then reversed and moved back by it.
    EXPECT_NEAR(f.ship.velocity.x, -2.0f * 0.9885f, 1e-5f);
    EXPECT_NEAR(f.ship.position.x, 1002.0f - 2.0f * 0.9885f, 1e-4f);
    EXPECT_EQ(f.ship.hull, 88.02f); // |v| + 10
}

TEST(PlayerDamage, OnlyTheFirstOfTwoContactsCounts)
{
    Damaged f;
    ProbeActor* first = f.AddProbe(EntityTypes::BlueTurret, 1010.0f);
    ProbeActor* second = f.AddProbe(EntityTypes::BlueTurret, 1011.0f);
    f.ShipTick();
    EXPECT_EQ(first->record->damageCalls, 1);
    EXPECT_EQ(second->record->damageCalls, 0);
    EXPECT_EQ(f.ship.hull, 87.5f);
}

// Held against an actor tick after tick (a ship pressing on a turret), the
// ship hears one impact where the touch begins; after the hit cooldown clear
// of it, a new touch sounds again.
TEST(PlayerDamage, TheImpactSoundPlaysOncePerContactNotEveryTick)
{
    Damaged f;
    f.AddProbe(EntityTypes::BlueTurret);
    const auto impacts = [&f] {
        return f.Plays(SampleId::PlayerCrash1) + f.Plays(SampleId::PlayerCrash2) + f.Plays(SampleId::PlayerCrash3);
    };
    for (int i = 0; i < 30; ++i) {
        f.PlaceShip({1000.0f, 500.0f}, 0.0f);
        f.ShipTick();
        ASSERT_LT(f.ship.position.x, 1000.0f) << i; // pushed: the contact was handled
    }
    EXPECT_EQ(impacts(), 1);
    for (int i = 0; i < Player::kHitCooldownTicks; ++i) {
        f.PlaceShip({1300.0f, 500.0f}, 0.0f);
        f.ShipTick();
    }
    f.PlaceShip({1000.0f, 500.0f}, 0.0f);
    f.ShipTick();
    EXPECT_EQ(impacts(), 2);
}

TEST(PlayerDamage, AShieldedContactCostsHalfAndTurnsTheShieldRed)
{
    Damaged f;
    f.ship.shieldOn = true;
    f.Press(ButtonShield);
    f.game.input.AdvanceButtons();
    f.AddProbe(EntityTypes::BlueTurret);
    f.ShipTick();
    EXPECT_EQ(f.ship.hull, 93.75f); // 0.5 * 2.5 + 5
    EXPECT_EQ(f.ship.redShieldTimer, 5);
}

TEST(PlayerDamage, HullTestsAnswerFalseForADyingShip)
{
    Damaged f;
    const std::vector<HullCircle> probe = {HullCircle(3.0f, 1000.0f, 500.0f)};
    Vec2 normal{9.0f, 9.0f};
    EXPECT_TRUE(f.ship.CollideShapes(probe, &normal));
    EXPECT_NEAR(normal.y, 1.0f, 1e-6f); // toward the first hull circle that overlaps
    EXPECT_TRUE(f.ship.CollideShield(probe, &normal));
    f.ship.dying = true;
    EXPECT_FALSE(f.ship.CollideShapes(probe, &normal));
    EXPECT_FALSE(f.ship.CollideShield(probe, &normal));
}

TEST(PlayerDeath, AtSpeedThreeOnlyTheBeamsBreakAway)
{
    Damaged f;
    f.ship.velocity = {3.0f, 0.0f};
    f.ship.Die();
    EXPECT_EQ(f.CountEntities<PlayerDebris>(), 0);
    EXPECT_EQ(f.CountEntities<Debris>(), 3); // one per beam of "Player"
    EXPECT_EQ(f.Plays(SampleId::BulletTime), 1);
    for (Entity* e : f.game.entities) {
        const auto& piece = static_cast<const Debris&>(*e);
        EXPECT_FALSE(piece.waiting);
        EXPECT_TRUE(piece.slowShrink);
    }
}

TEST(PlayerDeath, FasterTheWreckBreaksIntoThreeOrFourPiecesByParity)
{
    std::set<int> counts;
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        Damaged f;
        SeedRandom(seed);
        f.ship.velocity = {3.01f, 0.0f};
        f.ship.Die();
        std::set<EntityType> types;
        for (Entity* e : f.game.entities)
            if (e->type != EntityTypes::Debris)
                types.insert(e->type);
        const int n = static_cast<int>(types.size());
        counts.insert(n);
        if (n == 3) {
            EXPECT_EQ(types, (std::set<EntityType>{1000, 1001, 1002}));
        } else {
            EXPECT_EQ(types, (std::set<EntityType>{1003, 1004, 1005, 1006}));
        }
    }
    EXPECT_EQ(counts, (std::set<int>{3, 4}));
}

TEST(PlayerDeath, TheSequenceRestartsWithALifeLessOrEndsTheGame)
{
    for (int lives : {1, 0}) {
        Damaged f;
        // The score screen reads and writes "Scores.dat" beside the data.
        const auto scratch = std::filesystem::temp_directory_path() /
                             ("zelv_death_" + std::to_string(::getpid()) + "_" + std::to_string(lives));
        std::filesystem::create_directories(scratch);
        f.game.dataRoot = scratch.string();
        f.ship.lives = lives;
        f.ship.Die();
        for (int i = 0; i < 299; ++i)
            f.game.UpdatePlay();
        EXPECT_TRUE(f.ship.dying);
        EXPECT_EQ(f.ship.lives, lives);
        f.game.UpdatePlay();
        if (lives == 1) {
            EXPECT_EQ(f.ship.lives, 0);
            EXPECT_FALSE(f.ship.dying);
            EXPECT_EQ(f.ship.spawnTimer, 200);
            EXPECT_EQ(f.game.mode, GameMode::Play);
        } else {
            // The game is over: a score that beats no entry passes the
            // score screen by, to the continue prompt while maps are left.
            const bool mapsLeft = static_cast<std::size_t>(f.game.mapIndex) < f.game.packMaps.size();
            EXPECT_EQ(f.game.mode, mapsLeft ? GameMode::ContinuePrompt : GameMode::GameOver);
            EXPECT_EQ(f.ship.lives, -1);
        }
        std::error_code ignored;
        std::filesystem::remove_all(scratch, ignored);
    }
}

} // namespace
