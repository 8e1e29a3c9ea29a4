#include "EnemyFixture.h"

#include "BlueTurret.h"
#include "Generator.h"

#include <gtest/gtest.h>

namespace {

// The ship in flight at (2000, 500), far above the floor.
struct Bullets : EnemyFixture {
    static constexpr Vec2 kShip{2000.0f, 500.0f};
    Bullets() { PlaceShip(kShip, 0.0f); }

    EnemyBullet* Fire(Vec2 at, Vec2 velocity) { return Shoot<EnemyBullet>(game.enemyShots, at, velocity); }
};

TEST(EnemyBullet, ExpiresOnItsUpdate176WithAPuff)
{
    Bullets f;
    EnemyBullet* bullet = f.Fire({1000.0f, 300.0f}, {0.0f, 0.0f});
    for (int i = 1; i <= 175; ++i) {
        bullet->Update();
        ASSERT_FALSE(bullet->dead) << i;
    }
    bullet->Update();
    EXPECT_TRUE(bullet->dead);
    EXPECT_EQ(f.CountParticles<PuffParticles>(f.game.particles), 1);
    EXPECT_EQ(f.Plays(SampleId::Hitsound2), 1);
}

TEST(EnemyBullet, TheShieldSendsBackACopyOwnedByTheShip)
{
    Bullets f;
    f.ship.shieldOn = true;
    const float hull = f.ship.hull;
    // Straight to the left of the ship, moving right into the shield.
    EnemyBullet* bullet = f.Fire({Bullets::kShip.x - 12.0f, Bullets::kShip.y}, {4.0f, 0.0f});
    bullet->Update();
    EXPECT_TRUE(bullet->dead);
    ASSERT_EQ(f.game.playerShots.size(), 1u);
    auto* copy = dynamic_cast<EnemyBullet*>(f.game.playerShots.front());
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->reflected);
    EXPECT_EQ(copy->damage, 5.0f);
    EXPECT_EQ(copy->owner.Get(), &f.ship);
    EXPECT_FLOAT_EQ(copy->velocity.x, -4.0f);
    EXPECT_FLOAT_EQ(copy->velocity.y, 0.0f);
    EXPECT_EQ(copy->position, bullet->position);
    EXPECT_EQ(copy->life, EnemyBullet::kLife); // not updated in the pass that made it
    EXPECT_EQ(f.ship.score, 10);
    EXPECT_EQ(f.ship.redShieldTimer, 5);
    EXPECT_EQ(f.ship.hull, hull);
    EXPECT_EQ(f.Plays(SampleId::ShieldReflect), 1);
}

TEST(EnemyBullet, ACopyMadeDuringTheEnemyPassFirstMovesNextTick)
{
    Bullets f;
    f.ship.shieldOn = true;
    f.Fire({Bullets::kShip.x - 12.0f, Bullets::kShip.y}, {4.0f, 0.0f});
    PassProjectiles(f.game.playerShots);
    PassProjectiles(f.game.enemyShots);
    ASSERT_EQ(f.game.playerShots.size(), 1u);
    Projectile* copy = f.game.playerShots.front();
    const Vec2 made = copy->position;
    EXPECT_EQ(copy->life, EnemyBullet::kLife);
    PassProjectiles(f.game.playerShots);
    EXPECT_FLOAT_EQ(copy->position.x, made.x - 4.0f);
}

TEST(EnemyBullet, OnTheShipItselfTheCopyGoesBackTheWayItCame)
{
    struct Row {
        Vec2 velocity;
        Vec2 expected;
    };
    const Row rows[] = {{{3.0f, 4.0f}, {-3.0f, -4.0f}}, {{0.0f, 0.0f}, {0.0f, 0.0f}}};
    for (const Row& row : rows) {
        Bullets f;
        f.ship.shieldOn = true;
        // Placed so that its move ends exactly on the ship's centre.
        f.Fire(Bullets::kShip - row.velocity, row.velocity)->Update();
        ASSERT_EQ(f.game.playerShots.size(), 1u) << row.velocity.x;
        const Vec2 v = f.game.playerShots.front()->velocity;
        EXPECT_FLOAT_EQ(v.x, row.expected.x);
        EXPECT_FLOAT_EQ(v.y, row.expected.y);
    }
}

