#include "ShipFixture.h"

#include "../../core/world/tests/support/MapTestDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

namespace {

struct LevelEnd : ShipFixture {
    LevelEnd()
    {
        StartFlatLevel(2000.0f, 8);
        ship.score = 1234;
        ship.lives = 2;
        ship.nextExtraLife = 40000;
        PlaceShip({700.0f, 5.0f}, 30.0f); // above the top of the map
        host.audio.calls.clear();
    }
};

TEST(PlayerLevelEnd, LeavingWithoutTheCountdownRestartsTheMapAfter300Ticks)
{
    LevelEnd f;
    for (int i = 0; i < 299; ++i)
        f.ShipTick();
    EXPECT_TRUE(f.game.missionState.aborted);
    EXPECT_EQ(f.ship.endTimer, 1);
    EXPECT_EQ(f.ship.position, (Vec2{700.0f, 5.0f})); // hangs where it left
    f.ShipTick();
    EXPECT_FALSE(f.game.missionState.aborted);
    EXPECT_EQ(f.ship.position, (Vec2{0.0f, 400.0f}));
    EXPECT_EQ(f.ship.angle, 7.0f); // the level end's turn runs once more
    EXPECT_EQ(f.ship.spawnTimer, 200);
    EXPECT_EQ(f.ship.score, 1234);
    EXPECT_EQ(f.ship.lives, 2);
    EXPECT_EQ(f.ship.nextExtraLife, 40000);
}

TEST(PlayerLevelEnd, ACompletedMissionTalliesToTheSoundOfItsTimeline)
{
    LevelEnd f;
    f.game.selfDestruct.running = true;
    std::vector<int> ui1;
    std::vector<int> ui2;
    int fadeAt = -1;
    for (int i = 0; i < 699; ++i) {
        const int ones = f.Plays(SampleId::ui1);
        const int twos = f.Plays(SampleId::ui2);
        const std::size_t fades = f.game.fades.size();
        f.ShipTick();
        if (f.Plays(SampleId::ui1) > ones)
            ui1.push_back(f.ship.endTimer);
        if (f.Plays(SampleId::ui2) > twos)
            ui2.push_back(f.ship.endTimer);
        if (f.game.fades.size() > fades)
            fadeAt = f.ship.endTimer;
    }
    EXPECT_TRUE(f.game.missionState.completed);
    EXPECT_EQ(f.ship.endTimer, 1);
    EXPECT_EQ(ui2, (std::vector<int>{650, 600, 550, 500, 450}));
    std::vector<int> tens;
    for (int t = 350; t >= 200; t -= 10)
        tens.push_back(t);
    EXPECT_EQ(ui1, tens);
    EXPECT_EQ(fadeAt, 100);
    // Immune all along, even to the planet's detonation.
    f.game.selfDestruct.detonated = true;
    f.ship.Damage(100.0f);
    EXPECT_EQ(f.ship.hull, 100.0f);
}

TEST(PlayerLevelEnd, TheTallyIsPaidOnceAndTheLastMapEndsThePack)
{
    LevelEnd f;
    MapTestDir empty;
    f.game.dataRoot = empty.Root();
    f.game.packMaps = {"Landfall", "Missing1", "Missing2"};
    f.game.mapIndex = 0;
    f.game.selfDestruct.running = true;
    f.game.bonusTime = 7500;
    f.ship.score = 0;
    f.ship.hull = 62.5f;
    f.ship.fuel = 180.99f;
    f.ship.scientistsRescued = 2;
    for (int i = 0; i < 700; ++i)
        f.ShipTick();
    // 7500 + 10 * (62 + 20 + 180); both following maps fail in the same tick.
    EXPECT_EQ(f.ship.score, 10120);
    EXPECT_EQ(f.game.mapIndex, 3);
    EXPECT_EQ(f.game.mode, GameMode::PackEnd);
}

TEST(PlayerLevelEnd, AFailedNextMapIsSkippedForTheOneAfter)
{
    LevelEnd f;
    MapTestDir maps;
    std::filesystem::copy_file(std::string(ZELV_DEMO_DATA_DIR) + "/Data/Maps/Landfall.map",
                               maps.Path("Data/Maps/Landfall.map"));
    f.game.dataRoot = maps.Root();
    f.game.packMaps = {"Core", "Missing", "Landfall"};
    f.game.selfDestruct.running = true;
    f.game.bonusTime = 0;
    f.ship.score = 0;
    f.ship.hull = 50.0f;
    f.ship.fuel = 0.0f;
    for (int i = 0; i < 700; ++i)
        f.ShipTick();
    EXPECT_EQ(f.ship.score, 500);
    EXPECT_EQ(f.game.mapIndex, 2);
    EXPECT_STREQ(f.game.mapName, "Landfall");
    EXPECT_EQ(f.game.mode, GameMode::Play);
    EXPECT_FALSE(f.game.missionState.completed);
    f.ShipTick();
    EXPECT_EQ(f.ship.score, 500);
}

TEST(PlayerLevelEnd, ExtraLivesComeOneATickEveryTwentyThousand)
{
    ShipFixture f;
    f.StartFlatLevel(2000.0f, 8);
    f.PlaceShip({1000.0f, 500.0f}, 0.0f);
    f.ship.score = 19990;
    f.ship.AddScore(25);
    f.ShipTick();
    EXPECT_EQ(f.ship.lives, 4);
    EXPECT_EQ(f.ship.nextExtraLife, 40000);
    EXPECT_EQ(f.Plays(SampleId::ExtraLife), 1);

    f.ship.score = 61000;
    f.ShipTick();
    EXPECT_EQ(f.ship.lives, 5);
    EXPECT_EQ(f.ship.nextExtraLife, 60000);
    f.ShipTick();
    EXPECT_EQ(f.ship.lives, 6);
    EXPECT_EQ(f.ship.nextExtraLife, 80000);
    f.ShipTick();
    EXPECT_EQ(f.ship.lives, 6);
}

TEST(PlayerLevelEnd, TheLastThresholdStopsAtTheInt32Limit)
{
    ShipFixture f;
    f.StartFlatLevel(2000.0f, 8);
    f.PlaceShip({1000.0f, 500.0f}, 0.0f);
    const std::int32_t top = std::numeric_limits<std::int32_t>::max();
    f.ship.nextExtraLife = top - 5;
    f.ship.AddScore(std::int64_t{top});
    EXPECT_EQ(f.ship.score, top); // the adder stops at the limit
    for (int i = 0; i < 5; ++i)
        f.ShipTick();
    EXPECT_EQ(f.ship.lives, 4);
    EXPECT_EQ(f.ship.nextExtraLife, top);
}

} // namespace
