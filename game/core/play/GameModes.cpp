#include "Game.h"

#include "Player.h"

Game::ModePair Game::PairFor(GameMode mode)
{
    switch (mode) {
    case GameMode::Play: return {&Game::UpdatePlay, &Game::DrawPlay};
    case GameMode::Title: return {&Game::UpdateTitle, &Game::DrawTitle};
    case GameMode::HiScores:
    case GameMode::GameOver:
    case GameMode::ContinuePrompt:
    case GameMode::PackEnd:
    case GameMode::Credits: return {&Game::UpdateScreenStandIn, &Game::DrawScreenStandIn};
    }
    return {nullptr, nullptr};
}

void Game::SetMode(GameMode newMode, int delay)
{
    const ModePair pair = PairFor(newMode);
    if (pair.update != nullptr) {
        pendingUpdate = pair.update;
        pendingDraw = pair.draw;
    }
    modeDelay = delay;
    mode = newMode;
    if (delay <= 0) {
        // One below zero, so the loop's count-down never re-installs it.
        modeDelay = delay - 1;
        currentUpdate = pendingUpdate;
        currentDraw = pendingDraw;
    }
}

void Game::NewGame()
{
    const ModePair play = PairFor(GameMode::Play);
    currentUpdate = pendingUpdate = play.update;
    currentDraw = pendingDraw = play.draw;
    mode = GameMode::Play;
    modeDelay = -1;

    mapIndex = 0;
    player->ResetStats();
    if (!packMaps.empty() && LoadMap(packMaps.front().c_str()))
        StartLevel();
}
