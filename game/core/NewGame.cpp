#include "Game.h"

#include "Player.h"

bool Game::NewGame()
{
    // Index and stats first: loading a map saves the game with them.
    mapIndex = 0;
    player->ResetStats();
    if (packMaps.empty() || !LoadMap(packMaps.front().c_str()))
        return false;
    SetMode(GameMode::Play, 0);
    StartLevel();
    return true;
}
