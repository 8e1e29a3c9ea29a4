#include "Game.h"

#include "MapData.h"
#include "Player.h"

bool Game::NewGame() { return NewGameOnMap(""); }

bool Game::NewGameOnMap(const std::string& name)
{
    const ModePair play = PairFor(GameMode::Play);
    currentUpdate = pendingUpdate = play.update;
    currentDraw = pendingDraw = play.draw;
    mode = GameMode::Play;
    modeDelay = -1;

    const std::string wanted = !name.empty() ? name : (packMaps.empty() ? std::string() : packMaps.front());
    mapIndex = 0;
    for (std::size_t i = 0; i < packMaps.size(); ++i)
        if (NamesEqual(packMaps[i].c_str(), wanted.c_str())) {
            mapIndex = static_cast<std::int32_t>(i);
            break;
        }
    player->ResetStats();
    if (wanted.empty() || !LoadMap(wanted.c_str()))
        return false;
    StartLevel();
    return true;
}
