#include "ShipFixture.h"

#include "EnemyBullet.h"
#include "PlayMode.h"
#include "PlayerShot.h"
#include "PuffParticles.h"
#include "Seeker.h"
#include "SparkParticles.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A floor 2000 wide at y 1000 and a wall at x 1125 from y 1100 to 1150,
// alone in its cell; shots with a hull of radius 0.25.
struct Shots : ShipFixture {
    float wallX = 0.0f;
    static constexpr float kLaneY = 1125.0f;

    Shots()
    {
        models.models["PlayerBullet01"].circles = {HullCircle(0.25f, 0, 0)};
        models.models["PlayerBullet01"].beams = {MakeBeam({0, -1}, {0, 1}, {0.3f, 0.6f, 0.9f})};
        StartLevelOf({MakeBeam({0, 0}, {2000, 0}), MakeBeam({1125, 100}, {1125, 150})});
        wallX = game.map.liveBeams[1].a.x;
        host.audio.calls.clear();
    }

    // A shot at `from` moving by `velocity` a tick, registered as after an update.
    PlayerShot* Fire(Vec2 from, Vec2 velocity)
    {
        auto* shot = static_cast<PlayerShot*>(CreateProjectile(0));
        shot->owner = &ship;
        shot->Spawn(from.x, from.y, velocity.x, velocity.y, 90.0f);
        shot->EnterSectors();
        game.playerShots.push_back(shot);
        return shot;
    }

    template <typename T>
    const T* LastParticles() const
    {
        for (std::size_t i = game.particles.Size(); i-- > 0;)
            if (const auto* system = dynamic_cast<const T*>(game.particles.At(i)))
                return system;
        return nullptr;
    }
};

TEST(Projectile, EachKindIsMadeAndOtherNumbersMakeNothing)
{
    std::unique_ptr<Projectile> shot(CreateProjectile(0));
    EXPECT_NE(dynamic_cast<PlayerShot*>(shot.get()), nullptr);
    std::unique_ptr<Projectile> bullet(CreateProjectile(1));
    EXPECT_NE(dynamic_cast<EnemyBullet*>(bullet.get()), nullptr);
    std::unique_ptr<Projectile> seeker(CreateProjectile(2));
    EXPECT_NE(dynamic_cast<Seeker*>(seeker.get()), nullptr);
    for (int kind : {3, -1})
        EXPECT_EQ(CreateProjectile(kind), nullptr) << kind;
}

TEST(Projectile, TheTerrainIsSampledInUnitStepsBackFromTheNewPosition)
{
    struct Row {
        float motion;   // units moved this tick, toward +x
        float wallBack; // distance of the wall behind the new position
        bool hit;
    };
    const Row rows[] = {
        {2.9f, 1.0f, false}, // below 3 units: no terrain test at all
        {3.0f, 1.0f, true},
        {4.5f, 4.0f, true},  // samples 0, 1, 2, 3, 4
        {4.0f, 4.0f, true},  // a whole motion samples the previous position too
        {3.5f, 3.5f, false}, // samples 0..3 only: the previous position is missed
        {4.5f, 0.5f, false}, // between two samples
    };
    for (const Row& row : rows) {
        Shots f;
        const float end = f.wallX + row.wallBack;
        PlayerShot* shot = f.Fire({end - row.motion, Shots::kLaneY}, {row.motion, 0.0f});
        shot->Update();
        EXPECT_EQ(shot->dead, row.hit) << row.motion << " " << row.wallBack;
        EXPECT_EQ(f.LastParticles<SparkParticles>() != nullptr, row.hit) << row.motion;
    }
}

