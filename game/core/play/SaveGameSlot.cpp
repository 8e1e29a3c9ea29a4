#include "Game.h"

#include "GameShip.h"
#include "MissingMapPackDialog.h"
#include "SaveGame.h"

void Game::SaveGame(Log& log)
{
    const ShipTally tally = Ship()->Tally();
    const auto bytes = EncodeSaveGame(packName, mapIndex, mapName, tally.score, tally.lives);
    // A failed save keeps the previous file and play goes on; the log says
    // why (a read-only file, a full disk).
    const std::string path = SaveGamePath(dataRoot);
    const FileWriteResult saved = WriteFileReplacing(path, bytes.data(), bytes.size());
    if (!saved)
        log.Write("Could not save the game to " + path + " (" + saved.error + "): the previous save is kept\n");
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
