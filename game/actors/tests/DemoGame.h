#pragma once

// A headless game on the demo data: the real models, samples and the named
// maps in a scratch folder, pack maps "Landfall" then "Caverns", a 640 x 480
// view, default keys and seed 1000.
#include "Game.h"
#include "Random.h"
#include "support/MapTestDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>

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
