// The real Foundry map with the demo data's models: the ship held hovering
// within range of the red turret sees a seeker launched out of the barrel,
// homing on it with an orange ribbon drawn along a curve; a flight leftward
// across the wrap passes over the laser gate alive.
#include "ShipFixture.h"

#include "InputScript.h"
#include "Laser.h"
#include "RedTurret.h"
#include "Seeker.h"
#include "Trail.h"
#include "../../core/world/tests/support/MapTestDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

namespace {

struct FoundryRun {
    HeadlessHost host{7};
    MapTestDir dir;
    std::unique_ptr<Game> gamePtr;
    Game& game;

    // script: a recorded run to play, or empty for none.
    explicit FoundryRun(const std::string& script = "") : gamePtr(std::make_unique<Game>(host)), game(*gamePtr)
    {
        std::filesystem::copy_file(std::string(ZELV_DEMO_DATA_DIR) + "/Data/Maps/Foundry.map",
                                   dir.Path("Data/Maps/Foundry.map"));
        EXPECT_TRUE(game.resources.LoadResources(ZELV_DEMO_DATA_DIR));
        game.models = &game.storeModels;
        game.dataRoot = dir.Root();
        game.packMaps = {"Foundry"};
        game.viewWidth = 640;
        game.viewHeight = 480;
        game.UpdateScreenSize();
        game.input.SetDefaultKeys();
        SeedRandom(1000);
        if (!script.empty()) {
            InputScript parsed;
            std::string error;
            EXPECT_TRUE(ParseInputScript(script, parsed, error)) << error;
            game.inputScript = std::make_unique<InputScriptPlayer>(std::move(parsed));
        }
        EXPECT_TRUE(game.NewGameOnMap("Foundry"));
    }

    RedTurret* Turret() const
    {
        for (Entity* e : game.entities)
            if (auto* turret = dynamic_cast<RedTurret*>(e))
                return turret;
        return nullptr;
    }
};

TEST(FoundryRun, TheRedTurretsSeekerHomesOnTheHoveringShipWithAnOrangeRibbon)
{
    FoundryRun run;
    Game& game = run.game;
    RedTurret* turret = run.Turret();
    ASSERT_NE(turret, nullptr);
    // Above and to the side of the barrel, 300 away.
    const Vec2 hover = turret->position + Vec2{180.0f, -240.0f};
    Player& ship = *game.player;
    Seeker* seeker = nullptr;
    for (int tick = 0; tick < 600 && seeker == nullptr; ++tick) {
        ship.spawnTimer = 0;
        ship.position = ship.previousPosition = hover;
        ship.velocity = {};
        ship.camera = ship.previousCamera = hover - game.screenCentre;
        game.UpdatePlay();
        game.tickCount += 1;
        for (Projectile* shot : game.enemyShots)
            if (shot->kind == 2 && shot->owner.Get() == turret)
                seeker = static_cast<Seeker*>(shot);
    }
    ASSERT_NE(seeker, nullptr) << "the turret never launched";
    const Vec2 launch = seeker->position;
    EXPECT_LT(Length(launch - turret->position), 30.0f);
    // Let it fly a while, the ship held still.
    float nearest = Length(launch - hover);
    for (int tick = 0; tick < 20 && !seeker->dead; ++tick) {
        ship.position = ship.previousPosition = hover;
        ship.velocity = {};
        game.UpdatePlay();
        game.tickCount += 1;
        if (!seeker->dead)
            nearest = std::min(nearest, Length(seeker->position - hover));
    }
    EXPECT_LT(nearest, Length(launch - hover) - 50.0f) << "the seeker did not close in";

    // The ribbon: orange vertices, and its points bend (not one straight line).
    Trail* trail = nullptr;
    for (std::size_t i = 0; i < game.ribbons.Size(); ++i)
        if (auto* t = dynamic_cast<Trail*>(game.ribbons.At(i)))
            trail = t;
    ASSERT_NE(trail, nullptr);
    ASSERT_GE(trail->particles.size(), 4u);
    const Vec2 a = trail->particles.front().position;
    const Vec2 b = trail->particles.back().position;
    const Vec2 u = Normalize(b.x - a.x, b.y - a.y);
    float off = 0.0f;
    for (const TrailPoint& p : trail->particles)
        off = std::max(off, std::fabs((p.position.x - a.x) * u.y - (p.position.y - a.y) * u.x));
    EXPECT_GT(off, 2.0f) << "the ribbon is a straight line";

    RecordingDrawSink sink;
    RecordingWorldState state;
    game.DrawWorld(0.0f, sink, state);
    int orange = 0;
    for (const auto& v : sink.vertices)
        orange += v.r > 0.0f && std::fabs(v.g / v.r - 0.75f) < 0.02f && v.b == 0.0f ? 1 : 0;
    EXPECT_GT(orange, 4);
}

// Wait out the spawn, turn the nose left and climb away across the wrap (the
// ship appears at x 0): the gate at x 7300 lies on the way, its beam on from
// the start. It is a gate across the road, not a wall to the sky: the ship
// crosses it some 500 units above the road and flies on unharmed.
TEST(FoundryRun, ALeftwardFlightOverTheLaserGatePassesAlive)
{
    FoundryRun run("map Foundry\n200\n13 CW\n200 BOOST\n100\n");
    Game& game = run.game;
    Player& ship = *game.player;
    Laser* gate = nullptr;
    for (Entity* e : game.entities)
        if (auto* laser = dynamic_cast<Laser*>(e); laser != nullptr && std::string(laser->name) == "GATE")
            gate = laser;
    ASSERT_NE(gate, nullptr);
    const int lives = ship.lives;
    bool crossed = false;
    float crossingHeight = 0.0f;
    bool gateOnAtCrossing = false;
    for (int tick = 0; tick < 1000 && !game.inputScript->Finished(); ++tick) {
        const float before = ship.position.x;
        game.RunTick();
        ASSERT_FALSE(ship.dying) << "the ship died at tick " << tick << " at " << ship.position.x << ","
                                 << ship.position.y << " (gate at " << gate->position.x << "," << gate->position.y << ")";
        // Leftward, away from the wrap: x falls through the gate's x.
        if (!crossed && before > gate->position.x && ship.position.x <= gate->position.x &&
            before - ship.position.x < 100.0f) {
            crossed = true;
            crossingHeight = gate->position.y - ship.position.y;
            gateOnAtCrossing = gate->on && gate->hasBeam;
        }
    }
    EXPECT_TRUE(game.inputScript->Finished());
    ASSERT_TRUE(crossed) << "the ship never reached the gate; it ended at " << ship.position.x;
    EXPECT_TRUE(gateOnAtCrossing) << "the beam was off as the ship passed";
    EXPECT_GT(crossingHeight, 200.0f);
    EXPECT_EQ(ship.lives, lives);
    EXPECT_GT(ship.hull, 0.0f);
}

} // namespace