TEST(EnemyBullet, ShipHitsBySpawnProtectionShieldAndInFlight)
{
    struct Row {
        const char* name;
        int spawnTimer;
        bool shield;
        bool landed;
        float hullLost;
        int score;
        std::size_t copies;
    };
    const Row rows[] = {
        {"spawning", 50, false, false, 0.0f, 0, 0},
        {"spawning with shield", 50, true, false, 0.0f, 0, 0},
        {"in flight", 0, false, false, 30.0f, 0, 0},
        {"landed", 0, false, true, 30.0f, 0, 0},
        {"shielded", 0, true, false, 0.0f, 10, 1},
    };
    for (const Row& row : rows) {
        Bullets f;
        f.ship.spawnTimer = row.spawnTimer;
        f.ship.shieldOn = row.shield;
        f.ship.landed = row.landed;
        f.ship.spin = 3.0f;
        const float hull = f.ship.hull;
        EnemyBullet* bullet = f.Fire({Bullets::kShip.x - 12.0f, Bullets::kShip.y}, {4.0f, 0.0f});
        bullet->Update();
        EXPECT_TRUE(bullet->dead) << row.name;
        EXPECT_FLOAT_EQ(hull - f.ship.hull, row.hullLost) << row.name;
        EXPECT_EQ(f.ship.score, row.score) << row.name;
        EXPECT_EQ(f.game.playerShots.size(), row.copies) << row.name;
        if (row.hullLost > 0.0f) {
            // Pushed away from the bullet, to the right.
            EXPECT_FLOAT_EQ(f.ship.velocity.x, 7.0f) << row.name;
            if (row.landed)
                EXPECT_EQ(f.ship.spin, 3.0f) << row.name;
            else
                EXPECT_TRUE(f.ship.spin >= -40.0f && f.ship.spin <= 39.0f && f.ship.spin != 3.0f) << row.name;
        } else if (!row.shield || row.spawnTimer > 0) {
            EXPECT_EQ(f.ship.velocity.x, 0.0f) << row.name;
        }
    }
}

TEST(EnemyBullet, TerrainAndShipInOneUpdateSparkDamageAndPuffOnce)
{
    Bullets f;
    // The ship low over the floor; the bullet falls into both at once.
    const Vec2 at{1500.0f, f.floorY - 2.5f};
    f.PlaceShip(at, 0.0f);
    const float hull = f.ship.hull;
    EnemyBullet* bullet = f.Fire(at, {0.0f, 4.0f});
    bullet->Update();
    EXPECT_TRUE(bullet->dead);
    EXPECT_EQ(f.CountParticles<SparkParticles>(f.game.particles), 1);
    EXPECT_EQ(f.CountParticles<PuffParticles>(f.game.particles), 1);
    EXPECT_EQ(f.Plays(SampleId::Hitsound2), 2);
    EXPECT_FLOAT_EQ(hull - f.ship.hull, 30.0f);
}

TEST(EnemyBullet, ActorsStopOnlyPlainBulletsAndReflectedKillsPayTwice)
{
    struct Row {
        const char* name;
        bool reflected;
        bool turretDeadBefore;
        bool turretDies;
        int score;
        std::vector<std::string> popups;
    };
    const Row rows[] = {
        {"plain", false, false, false, 0, {}},
        {"reflected", true, false, true, 100, {"2X 50"}},
        {"reflected at a turret already dead", true, true, true, 50, {}},
    };
    for (const Row& row : rows) {
        Bullets f;
        auto* turret = f.Add<BlueTurret>({1000.0f, 300.0f});
        if (row.turretDeadBefore)
            turret->Die();
        EnemyBullet* bullet = f.Fire({996.0f, 300.0f}, {4.0f, 0.0f});
        if (row.reflected) {
            bullet->reflected = true;
            bullet->damage = EnemyBullet::kReflectedDamage;
            bullet->owner = &f.ship;
        }
        bullet->Update();
        EXPECT_TRUE(bullet->dead) << row.name;
        EXPECT_EQ(turret->dead, row.turretDies) << row.name;
        EXPECT_EQ(f.ship.score, row.score) << row.name;
        EXPECT_EQ(f.PopupTexts(), row.popups) << row.name;
    }
}

TEST(EnemyBullet, AReflectedHitThatDoesNotKillOnlyDamages)
{
    Bullets f;
    ProbeActor* probe = f.AddProbe(EntityTypes::Generator, {1000.0f, 300.0f});
    EnemyBullet* bullet = f.Fire({996.0f, 300.0f}, {4.0f, 0.0f});
    bullet->reflected = true;
    bullet->damage = EnemyBullet::kReflectedDamage;
    bullet->Update();
    EXPECT_TRUE(bullet->dead);
    EXPECT_EQ(probe->record->damage, 5.0f);
    EXPECT_TRUE(f.game.scorePopups.empty());
}

TEST(EnemyBullet, ItsOwnTurretMetFirstLetsItFlyOn)
{
    Bullets f;
    auto* turret = f.Add<BlueTurret>({1000.0f, 300.0f});
    EnemyBullet* bullet = f.Fire({996.0f, 300.0f}, {4.0f, 0.0f});
    bullet->owner = turret;
    bullet->Update();
    EXPECT_FALSE(bullet->dead);
    EXPECT_FALSE(turret->dead);
}

TEST(EnemyBullet, SpinSignFollowsTheSpawnSideOfTheShip)
{
    struct Row {
        float dx; // spawn x minus the ship's x
        bool reflected;
        float turn;
    };
    const Row rows[] = {{10.0f, false, -7.5f}, {0.0f, false, 7.5f}, {-10.0f, false, 7.5f},
                        {10.0f, true, -17.5f}, {-10.0f, true, 17.5f}};
    for (const Row& row : rows) {
        Bullets f;
        EnemyBullet* bullet = f.Fire({Bullets::kShip.x + row.dx, 200.0f}, {0.0f, 0.0f});
        bullet->reflected = row.reflected;
        bullet->Update();
        EXPECT_FLOAT_EQ(bullet->angle, row.turn) << row.dx << " " << row.reflected;
        EXPECT_FLOAT_EQ(bullet->previousAngle, 0.0f);
    }
}

} // namespace
