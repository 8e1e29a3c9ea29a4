#include "Game.h"

#include "Player.h"

bool Game::NewGame()
{
    const ModePair play = PairFor(GameMode::Play);
    currentUpdate = pendingUpdate = play.update;
    currentDraw = pendingDraw = play.draw;
    mode = GameMode::Play;
    modeDelay = -1;

    mapIndex = 0;
    player->ResetStats();
    if (packMaps.empty() || !LoadMap(packMaps.front().c_str()))
        return false;
    StartLevel();
    return true;
}
