#include "support/MapRecords.h"
#include "Entity.h"
#include "Game.h"
#include "MapWriter.h"
#include "Mover.h"
#include "Player.h"
#include "Rotator.h"
#include "support/MapTestDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// Records the calls the level start makes, and whether the ship counted as
// spawning at each update.
struct ProbeLog {
    std::vector<std::string> calls;
};

class Probe : public Entity {
public:
    explicit Probe(std::shared_ptr<ProbeLog> log) : log(std::move(log)) { type = 0; }

    void Spawn(float x, float y, float a) override
    {
        SpawnPose(x, y, a);
        log->calls.push_back("Spawn");
    }
    void Update() override
    {
        const bool spawning = theGame->player->spawnTimer > 0;
        log->calls.push_back(spawning ? "Update(spawning)" : "Update(ship live)");
    }
    void Draw(float) override {}
    void Die() override { MarkDead(); }
    Entity* Clone() const override { return new Probe(*this); }
    void PostLoad() override { log->calls.push_back("PostLoad"); }

private:
    std::shared_ptr<ProbeLog> log;
};

// Records, at its link, how many actors the level held and which beams it
// was handed.
class LinkProbe : public Probe {
public:
    using Probe::Probe;
    std::vector<std::size_t>* linkedWith = nullptr;
    const std::vector<Beam>** beamsSeen = nullptr;
    void Link(std::vector<Beam>& liveBeams, EntityList& entities) override
    {
        linkedWith->push_back(entities.Size());
        *beamsSeen = &liveBeams;
    }
    Entity* Clone() const override { return new LinkProbe(*this); }
};

// Beams from x -500 to 1500 and y -200 to 800, so the build has to move the
// world right by 500 and down by 1200.
MapContents Level()
{
    MapContents map;
    map.beams = {FlatBeam(-500, 800, 1500, 800), FlatBeam(-500, -200, -500, 800), FlatBeam(1500, 100, 1400, 700)};
    map.actors = {Actor(8, 100, 790), Actor(3, 300, 790), Actor(14, 600, 790)};
    MapMover mover;
    mover.position = {1000, 700};
    mover.halfWidth = 60;
    mover.halfHeight = 10;
    map.movers = {mover};
    return map;
}

struct LevelFixture : ::testing::Test {
    MapTestDir dir;
    CapturedLog log{dir};
    Game game;

    LevelFixture() { game.dataRoot = dir.Root(); }

    void Load(const std::string& name, const MapContents& map)
    {
        ASSERT_TRUE(WriteMapFile(dir.Path("Data/Maps/" + name + ".map").string(), map));
        ASSERT_TRUE(game.LoadMap(name.c_str(), log.Get()));
    }
};

TEST_F(LevelFixture, BuildShiftsTheWorldAndSpawnsTheShipAtItsStart)
{
    Load("Level", Level());
    game.StartLevel(log.Get());

    ASSERT_EQ(game.map.liveBeams.size(), 3u);
    float minX = INFINITY, maxX = -INFINITY, minY = INFINITY, maxY = -INFINITY;
    for (const Beam& beam : game.map.liveBeams) {
        for (const Vec2& p : {beam.a, beam.b}) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
    }
    EXPECT_EQ(minX, 0.0f);
    EXPECT_EQ(maxX, game.sectorGrid.worldWidth);
    EXPECT_EQ(game.sectorGrid.worldWidth, 2000.0f);
    EXPECT_EQ(minY, 1000.0f);
    EXPECT_EQ(maxY, game.sectorGrid.worldHeight - 1000.0f);
    // The file's beams stay where the file put them.
    EXPECT_EQ(game.map.mapBeams[0].a, (Vec2{-500, 800}));

    ASSERT_EQ(game.entities.Size(), 4u);
    EXPECT_EQ(game.entities.Front()->position, (Vec2{600, 1990}));
    // The mover's box entered the grid when the level was built.
    for (const Entity* entity : game.entities) {
        if (entity->type == EntityTypes::Mover) {
            EXPECT_FALSE(entity->sectors.empty());
        }
    }

    EXPECT_EQ(game.player->position, (Vec2{0, 400}));
    EXPECT_EQ(game.player->spawnTimer, 200);
    EXPECT_EQ(game.player->zoom, 2.0f);
    EXPECT_EQ(game.parallaxOffset, (Vec2{-game.player->camera.x, -game.player->camera.y}));
    EXPECT_TRUE(log.Contains("Total MapBeams:3\n"));
    EXPECT_EQ(game.tickLength, 0.02f);
}

