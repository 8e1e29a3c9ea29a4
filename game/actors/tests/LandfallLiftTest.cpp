// The lift of the demo's first map: a shot on the valley switch raises it
// 240 units with the ship standing on it, played headless with the real
// models and map.
#include "Game.h"
#include "Mover.h"
#include "Player.h"
#include "Projectile.h"
#include "Random.h"
#include "Switch.h"
#include "testing/HeadlessHost.h"
#include "../../core/world/tests/support/MapTestDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

namespace {

struct Landfall {
    HeadlessHost host{7};
    MapTestDir dir;
    std::unique_ptr<Game> gamePtr;
    Game& game;
    Player& ship;

    Landfall() : gamePtr(std::make_unique<Game>(host)), game(*gamePtr), ship(*game.player)
    {
        std::filesystem::copy_file(std::string(ZELV_DEMO_DATA_DIR) + "/Data/Maps/Landfall.map",
                                   dir.Path("Data/Maps/Landfall.map"));
        EXPECT_TRUE(game.resources.LoadResources(ZELV_DEMO_DATA_DIR));
        game.models = &game.storeModels;
        game.dataRoot = dir.Root();
        game.packMaps = {"Landfall"};
        game.UpdateScreenSize();
        game.input.SetDefaultKeys();
        SeedRandom(1000);
        EXPECT_TRUE(game.NewGameOnMap("Landfall"));
        for (int i = 0; i < 200; ++i) // the spawn
            game.RunTick();
    }

    template <typename T>
    T* Find()
    {
        for (Entity* e : game.entities)
            if (auto* t = dynamic_cast<T*>(e))
                return t;
        return nullptr;
    }

    // The lift's highest horizontal beam: its deck.
    static Beam* Deck(Mover& lift)
    {
        Beam* deck = nullptr;
        for (Beam* b : lift.carriedBeams)
            if (b->a.y == b->b.y && (deck == nullptr || b->a.y < deck->a.y))
                deck = b;
        return deck;
    }

    // The ship standing still on the middle of the deck.
    void StandOn(Beam& deck)
    {
        const Vec2 p{(deck.a.x + deck.b.x) / 2.0f, deck.a.y - 13.0f};
        ship.position = ship.previousPosition = p;
        ship.angle = ship.previousAngle = 0.0f;
        ship.velocity = {};
        ship.landed = true;
        ship.landedBeam = &deck;
        ship.carrier = nullptr;
        ship.PlaceShapes(p.x, p.y);
        ship.RotateShapes(0.0f);
        ship.LeaveSectors();
        ship.EnterSectors();
    }

    // A shot skimming the ground into the switch's button from 30 away.
    void ShootSwitch(Switch& s)
    {
        const HullCircle& button = s.shapes.at(0);
        Projectile* shot = CreateProjectile(0);
        shot->owner = &ship;
        shot->Spawn(button.x - 30.0f, button.y, 5.0f, 0.0f, 90.0f);
        game.playerShots.push_back(shot);
    }
};

TEST(LandfallLift, AShotOnTheValleySwitchRaisesTheLiftAndItsRider)
{
    for (bool fire : {true, false}) {
        SCOPED_TRACE(fire ? "switch shot" : "no shot");
        Landfall run;
        Mover* lift = run.Find<Mover>();
        Switch* button = run.Find<Switch>();
        ASSERT_NE(lift, nullptr);
        ASSERT_NE(button, nullptr);
        EXPECT_FALSE(lift->active);
        Beam* deck = Landfall::Deck(*lift);
        ASSERT_NE(deck, nullptr);
        const float deckY = deck->a.y;
        run.StandOn(*deck);
        if (fire)
            run.ShootSwitch(*button);
        for (int tick = 0; tick < 10; ++tick)
            run.game.RunTick();
        EXPECT_EQ(button->pressed, fire);
        EXPECT_EQ(lift->active, fire);
        EXPECT_TRUE(run.ship.landed);
        EXPECT_EQ(run.ship.carrier.Get(), lift) << "taken on by the contact pass";
        for (int tick = 0; tick < 160; ++tick)
            run.game.RunTick();
        const float rise = deckY - deck->a.y;
        if (fire) {
            EXPECT_GE(rise, 240.0f);
            EXPECT_LE(rise, 242.0f);
            EXPECT_TRUE(lift->waiting) << "at the top";
        } else {
            EXPECT_EQ(rise, 0.0f);
        }
        EXPECT_TRUE(run.ship.landed);
        EXPECT_FALSE(run.ship.dying);
        EXPECT_NEAR(run.ship.position.y, deck->a.y - 13.0f, 0.5f) << "the rider stays on the deck";
    }
}

} // namespace
