#include "MissionFixture.h"

#include "CheckPoint.h"
#include "MapWriter.h"
#include "Station.h"
#include "Tree.h"
#include "support/MapRecords.h"
#include "support/MapTestDir.h"

#include <gtest/gtest.h>

namespace {

TEST(Tree, EachShapeBurstsIntoItsParticlesAndPaysFifteenOnce)
{
    struct Case {
        EntityType type;
        std::int32_t count;
        Rgb colour;
    };
    const Rgb green{0.3f, 1.0f, 0.3f};
    const Case cases[] = {{8, 10, green}, {9, 20, green}, {10, 20, green},
                          {11, 30, green}, {12, 30, {0.7f, 0.4f, 0.1f}}, {13, 30, green}};
    for (const Case& c : cases) {
        MissionFixture f;
        Tree* tree = f.Place<Tree>(c.type, {1000, 990});
        ASSERT_EQ(tree->type, c.type);
        const std::int32_t score = f.ship.score;
        tree->Damage(1.0f);
        tree->Damage(1.0f);
        tree->Die();
        EXPECT_TRUE(tree->dead);
        EXPECT_EQ(f.ship.score, score + 15) << c.type;
        const auto bursts = f.Systems<ExplosionParticles>(f.game.particles);
        ASSERT_EQ(bursts.size(), 1u) << c.type;
        EXPECT_EQ(bursts[0]->count, c.count) << c.type;
        EXPECT_EQ(bursts[0]->startColour[0], c.colour.r) << c.type;
        EXPECT_EQ(bursts[0]->startColour[1], c.colour.g) << c.type;
        EXPECT_EQ(bursts[0]->startColour[2], c.colour.b) << c.type;
        EXPECT_NEAR(bursts[0]->box.centre.y, 980.0f, 1e-4f) << "10 units out of its top";
    }
}

TEST(Scenery, TheShipFliesThroughTreesCheckPointsAndStations)
{
    MissionFixture f;
    for (EntityType type : {EntityType{8}, EntityTypes::CheckPoint, EntityTypes::Station}) {
        Entity* e = f.Place<Entity>(type, {1000, 990});
        EXPECT_FALSE(e->OnContact(&f.ship)) << type;
    }
}

struct CheckPoints : MissionFixture {
    CheckPoint* Make(Vec2 at, float angle = 0.0f) { return Place<CheckPoint>(EntityTypes::CheckPoint, at, angle); }
};

TEST(CheckPoint, TheRespawnPointLiesThreeUnitsOutOfItsTop)
{
    struct Case {
        float angle;
        RespawnPoint expected;
    };
    for (const Case c : {Case{0.0f, {100, 197, 0}}, Case{90.0f, {103, 200, 90}}}) {
        CheckPoints f;
        CheckPoint* cp = f.Make({100, 200}, c.angle);
        EXPECT_FALSE(cp->OnContact(&f.ship));
        EXPECT_NEAR(f.ship.respawnPoint.x, c.expected.x, 1e-4f) << c.angle;
        EXPECT_NEAR(f.ship.respawnPoint.y, c.expected.y, 1e-4f) << c.angle;
        EXPECT_EQ(f.ship.respawnPoint.angle, c.expected.angle);
        EXPECT_EQ(f.ship.currentCheckPoint.Get(), cp);
    }
}

TEST(CheckPoint, SoundsOnlyWhenItBecomesCurrentAndASecondUnlightsTheFirst)
{
    CheckPoints f;
    CheckPoint* first = f.Make({1000, 990});
    CheckPoint* second = f.Make({2000, 990});
    for (int i = 0; i < 5; ++i)
        first->OnContact(&f.ship);
    EXPECT_EQ(f.Plays(SampleId::DeActivate), 1);
    f.ship.respawnPoint = RespawnPoint{0, 0, 0};
    first->OnContact(&f.ship);
    EXPECT_EQ(f.ship.respawnPoint.y, 987.0f) << "set again on every contact";
    second->OnContact(&f.ship);
    EXPECT_EQ(f.Plays(SampleId::DeActivate), 2);
    EXPECT_EQ(f.ship.currentCheckPoint.Get(), second);
    EXPECT_EQ(f.ship.respawnPoint.x, 2000.0f);

    // Lit means the third and fourth models.
    f.models.models["CheckPoint03"].beams = {MakeBeam({0, 0}, {0, -8}, {0, 1, 0})};
    f.models.models["CheckPoint01"].beams = {MakeBeam({0, 0}, {0, -8}, {1, 0, 0})};
    auto drawnGreen = [&](CheckPoint* cp) {
        const auto vertices = f.DrawOnce(*cp);
        return !vertices.empty() && vertices.front().g == 1.0f && vertices.front().r == 0.0f;
    };
    EXPECT_FALSE(drawnGreen(first));
    EXPECT_TRUE(drawnGreen(second));
}

TEST(CheckPoint, OtherActorsTouchingItDoNothing)
{
    CheckPoints f;
    CheckPoint* cp = f.Make({1000, 990});
    ProbeActor probe(EntityTypes::Player, 3.0f); // the ship's type, but not the ship
    ProbeActor turret(EntityTypes::BlueTurret, 3.0f);
    EXPECT_FALSE(cp->OnContact(&turret));
    EXPECT_FALSE(cp->OnContact(&probe));
    EXPECT_FALSE(cp->OnContact(nullptr));
    EXPECT_EQ(f.ship.currentCheckPoint.Get(), nullptr);
    EXPECT_EQ(f.Plays(SampleId::DeActivate), 0);
}

TEST(CheckPoint, StaysLitAfterARestartAndGoesOutWithTheMap)
{
    CheckPoints f;
    MapTestDir dir;
    f.game.dataRoot = dir.Root();
    MapContents one;
    one.beams = {FlatBeam(0, 800, 3000, 800)};
    one.actors = {Actor(14, 500, 790), Actor(14, 1500, 790)};
    MapContents two = one;
    two.actors = {Actor(14, 500, 790)};
    ASSERT_TRUE(WriteMapFile(dir.Path("Data/Maps/One.map").string(), one));
    ASSERT_TRUE(WriteMapFile(dir.Path("Data/Maps/Two.map").string(), two));

    auto checkpoints = [&] {
        std::vector<CheckPoint*> found;
        for (Entity* e : f.game.entities)
            if (auto* cp = dynamic_cast<CheckPoint*>(e))
                found.push_back(cp);
        return found;
    };
    ASSERT_TRUE(f.game.LoadMap("One"));
    f.game.StartLevel();
    ASSERT_EQ(checkpoints().size(), 2u);
    checkpoints()[1]->OnContact(&f.ship);
    const RespawnPoint there = f.ship.respawnPoint;

    f.game.StartLevel(); // the restart after a death
    ASSERT_EQ(checkpoints().size(), 2u);
    EXPECT_EQ(f.ship.currentCheckPoint.Get(), checkpoints()[1]);
    EXPECT_EQ(f.ship.respawnPoint.x, there.x);
    const int sounds = f.Plays(SampleId::DeActivate);
    checkpoints()[1]->OnContact(&f.ship);
    EXPECT_EQ(f.Plays(SampleId::DeActivate), sounds) << "already current";

    ASSERT_TRUE(f.game.LoadMap("Two"));
    f.game.StartLevel();
    ASSERT_EQ(checkpoints().size(), 1u);
    EXPECT_EQ(f.ship.currentCheckPoint.Get(), nullptr);
    EXPECT_EQ(f.ship.currentCheckPointTemplate, -1);

    f.game.StartLevel();
    checkpoints()[0]->OnContact(&f.ship);
    f.ship.ResetStats();
    EXPECT_EQ(f.ship.currentCheckPoint.Get(), nullptr);
    EXPECT_EQ(f.ship.currentCheckPointTemplate, -1) << "a new game starts without one";
}

TEST(Station, AlternatesItsModelsEveryFiveTicks)
{
    MissionFixture f;
    auto* station = f.Place<Station>(EntityTypes::Station, {1000, 990});
    std::string seen;
    for (int tick = 0; tick < 20; ++tick) {
        seen += std::string(station->ModelName()) == "Station" ? "a" : "b";
        station->Update();
    }
    EXPECT_EQ(seen, "aaaaabbbbbaaaaabbbbb");
    station->Damage(100.0f);
    station->Die();
    EXPECT_FALSE(station->dead);
}

} // namespace
