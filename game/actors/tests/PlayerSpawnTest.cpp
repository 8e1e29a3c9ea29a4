#include "ShipFixture.h"

#include "SpawnInParticles.h"
#include "ThrustParticles.h"

#include <gtest/gtest.h>

namespace {

int Count(const std::vector<std::string>& calls, const std::string& call)
{
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

TEST(PlayerSpawn, StartsTheLoopsSilentTheTeleportCentredAndTheEffects)
{
    ShipFixture f;
    f.StartFlatLevel(2000.0f, 8);
    f.host.audio.calls.clear();
    f.game.particles.Clear();
    f.game.fades.clear();
    f.ship.Spawn(0, 0, 0);
    const auto& calls = f.host.audio.calls;
    const std::string engine = "chunk#" + std::to_string(Index(SampleId::Engine));
    const std::string shield = "chunk#" + std::to_string(Index(SampleId::PlayerShield));
    EXPECT_EQ(Count(calls, "PlayChannelTimed(0," + engine + ",-1,-1)"), 1);
    EXPECT_EQ(Count(calls, "PlayChannelTimed(1," + shield + ",-1,-1)"), 1);
    EXPECT_EQ(Count(calls, "Volume(0,0)"), 1);
    EXPECT_EQ(Count(calls, "Volume(1,0)"), 1);
    EXPECT_EQ(f.Plays(SampleId::Teleport), 1);
    EXPECT_EQ(Count(calls, "LoadMusic(Data/Sound/VovadiVivuz.mp3)"), 1); // in play
    ASSERT_EQ(f.game.particles.Size(), 2u);
    EXPECT_EQ(f.ship.thrustParticles.Get(), f.game.particles.At(0));
    EXPECT_NE(dynamic_cast<SpawnInParticles*>(f.game.particles.At(1)), nullptr);
    ASSERT_EQ(f.game.fades.size(), 1u);
    EXPECT_EQ(f.game.fades[0]->startAlpha, 1.0f);
    EXPECT_EQ(f.game.fades[0]->endAlpha, 0.0f);

    // On the title the spawn leaves the music alone.
    f.game.mode = GameMode::Title;
    f.host.audio.calls.clear();
    f.ship.Spawn(0, 0, 0);
    EXPECT_EQ(Count(f.host.audio.calls, "LoadMusic(Data/Sound/VovadiVivuz.mp3)"), 0);
}

TEST(PlayerSpawn, TheZoomSettlesAfterTheSpawnTime)
{
    ShipFixture f;
    f.StartFlatLevel(2000.0f, 8);
    EXPECT_EQ(f.ship.zoom, 2.0f);
    EXPECT_EQ(f.ship.spawnTimer, 200);
    for (int i = 0; i < 199; ++i)
        f.ShipTick();
    EXPECT_EQ(f.ship.zoom, 2.0f);
    f.ShipTick(); // the spawn time is over: 0.01 a tick
    EXPECT_FLOAT_EQ(f.ship.zoom, 1.99f);
    for (int i = 0; i < 130; ++i)
        f.ShipTick();
    EXPECT_EQ(f.ship.zoom, 0.75f);
}

TEST(PlayerSpawn, TheLeavingFlagIsSetAboveThreeHundredFifty)
{
    ShipFixture f;
    f.StartFlatLevel(2000.0f, 8);
    f.game.gravity = {};
    f.PlaceShip({500.0f, 349.0f}, 0.0f);
    f.ShipTick();
    EXPECT_TRUE(f.game.missionState.leavingOrbit);
    f.PlaceShip({500.0f, 351.0f}, 0.0f);
    f.ShipTick();
    EXPECT_FALSE(f.game.missionState.leavingOrbit);
}

} // namespace
