#include "support/MapRecords.h"
#include "Brick.h"
#include "Emitter.h"
#include "Entity.h"
#include "Game.h"
#include "Laser.h"
#include "MapFile.h"
#include "MapWriter.h"
#include "Mover.h"
#include "Player.h"
#include "Rotator.h"
#include "SaveGame.h"
#include "Switch.h"
#include "Target.h"
#include "TriggerAction.h"
#include "support/MapTestDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <limits>

namespace {

MapContents EveryKind()
{
    MapContents map;
    map.beams = {FlatBeam(0, 0, 1000, 0), FlatBeam(1000, 0, 1000, 500)};
    MapActor sw = Actor(6, 10, 20, 30);
    sw.name = "Door";
    MapActor laser = Actor(7, 11, 21, 31);
    laser.name = "Zap";
    laser.onTime = 1.5f;
    laser.offTime = 2.5f;
    laser.startDelay = 0.25f;
    laser.startsOn = true;
    MapActor emitter = Actor(15, 12, 22, 32);
    emitter.name = "Puff";
    emitter.onTime = 3.5f;
    emitter.offTime = 4.5f;
    emitter.startsOn = true;
    MapActor brick = Actor(16, 13, 23, 33);
    brick.halfWidth = 40;
    brick.halfHeight = 24;
    map.actors = {sw, laser, Actor(21, 1, 1, 1), emitter, brick, Actor(11, 14, 24, 34)};
    map.targets = {{{300, 400}, "Door"}};
    MapRotator rotator;
    rotator.position = {500, 100};
    rotator.radius = 80;
    rotator.name = "Spin";
    rotator.stepAngle = 45;
    map.rotators = {rotator};
    MapMover mover;
    mover.position = {700, 200};
    mover.halfWidth = 50;
    mover.halfHeight = 20;
    mover.name = "Lift";
    mover.travelTime = 4;
    map.movers = {mover};
    MapTrigger trigger;
    trigger.position = {900, 300};
    trigger.halfWidth = 30;
    trigger.halfHeight = 40;
    trigger.activateName = "Lift";
    trigger.once = true;
    map.triggers = {trigger};
    return map;
}

struct LoaderFixture : ::testing::Test {
    MapTestDir dir;
    CapturedLog log{dir};
    Game game;

    LoaderFixture() { game.dataRoot = dir.Root(); }

