// The real Foundry map with the demo data's models: the ship held hovering
// within range of the red turret sees a seeker launched out of the barrel,
// homing on it with an orange ribbon drawn along a curve.
#include "ShipFixture.h"

#include "InputScript.h"
#include "RedTurret.h"
#include "Seeker.h"
#include "Trail.h"
#include "../../core/world/tests/support/MapTestDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace {

struct FoundryRun {
    HeadlessHost host{7};
    MapTestDir dir;
    std::unique_ptr<Game> gamePtr;
    Game& game;

    FoundryRun() : gamePtr(std::make_unique<Game>(host)), game(*gamePtr)
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

} // namespace
