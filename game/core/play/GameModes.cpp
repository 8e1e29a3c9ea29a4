#include "Game.h"

Game::ModePair Game::PairFor(GameMode mode)
{
    switch (mode) {
    case GameMode::Play: return {&Game::UpdatePlay, &Game::DrawPlay};
    case GameMode::Title: return {&Game::UpdateTitle, &Game::DrawTitle};
    case GameMode::HiScores: return {&Game::UpdateHiScoreScreen, &Game::DrawHiScoreScreen};
    case GameMode::GameOver: return {&Game::UpdateGameOver, &Game::DrawGameOver};
    case GameMode::ContinuePrompt: return {&Game::UpdateContinuePrompt, &Game::DrawContinuePrompt};
    case GameMode::PackEnd: return {&Game::UpdatePackEnd, &Game::DrawPackEnd};
    case GameMode::Credits: return {&Game::UpdateCredits, &Game::DrawCredits};
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
