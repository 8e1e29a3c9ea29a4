#include "Player.h"
#include "ThrustParticles.h"

#include "Game.h"
#include "ModelSource.h"
#include "ObjectModel.h"
#include "SectorGrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

class ShipModels : public ModelSource {
public:
    ObjectModel ship;
    ObjectModel shield;
    const ObjectModel* FindModel(const char* name) const override
    {
        const std::string n = name;
        return n == "Player" ? &ship : n == "PlayerShield" ? &shield : nullptr;
    }
};

TEST(PlayerTest, ConstructionZeroesEveryField)
{
    Game game;
    const Player& p = *game.player;
    EXPECT_EQ(p.type, -1);
    EXPECT_EQ(p.velocity, (Vec2{0, 0}));
    EXPECT_EQ(p.camera, (Vec2{0, 0}));
    EXPECT_EQ(p.previousCamera, (Vec2{0, 0}));
    EXPECT_EQ(p.score, 0);
    EXPECT_EQ(p.lives, 0);
    EXPECT_EQ(p.nextExtraLife, 0);
    EXPECT_EQ(p.respawnPoint.x, 0.0f);
    EXPECT_EQ(p.respawnPoint.y, 0.0f);
    EXPECT_EQ(p.respawnPoint.angle, 0.0f);
    EXPECT_EQ(p.currentCheckPoint.Get(), nullptr);
    EXPECT_EQ(p.carrier.Get(), nullptr);
    EXPECT_EQ(p.landedBeam, nullptr);
    EXPECT_FALSE(p.landed);
    EXPECT_EQ(p.thrustParticles.Get(), nullptr);
    EXPECT_EQ(p.spawnTimer, 0);
    EXPECT_EQ(p.zoom, 0.0f);
    EXPECT_EQ(p.fuel, 0.0f);
    EXPECT_EQ(p.hull, 0.0f);
    EXPECT_FALSE(p.dying);
    EXPECT_EQ(p.endTimer, 0);
    EXPECT_TRUE(p.shieldShapes.empty());
    EXPECT_FALSE(p.loopSoundsOn[0] || p.loopSoundsOn[1]);
}

TEST(PlayerTest, SpawnUsesTheRespawnPointAndCentresTheCamera)
{
    Game game;
    ShipModels models;
    models.ship.circles = {HullCircle(10, 0, 0, 0, 4)};
    models.shield.circles = {HullCircle(25, 0, 0)};
    game.models = &models;
    game.screenCentre = {320, 240};
    Player& p = *game.player;
    p.respawnPoint = {0, 400, 0};
    p.scientistsRescued = 4;
    p.landed = true; // the spawn leaves landing state to the level start
    p.Spawn(5, 5, 90);
    EXPECT_EQ(p.position, (Vec2{0, 400}));
    EXPECT_EQ(p.previousPosition, (Vec2{0, 400}));
    EXPECT_EQ(p.angle, 0.0f);
    EXPECT_EQ(p.camera, (Vec2{-320, 160}));
    EXPECT_EQ(p.previousCamera, (Vec2{-320, 160}));
    EXPECT_EQ(p.spawnTimer, 200);
    EXPECT_EQ(p.zoom, 2.0f);
    EXPECT_EQ(p.fuel, 300.0f);
    EXPECT_EQ(p.hull, 100.0f);
    EXPECT_EQ(p.legAngle, -90.0f);
    EXPECT_EQ(p.scientistsRescued, 0);
    EXPECT_TRUE(p.landed);
    ASSERT_EQ(p.shapes.size(), 1u);
    ASSERT_EQ(p.shieldShapes.size(), 1u);
    EXPECT_NEAR(p.shapes[0].y, 404.0f, 1e-4f);
    EXPECT_NEAR(p.shieldShapes[0].x, 0.0f, 1e-4f);
}

TEST(PlayerTest, ResetStatsTouchesOnlyTheStatistics)
{
    Game game;
    Player& p = *game.player;
    p.fuel = 12;
    p.hull = 34;
    p.respawnPoint = {7, 8, 9};
    p.scientistsRescued = 2;
    p.score = 999;
    p.fireCooldown = 5;
    p.ResetStats();
    EXPECT_EQ(p.score, 0);
    EXPECT_EQ(p.lives, 3);
    EXPECT_EQ(p.nextExtraLife, 20000);
    EXPECT_EQ(p.fireCooldown, 0);
    EXPECT_EQ(game.gravity, (Vec2{0, 0.04f}));
    EXPECT_EQ(p.fuel, 12.0f);
    EXPECT_EQ(p.hull, 34.0f);
    EXPECT_EQ(p.respawnPoint.x, 7.0f);
    EXPECT_EQ(p.scientistsRescued, 2);
}

TEST(PlayerTest, UpdateKeepsThePoseHistoryAndRegistersWithinReach)
{
    Game game;
    std::vector<Beam> beams(1);
    beams[0].a = {0, 0};
    beams[0].b = {3000, 0};
    game.sectorGrid.Build(beams, game.entities);
    Player& p = *game.player;
    p.position = {1000, 1100};
    p.angle = 10;
    p.Update();
    EXPECT_EQ(p.previousPosition, (Vec2{1000, 1100}));
    EXPECT_EQ(p.previousAngle, 10.0f);
    ASSERT_FALSE(p.sectors.empty());
    for (Sector* s : p.sectors) {
        const CellEntities in = s->Entities();
        EXPECT_EQ(std::count(in.begin(), in.end(), &p), 1);
        EXPECT_TRUE(s->IntersectsCircle(HullCircle(Player::kSectorReach, 1000, 1100)));
    }
    // Moving re-registers: the old cells forget the ship.
    std::vector<Sector*> old = p.sectors;
    p.position = {2500, 1100};
    p.Update();
    for (Sector* s : old)
        if (std::find(p.sectors.begin(), p.sectors.end(), s) == p.sectors.end()) {
            const CellEntities in = s->Entities();
            EXPECT_EQ(std::count(in.begin(), in.end(), &p), 0);
        }
}

} // namespace