    void WriteMap(const std::string& name, const MapContents& map)
    {
        ASSERT_TRUE(WriteMapFile(dir.Path("Data/Maps/" + name + ".map").string(), map));
    }
    void WriteRaw(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        dir.WriteBytes("Data/Maps/" + name + ".map", bytes);
    }
    template <typename T>
    T& TemplateAt(std::size_t i)
    {
        auto* t = dynamic_cast<T*>(game.map.entityTemplates.at(i).get());
        EXPECT_NE(t, nullptr) << "template " << i;
        return *t;
    }
};

TEST_F(LoaderFixture, EveryRecordBecomesATemplateWithItsFields)
{
    WriteMap("Every", EveryKind());
    ASSERT_TRUE(game.LoadMap("Every", log.Get()));

    EXPECT_EQ(log.Text(), "Created Switch.\nCreated Laser.\nFailed to Create entity!\nCreated TriggerAction.\n"
                          "Created Bricks.\nCreated Tree.\nCreated Target.\nCreated Rotator.\nCreated Mover.\n"
                          "Created TriggerAction.\nLoaded map Every.map\n");
    EXPECT_STREQ(game.mapName, "Every");
    ASSERT_EQ(game.map.mapBeams.size(), 2u);
    EXPECT_EQ(game.map.mapBeams[1].id, 1);
    ASSERT_EQ(game.map.entityTemplates.size(), 9u);

    const Switch& sw = TemplateAt<Switch>(0);
    EXPECT_EQ(sw.type, 6);
    EXPECT_EQ(sw.position, (Vec2{10, 20}));
    EXPECT_EQ(sw.angle, 30.0f);
    EXPECT_STREQ(sw.name, "Door");
    const Laser& laser = TemplateAt<Laser>(1);
    EXPECT_STREQ(laser.name, "Zap");
    EXPECT_EQ(laser.onTime, 1.5f);
    EXPECT_EQ(laser.offTime, 2.5f);
    EXPECT_EQ(laser.startDelay, 0.25f);
    EXPECT_TRUE(laser.startsOn);
    const Emitter& emitter = TemplateAt<Emitter>(2);
    EXPECT_EQ(emitter.type, 15);
    EXPECT_STREQ(emitter.name, "Puff");
    EXPECT_EQ(emitter.onTime, 3.5f);
    EXPECT_EQ(emitter.offTime, 4.5f);
    EXPECT_TRUE(emitter.startsOn);
    const Brick& brick = TemplateAt<Brick>(3);
    EXPECT_EQ(brick.halfWidth, 40.0f);
    EXPECT_EQ(brick.halfHeight, 24.0f);
    EXPECT_EQ(brick.position, (Vec2{13, 23}));
    EXPECT_EQ(game.map.entityTemplates[4]->type, 11);
    const Target& target = TemplateAt<Target>(5);
    EXPECT_EQ(target.point, (Vec2{300, 400}));
    EXPECT_EQ(target.position, (Vec2{300, 400}));
    EXPECT_STREQ(target.name, "Door");
    const Rotator& rotator = TemplateAt<Rotator>(6);
    EXPECT_EQ(rotator.position, (Vec2{500, 100}));
    EXPECT_EQ(rotator.angle, 0.0f);
    EXPECT_EQ(rotator.def.area.radius, 80.0f);
    EXPECT_STREQ(rotator.def.name, "Spin");
    EXPECT_STREQ(rotator.def.targetName, "EMPTY");
    EXPECT_EQ(rotator.def.stepAngle, 45);
    const Mover& mover = TemplateAt<Mover>(7);
    EXPECT_EQ(mover.position, (Vec2{700, 200}));
    EXPECT_EQ(mover.def.area.min, (Vec2{650, 180}));
    EXPECT_STREQ(mover.def.name, "Lift");
    EXPECT_EQ(mover.def.travelTime, 4.0f);
    const TriggerAction& trigger = TemplateAt<TriggerAction>(8);
    EXPECT_EQ(trigger.type, 103);
    EXPECT_EQ(trigger.position, (Vec2{900, 300}));
    EXPECT_STREQ(trigger.def.activateName, "Lift");
    EXPECT_TRUE(trigger.def.once);

    // Templates are never spawned: nothing has health or a hull yet.
    for (const auto& t : game.map.entityTemplates) {
        EXPECT_TRUE(t->shapes.empty());
        EXPECT_TRUE(t->sectors.empty());
    }
    EXPECT_EQ(game.player->respawnPoint.x, 0.0f);
    EXPECT_EQ(game.player->respawnPoint.y, 400.0f);
    EXPECT_EQ(game.bonusTime, 9999);
}

TEST_F(LoaderFixture, OrdinaryMapsSaveTheGameSplashAndHomeDoNot)
{
    MapContents empty;
    for (const char* name : {"Splash", "SPLASH", "splash", "home", "HoMe"}) {
        WriteMap(name, empty);
        ASSERT_TRUE(game.LoadMap(name, log.Get())) << name;
        EXPECT_FALSE(SaveGameExists(dir.Root())) << name;
    }
    std::strcpy(game.packName, "Default");
    game.mapIndex = 2;
    game.player->score = 4321;
    game.player->lives = 2;
    WriteMap("Level3", empty);
    ASSERT_TRUE(game.LoadMap("Level3", log.Get()));
    const std::vector<std::uint8_t> saved = dir.ReadBytes("Data/SaveGame.sav");
    ASSERT_EQ(saved.size(), 398u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&saved[260])), "Level3");
    EXPECT_EQ(saved[256], 2);
}

TEST_F(LoaderFixture, AllSectionsEmptyLoadsAnEmptyMap)
{
    WriteMap("Void", MapContents{});
    ASSERT_TRUE(game.LoadMap("Void", log.Get()));
    EXPECT_EQ(log.Text(), "Loaded map Void.map\n");
    EXPECT_TRUE(game.map.mapBeams.empty());
    EXPECT_TRUE(game.map.entityTemplates.empty());
}

