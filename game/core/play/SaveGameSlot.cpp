#include "Game.h"

#include "GameShip.h"
#include "MissingMapPackDialog.h"
#include "SaveGame.h"

void Game::SaveGame()
{
    const ShipTally tally = Ship()->Tally();
    const auto bytes = EncodeSaveGame(packName, mapIndex, mapName, tally.score, tally.lives);
    // A failed save keeps the previous file; nothing is reported.
    WriteFileReplacing(SaveGamePath(dataRoot), bytes.data(), bytes.size());
}

int Game::LoadSaveGame(Log& log)
{
    // The load changes nothing but on success.
    ShipTally tally = Ship()->Tally();
    SaveGameTarget target{packName, packMaps, mapIndex, mapName, tally.score, tally.lives, tally.nextExtraLife};
    switch (LoadSaveGameInto(dataRoot, target, log)) {
    case SaveLoadResult::Loaded:
        Ship()->SetTally(tally);
        return 1;
    case SaveLoadResult::MissingPack:
        menus.push_back(std::make_unique<MissingMapPackDialog>(170, 50, screenCentre.x, screenCentre.y));
        return -1;
    case SaveLoadResult::Refused:
    default:
        return 0;
    }
}