TEST_F(LevelFixture, ActorsUpdateTwiceWithPostLoadBetweenWhileTheShipSpawns)
{
    Load("Level", Level());
    auto probeLog = std::make_shared<ProbeLog>();
    game.map.entityTemplates.push_back(std::make_unique<Probe>(probeLog));
    game.player->spawnTimer = 0; // as left by a finished spawn of the last level
    game.StartLevel(log.Get());
    EXPECT_EQ(probeLog->calls,
              (std::vector<std::string>{"Spawn", "Update(spawning)", "PostLoad", "Update(spawning)"}));
    // The template itself is never spawned or updated: only its clone is.
    EXPECT_EQ(game.entities.Size(), 5u);
    EXPECT_TRUE(game.map.entityTemplates.back()->shapes.empty());
}

TEST_F(LevelFixture, EveryActorIsLinkedOnceAfterAllAreSpawned)
{
    Load("Level", Level());
    std::vector<std::size_t> linkedWith;
    const std::vector<Beam>* beamsSeen = nullptr;
    for (int i = 0; i < 2; ++i) {
        auto probe = std::make_unique<LinkProbe>(std::make_shared<ProbeLog>());
        probe->linkedWith = &linkedWith;
        probe->beamsSeen = &beamsSeen;
        game.map.entityTemplates.push_back(std::move(probe));
    }
    game.StartLevel(log.Get());
    // Four actors of the file and the two probes: both links see all six.
    EXPECT_EQ(linkedWith, (std::vector<std::size_t>{6u, 6u}));
    EXPECT_EQ(beamsSeen, &game.map.liveBeams);
}

TEST_F(LevelFixture, RestartRebuildsDestroyedActorsAndMovedBeams)
{
    Load("Level", Level());
    game.StartLevel(log.Get());
    const std::vector<Beam> startBeams = game.map.liveBeams;
    std::vector<Vec2> startPositions;
    for (const Entity* entity : game.entities)
        startPositions.push_back(entity->position);

    // Play damage: an actor destroyed and deleted, a beam moved, the ship
    // standing on a live beam and carried by the mover.
    game.entities.Front()->dead = true;
    game.entities.Pass();
    ASSERT_EQ(game.entities.Size(), 3u);
    game.map.liveBeams[0].a.x += 77.0f;
    game.player->landed = true;
    game.player->landedBeam = &game.map.liveBeams[0];
    Entity* mover = nullptr;
    for (Entity* entity : game.entities)
        if (entity->type == EntityTypes::Mover)
            mover = entity;
    ASSERT_NE(mover, nullptr);
    game.player->carrier = mover;

    game.StartLevel(log.Get());
    ASSERT_EQ(game.entities.Size(), 4u);
    std::size_t i = 0;
    for (const Entity* entity : game.entities)
        EXPECT_EQ(entity->position, startPositions[i++]);
    ASSERT_EQ(game.map.liveBeams.size(), startBeams.size());
    for (std::size_t b = 0; b < startBeams.size(); ++b) {
        EXPECT_EQ(game.map.liveBeams[b].a, startBeams[b].a);
        EXPECT_EQ(game.map.liveBeams[b].b, startBeams[b].b);
    }
    EXPECT_EQ(game.player->landedBeam, nullptr);
    EXPECT_FALSE(game.player->landed);
    EXPECT_FALSE(game.player->carrier);
}

