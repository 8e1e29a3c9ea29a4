// Stand-in for the main menu until it exists: on the title a fresh FIRE
// press continues the saved game when one loads, starts a new game when
// there is none, and otherwise leaves the title as it is (a saved game that
// does not load is not overwritten unasked).
#include "Game.h"

#include "Player.h"
#include "SaveGame.h"

namespace {

// As the menu does before play: the generators' music in the first handle.
void LoadGeneratorMusic(Game& game)
{
    game.audio.FreeMusic(game.music[0]);
    game.audio.LoadMusic("Data/Sound/Dizura Zeve.mp3", game.music[0]);
}

} // namespace

bool Game::StartFromTitleStandIn()
{
    // The other screens' stand-ins run the title's update too: only the title answers.
    if (mode != GameMode::Title || input.Button(ButtonFire).key.state != KeyState::Pressed)
        return false;
    if (!SaveGameExists(dataRoot)) {
        LoadGeneratorMusic(*this);
        return NewGame();
    }
    if (LoadSaveGame() != 1 || !LoadMap(mapName))
        return false;
    LoadGeneratorMusic(*this);
    SetMode(GameMode::Play, 0);
    StartLevel();
    return true;
}
