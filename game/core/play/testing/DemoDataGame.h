#pragma once

// The start every stress benchmark shares: the log off, a game on the
// headless host with the random numbers seeded as always, its resources and
// models from the demo data set.
#include "Game.h"
#include "HeadlessHost.h"
#include "Log.h"
#include "Random.h"

#include <memory>

// Answers false (the game made, its resources unloaded) when the data set
// does not load.
inline bool OpenDemoDataGame(std::unique_ptr<Game>& game, HeadlessHost& host, const char* dataDir)
{
    Log::Instance().SetEnabled(false);
    game = std::make_unique<Game>(host);
    SeedRandom(1000);
    game->dataRoot = dataDir;
    if (!game->resources.LoadResources(dataDir))
        return false;
    game->models = &game->storeModels;
    return true;
}
