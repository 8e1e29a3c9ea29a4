#include "Game.h"

#include "GameShip.h"
#include "MapData.h"

bool Game::NewGame() { return NewGameOnMap(""); }

bool Game::NewGameOnMap(const std::string& name)
{
    const std::string wanted = !name.empty() ? name : (packMaps.empty() ? std::string() : packMaps.front());
    // Index and stats first: loading a map saves the game with them.
    mapIndex = 0;
    for (std::size_t i = 0; i < packMaps.size(); ++i)
        if (NamesEqual(packMaps[i].c_str(), wanted.c_str())) {
            mapIndex = static_cast<std::int32_t>(i);
            break;
        }
    Ship()->ResetStats();
    if (wanted.empty() || !LoadMap(wanted.c_str()))
        return false;
    SetMode(GameMode::Play, 0);
    StartLevel();
    return true;
}
