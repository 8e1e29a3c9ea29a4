#include "Game.h"

#include "MissingMapPackDialog.h"
#include "Player.h"
#include "SaveGame.h"

void Game::SaveGame()
{
    const auto bytes = EncodeSaveGame(packName, mapIndex, mapName, player->score, player->lives);
    // A failed save keeps the previous file; nothing is reported.
    WriteFileReplacing(SaveGamePath(dataRoot), bytes.data(), bytes.size());
}

int Game::LoadSaveGame(Log& log)
{
    SaveGameTarget target{packName, packMaps, mapIndex, mapName, player->score, player->lives,
                          player->nextExtraLife};
    switch (LoadSaveGameInto(dataRoot, target, log)) {
    case SaveLoadResult::Loaded:
        return 1;
    case SaveLoadResult::MissingPack:
        menus.push_back(std::make_unique<MissingMapPackDialog>(170, 50, screenCentre.x, screenCentre.y));
        return -1;
    case SaveLoadResult::Refused:
    default:
        return 0;
    }
}
