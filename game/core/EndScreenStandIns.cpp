// Stand-ins for the high-score and pack-end screens until the front end
// brings them: each does its screen's entry steps, keeps the level running
// behind it and returns to the title after 5 seconds.
#include "Game.h"

#include "Fade.h"
#include "Player.h"

#include <memory>

namespace {

constexpr int kStandInTicks = 250; // 5 s

void InstallEndStandIn(Game& game, GameMode mode)
{
    game.SetMode(mode, 0);
    game.currentUpdate = game.pendingUpdate = &Game::UpdateEndScreenStandIn;
    game.tickCount = 0;
    game.tickLength = 0.02f;
    game.fades.push_back(std::make_shared<Fade>(Fade::Black(1.0f, 0.0f, 1.0f, 0)));
}

} // namespace

void Game::EnterHiScoreScreen(bool afterGame)
{
    host->GrabInput(false);
    InstallEndStandIn(*this, GameMode::HiScores);
    player->camera = {};
    if (afterGame)
        audio.HaltAllChannels();
}

void Game::EnterPackEnd()
{
    InstallEndStandIn(*this, GameMode::PackEnd);
    particles.Clear();
    audio.FreeMusic(music[1]);
    if (audio.LoadMusic("Data/Sound/Credits.mp3", music[1]))
        audio.FadeInMusic(music[1], false, 1000);
    host->GrabInput(false);
}

void Game::UpdateEndScreenStandIn()
{
    UpdateScreenStandIn();
    if (tickCount + 1 >= kStandInTicks)
        EnterTitle();
}
