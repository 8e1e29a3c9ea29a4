#pragma once

// A headless game on the demo data: the real models, samples and the named
// maps in a scratch folder, pack maps "Landfall" then "Caverns", a 640 x 480
// view, default keys and seed 1000.
#include "Game.h"
#include "Random.h"
#include "testing/HeadlessHost.h"
#include "support/MapTestDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

inline void PrepareDemoGame(Game& game, const MapTestDir& dir, std::initializer_list<const char*> maps)
{
    for (const char* map : maps)
        std::filesystem::copy_file(std::string(ZELV_DEMO_DATA_DIR) + "/Data/Maps/" + map + ".map",
                                   dir.Path(std::string("Data/Maps/") + map + ".map"));
    EXPECT_TRUE(game.resources.LoadResources(ZELV_DEMO_DATA_DIR));
    game.models = &game.storeModels;
    game.dataRoot = dir.Root();
    game.packMaps = {"Landfall", "Caverns"};
    game.viewWidth = 640;
    game.viewHeight = 480;
    game.UpdateScreenSize();
    game.input.SetDefaultKeys();
    SeedRandom(1000);
}

// One demo map loaded and started on its own in a headless game (seed 1000),
// with the real models; a 640 x 480 view first when asked.
struct DemoLevel {
    HeadlessHost host{7};
    MapTestDir dir;
    std::unique_ptr<Game> gamePtr;
    Game& game;

    explicit DemoLevel(const std::string& name, bool sizedView = false)
        : gamePtr(std::make_unique<Game>(host)), game(*gamePtr)
    {
        std::filesystem::copy_file(std::string(ZELV_DEMO_DATA_DIR) + "/Data/Maps/" + name + ".map",
                                   dir.Path("Data/Maps/" + name + ".map"));
        EXPECT_TRUE(game.resources.LoadResources(ZELV_DEMO_DATA_DIR));
        game.models = &game.storeModels;
        game.dataRoot = dir.Root();
        if (sizedView) {
            game.viewWidth = 640;
            game.viewHeight = 480;
            game.UpdateScreenSize();
        }
        SeedRandom(1000);
        EXPECT_TRUE(game.LoadMap(name.c_str()));
        game.StartLevel();
    }

    // Every live actor of class T, in list order.
    template <typename T>
    std::vector<T*> All()
    {
        std::vector<T*> found;
        for (Entity* e : game.entities)
            if (auto* t = dynamic_cast<T*>(e))
                found.push_back(t);
        return found;
    }
};