TEST(Projectile, AWallStopsTheShotWithSparksAndTheActorBehindLives)
{
    Shots f;
    ProbeActor* behind = f.AddProbe(EntityTypes::BlueTurret, {f.wallX + 5.0f, Shots::kLaneY});
    PlayerShot* shot = f.Fire({f.wallX - 5.0f, Shots::kLaneY}, {10.0f, 0.0f});
    shot->Update();
    EXPECT_TRUE(shot->dead);
    EXPECT_EQ(behind->record->damageCalls, 0);
    const SparkParticles* sparks = f.LastParticles<SparkParticles>();
    ASSERT_NE(sparks, nullptr);
    // One unit out of the wall (normal +x) from the previous position.
    EXPECT_FLOAT_EQ(sparks->box.centre.x, f.wallX - 4.0f);
    EXPECT_FLOAT_EQ(sparks->box.centre.y, Shots::kLaneY);
    EXPECT_EQ(f.Plays(SampleId::Hitsound1), 1);
    // The hull stays at the previous position, where the walk found the wall.
    EXPECT_FLOAT_EQ(shot->shapes[0].x, f.wallX - 5.0f);
}

TEST(Projectile, OpposedNormalsFallBackToTheFirstBeamMet)
{
    ShipFixture f;
    f.models.models["PlayerBullet01"].circles = {HullCircle(0.25f, 0, 0)};
    // A beam and its reverse on one line: their normals cancel.
    f.StartLevelOf({MakeBeam({0, 0}, {2000, 0}), MakeBeam({1125, 100}, {1125, 150}),
                    MakeBeam({1125, 150}, {1125, 100})});
    const float x = f.game.map.liveBeams[1].a.x;
    auto shot = std::make_unique<PlayerShot>();
    shot->Spawn(x + 1.0f, 1125.0f, 0.0f, 0.0f, 0.0f);
    shot->EnterSectors();
    shot->previousPosition = {x - 2.0f, 1125.0f};
    Vec2 normal;
    ASSERT_TRUE(shot->HitsTerrain(&normal));
    EXPECT_EQ(normal, f.game.map.liveBeams[1].normal);
    shot->LeaveSectors();
}

TEST(Projectile, InTheOpenTheHullStaysAtTheLastSubStep)
{
    Shots f;
    PlayerShot* shot = f.Fire({500.0f, 300.0f}, {10.0f, 0.0f});
    shot->Update();
    // Four sub-steps of 2.5: the hull was last placed at the third (index 2).
    EXPECT_FLOAT_EQ(shot->shapes[0].x, 505.0f);
    EXPECT_FLOAT_EQ(shot->position.x, 510.0f);
    // Its cells are those of that point.
    ASSERT_FALSE(shot->sectors.empty());
}

TEST(Projectile, CrossingTheSeamWrapsBothPositions)
{
    Shots f;
    PlayerShot* shot = f.Fire({1999.0f, 500.0f}, {5.0f, 0.0f});
    shot->Update();
    EXPECT_FLOAT_EQ(shot->position.x, 4.0f);
    EXPECT_FLOAT_EQ(shot->previousPosition.x, -1.0f);
}

TEST(Projectile, AShotExpiresOnItsSeventySixthUpdate)
{
    Shots f;
    PlayerShot* shot = f.Fire({500.0f, 300.0f}, {0.0f, 0.0f});
    for (int i = 0; i < 75; ++i)
        shot->Update();
    EXPECT_FALSE(shot->dead);
    EXPECT_GT(shot->life, 0.0f);
    shot->Update();
    EXPECT_TRUE(shot->dead);
    EXPECT_NE(f.LastParticles<PuffParticles>(), nullptr);
}

TEST(Projectile, ACheckpointFirstDoesNotShieldTheTurretBehind)
{
    Shots f;
    ProbeActor* checkpoint = f.AddProbe(EntityTypes::CheckPoint, {500.0f, 500.0f});
    ProbeActor* turret = f.AddProbe(EntityTypes::BlueTurret, {501.0f, 500.0f});
    PlayerShot* shot = f.Fire({500.0f, 502.0f}, {0.0f, -1.0f});
    shot->Update();
    EXPECT_TRUE(shot->dead);
    EXPECT_EQ(turret->record->damage, 1.0f);
    EXPECT_EQ(checkpoint->record->damageCalls, 0);
}

TEST(Projectile, AShotThatExpiresOnReachingAnActorDamagesNothing)
{
    Shots f;
    ProbeActor* turret = f.AddProbe(EntityTypes::BlueTurret, {500.0f, 500.0f});
    PlayerShot* shot = f.Fire({500.0f, 502.0f}, {0.0f, -1.0f});
    shot->life = 0.02f;
    shot->Update();
    EXPECT_TRUE(shot->dead);
    EXPECT_EQ(turret->record->damageCalls, 0);
}