TEST_F(LevelFixture, ClearingTakesEveryLiveActorAndTheGrid)
{
    Load("Level", Level());
    game.StartLevel(log.Get());
    log.Clear();
    game.ClearLevel(log.Get());
    EXPECT_TRUE(game.entities.Empty());
    EXPECT_FALSE(game.sectorGrid.HasCells());
    EXPECT_EQ(game.map.entityTemplates.size(), 4u);
    EXPECT_EQ(game.map.liveBeams.size(), 3u);
    EXPECT_EQ(log.Text().rfind("Clearing ents\n", 0), 0u) << log.Text();
}

TEST_F(LevelFixture, MapWithoutBeamsOrActorsStarts)
{
    Load("Void", MapContents{});
    game.StartLevel(log.Get());
    EXPECT_TRUE(game.entities.Empty());
    EXPECT_TRUE(game.map.liveBeams.empty());
    EXPECT_EQ(game.player->position, (Vec2{0, 400}));
    EXPECT_TRUE(log.Contains("Total MapBeams:0\n"));
}

// The demo data set, when the build generated it: every map loads and
// starts, each actor record logged once as "Created ...".
TEST(DemoMaps, EveryDemoMapLoadsAndStarts)
{
    const std::filesystem::path maps = std::filesystem::path(ZELV_DEMO_DATA_DIR) / "Data" / "Maps";
    if (!std::filesystem::exists(maps / "Splash.map"))
        GTEST_SKIP() << "no demo data in " << maps;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(maps))
        if (entry.path().extension() == ".map")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    ASSERT_FALSE(names.empty());

    MapTestDir dir;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        std::filesystem::copy_file(maps / (name + ".map"), dir.Path("Data/Maps/" + name + ".map"));
        CapturedLog log(dir);
        Game game;
        game.dataRoot = dir.Root();
        ASSERT_TRUE(game.LoadMap(name.c_str(), log.Get())) << log.Text();
        EXPECT_TRUE(log.Contains("Loaded map " + name + ".map\n"));
        std::size_t created = 0;
        for (std::size_t at = log.Text().find("Created "); at != std::string::npos;
             at = log.Text().find("Created ", at + 1))
            ++created;
        std::size_t silent = 0; // stations and debris are made without a line
        for (const auto& t : game.map.entityTemplates)
            silent += (t->type == EntityTypes::Station || t->type == EntityTypes::Debris) ? 1 : 0;
        EXPECT_EQ(created + silent, game.map.entityTemplates.size());
        EXPECT_FALSE(log.Contains("Failed to Create entity!"));

        game.StartLevel(log.Get());
        EXPECT_EQ(game.entities.Size(), game.map.entityTemplates.size());
        EXPECT_EQ(game.player->position, (Vec2{0, 400}));
        if (!game.map.liveBeams.empty()) {
            // Platforms carry and turn their beams from the warm-up on; every
            // other beam keeps the place the build gave it.
            std::set<const Beam*> carried;
            for (Entity* e : game.entities) {
                if (auto* r = dynamic_cast<Rotator*>(e))
                    carried.insert(r->carriedBeams.begin(), r->carriedBeams.end());
                if (auto* m = dynamic_cast<Mover*>(e))
                    carried.insert(m->carriedBeams.begin(), m->carriedBeams.end());
            }
            float minX = INFINITY, minY = INFINITY;
            for (std::size_t i = 0; i < game.map.liveBeams.size(); ++i) {
                const Beam& beam = game.map.liveBeams[i];
                if (carried.count(&beam) != 0)
                    continue;
                EXPECT_EQ(beam.a, game.map.mapBeams[i].a + game.sectorGrid.offset);
                minX = std::min({minX, beam.a.x, beam.b.x});
                minY = std::min({minY, beam.a.y, beam.b.y});
            }
            EXPECT_GE(minX, 0.0f);
            EXPECT_GE(minY, 1000.0f);
            if (carried.empty()) {
                EXPECT_EQ(minX, 0.0f);
                EXPECT_EQ(minY, 1000.0f);
            }
        }
    }
    EXPECT_NE(std::find(names.begin(), names.end(), "Splash"), names.end());
}

} // namespace