TEST_F(LoaderFixture, DamagedMapsFailAndKeepThePreviousMap)
{
    WriteMap("Good", EveryKind());
    ASSERT_TRUE(game.LoadMap("Good", log.Get()));
    const Entity* firstTemplate = game.map.entityTemplates.front().get();

    const std::vector<std::uint8_t> good = EncodeMap(EveryKind());
    std::vector<std::uint8_t> truncated(good.begin(), good.end() - 10);
    std::vector<std::uint8_t> hugeCount = good;
    const std::int32_t huge = std::numeric_limits<std::int32_t>::max();
    std::memcpy(&hugeCount[0], &huge, 4);
    MapContents nanMap = EveryKind();
    nanMap.movers[0].position.y = std::numeric_limits<float>::quiet_NaN();

    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"Truncated", truncated, "trigger record"},
        {"Huge", hugeCount, "do not fit"},
        {"NotANumber", EncodeMap(nanMap), "not a finite number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteRaw(c.name, c.bytes);
        log.Clear();
        EXPECT_FALSE(game.LoadMap(c.name, log.Get()));
        EXPECT_EQ(log.Text().rfind("Failed to load map " + std::string(c.name) + ".map\n", 0), 0u) << log.Text();
        EXPECT_NE(log.Text().find(c.reason), std::string::npos) << log.Text();
        EXPECT_EQ(log.Text().find("Created"), std::string::npos);
        EXPECT_STREQ(game.mapName, "Good");
        EXPECT_EQ(game.map.mapBeams.size(), 2u);
        ASSERT_EQ(game.map.entityTemplates.size(), 9u);
        EXPECT_EQ(game.map.entityTemplates.front().get(), firstTemplate);
    }

    log.Clear();
    EXPECT_FALSE(game.LoadMap("Missing", log.Get()));
    EXPECT_EQ(log.Text().rfind("Failed to load map Missing.map\nCannot open ", 0), 0u) << log.Text();
    EXPECT_FALSE(game.LoadMap(nullptr, log.Get()));
    EXPECT_EQ(game.map.entityTemplates.size(), 9u);
}

// What stands at a map's path but is no map-sized file is refused unread:
// one line names the path and why, and the previous map stays.
TEST_F(LoaderFixture, DirectoriesAndOversizedFilesAreRefusedUnread)
{
    WriteMap("Good", EveryKind());
    ASSERT_TRUE(game.LoadMap("Good", log.Get()));
    std::filesystem::create_directory(dir.Path("Data/Maps/Folder.map"));
    WriteRaw("Sparse", {});
    std::filesystem::resize_file(dir.Path("Data/Maps/Sparse.map"), std::uintmax_t{1} << 40);
    WriteRaw("JustOver", {});
    std::filesystem::resize_file(dir.Path("Data/Maps/JustOver.map"), kMapFileSizeCap + 1);

    for (const char* name : {"Folder", "Sparse", "JustOver"}) {
        SCOPED_TRACE(name);
        log.Clear();
        EXPECT_FALSE(game.LoadMap(name, log.Get()));
        const std::string path = dir.Path("Data/Maps/" + std::string(name) + ".map").string();
        const std::string text = log.Text();
        EXPECT_EQ(text.rfind("Failed to load map " + std::string(name) + ".map\nRefused " + path + ": ", 0), 0u)
            << text;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2) << text;
        EXPECT_STREQ(game.mapName, "Good");
        EXPECT_EQ(game.map.entityTemplates.size(), 9u);
    }

    // A file of exactly the cap is still read (all zeros: six empty sections).
    std::filesystem::resize_file(dir.Path("Data/Maps/JustOver.map"), kMapFileSizeCap);
    EXPECT_TRUE(game.LoadMap("JustOver", log.Get())) << log.Text();
}

TEST_F(LoaderFixture, MapNamesOfSixtyFourCharactersAreRefused)
{
    const std::string longest(63, 'm');
    const std::string tooLong(64, 'm');
    WriteMap(longest, MapContents{});
    WriteMap(tooLong, MapContents{});
    EXPECT_TRUE(game.LoadMap(longest.c_str(), log.Get()));
    EXPECT_EQ(std::strlen(game.mapName), 63u);
    log.Clear();
    EXPECT_FALSE(game.LoadMap(tooLong.c_str(), log.Get()));
    EXPECT_NE(log.Text().find("longer than 63 characters"), std::string::npos) << log.Text();
    EXPECT_EQ(game.mapName, longest);
}

TEST_F(LoaderFixture, TheMapNameItselfCanBeLoaded)
{
    WriteMap("Again", EveryKind());
    std::strcpy(game.mapName, "Again");
    EXPECT_TRUE(game.LoadMap(game.mapName, log.Get()));
    EXPECT_STREQ(game.mapName, "Again");
    EXPECT_EQ(game.map.entityTemplates.size(), 9u);
}

} // namespace