TEST(Projectile, ShotsPassThroughPlatformsDebrisScientistsAndTheShip)
{
    for (EntityType type : {EntityTypes::Rotator, EntityTypes::Mover, EntityTypes::Target,
                            EntityTypes::TriggerAction, EntityTypes::Debris, EntityTypes::Scientist,
                            EntityTypes::Player}) {
        Shots f;
        ProbeActor* probe = f.AddProbe(type, {500.0f, 500.0f});
        PlayerShot* shot = f.Fire({500.0f, 502.0f}, {0.0f, -1.0f});
        shot->Update();
        EXPECT_FALSE(shot->dead) << type;
        EXPECT_EQ(probe->record->damageCalls, 0) << type;
        // The search every other kind uses skips the same actors but the ship.
        if (type != EntityTypes::Player) {
            EXPECT_EQ(shot->Projectile::FindVictim(), nullptr) << type;
        }
    }
}

TEST(Projectile, TheCommonSearchStopsAtTheShieldOfADyingShip)
{
    Shots f;
    f.PlaceShip({500.0f, 500.0f}, 0.0f);
    f.ship.shieldOn = true;
    PlayerShot* shot = f.Fire({500.0f, 490.0f}, {0.0f, 0.0f});
    ASSERT_FALSE(shot->sectors.empty());
    ProbeActor* turret = f.AddProbe(EntityTypes::BlueTurret, {500.0f, 490.0f});
    // The ship registered first in its cells: its shield answers first.
    EXPECT_EQ(shot->Projectile::FindVictim(), &f.ship);
    f.ship.dying = true;
    EXPECT_EQ(shot->Projectile::FindVictim(), nullptr);
    f.ship.shieldOn = false;
    EXPECT_EQ(shot->Projectile::FindVictim(), turret);
}

TEST(Projectile, AnOwnerDeletedReadsNull)
{
    Shots f;
    PlayerShot* shot = f.Fire({500.0f, 300.0f}, {0.0f, 0.0f});
    auto* owner = new ProbeActor(EntityTypes::BlueTurret, 1.0f);
    shot->owner = owner;
    EXPECT_EQ(shot->owner.Get(), owner);
    delete owner;
    EXPECT_EQ(shot->owner.Get(), nullptr);
}

TEST(Projectile, AnEndedShotIsDrawnUntilTheNextPassReapsIt)
{
    Shots f;
    f.game.player->zoom = 1.0f;
    f.PlaceCamera(200.0f, 300.0f);
    PlayerShot* shot = f.Fire({500.0f, 500.0f}, {0.0f, 0.0f});
    shot->life = 0.01f;
    PassProjectiles(f.game.playerShots);
    ASSERT_TRUE(shot->dead);
    ASSERT_EQ(f.game.playerShots.size(), 1u);
    QueryPlaySectors(f.game);
    auto drawnShots = [&f] {
        int n = 0;
        for (const auto& v : f.sink.vertices)
            n += (v.r == 0.3f && v.g == 0.6f) ? 1 : 0;
        return n;
    };
    f.game.DrawWorld(1.0f, f.sink, f.state);
    EXPECT_EQ(drawnShots(), 12); // one beam, once
    PassProjectiles(f.game.playerShots);
    EXPECT_TRUE(f.game.playerShots.empty());
    for (int image = 0; image < 3; ++image)
        for (const Sector* sector : f.game.visibleSectors[image])
            EXPECT_TRUE(sector->projectiles.empty());
    f.sink.vertices.clear();
    f.game.DrawWorld(1.0f, f.sink, f.state);
    EXPECT_EQ(drawnShots(), 0);
}

TEST(Projectile, ClearingTheLevelDeletesEveryShot)
{
    Shots f;
    f.Fire({500.0f, 300.0f}, {1.0f, 0.0f});
    f.Fire({600.0f, 300.0f}, {1.0f, 0.0f});
    f.game.ClearLevel();
    EXPECT_TRUE(f.game.playerShots.empty());
}

} // namespace
