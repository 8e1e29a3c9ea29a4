#include "Game.h"

#include "MapData.h"
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

bool Game::NewGameOnMap(const std::string& name)
{
    if (name.empty())
        return NewGame();
    const ModePair play = PairFor(GameMode::Play);
    currentUpdate = pendingUpdate = play.update;
    currentDraw = pendingDraw = play.draw;
    mode = GameMode::Play;
    modeDelay = -1;

    mapIndex = 0;
    for (std::size_t i = 0; i < packMaps.size(); ++i)
        if (NamesEqual(packMaps[i].c_str(), name.c_str()))
            mapIndex = static_cast<std::int32_t>(i);
    player->ResetStats();
    if (!LoadMap(name.c_str()))
        return false;
    StartLevel();
    return true;
}
