#include "Game.h"

#include "MapPack.h"

#include <cstdio>

void Game::ScanMapPacks(Log& log)
{
    PackScan scan = ::ScanMapPacks(dataRoot, log);
    packNames = std::move(scan.packNames);
    if (scan.quit) {
        quitRequested = true;
        quitReason = std::move(scan.quitReason);
        return;
    }
    selectedPack = 0;
    std::snprintf(packName, sizeof packName, "%s", packNames.front().c_str());
}

void Game::LoadMapPack()
{
    packMaps = ReadPackList(dataRoot, packName, Log::Instance());
}
