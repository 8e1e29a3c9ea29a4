// After a lost game while the pack has maps left: the continue dialog alone
// on black until it is answered.
#include "Game.h"

#include "ContinueDialog.h"
#include "ScreenCanvas.h"
#include "TurnedView.h"
#include "WorldDrawState.h"

#include <memory>

void Game::EnterContinuePrompt()
{
    // The game's music goes on; only the sound effects stop.
    audio.HaltAllChannels();
    host->GrabInput(false);
    LoadLocalHiScores();
    SetMode(GameMode::ContinuePrompt, 0);
    tickCount = 0;
    tickLength = 0.02f;
    fades.push_back(std::make_shared<Fade>(Fade::Black(1.0f, 0.0f, 1.0f, 0)));
    menus.push_back(std::make_unique<ContinueDialog>(200, 50, screenCentre.x, screenCentre.y));
}

void Game::UpdateContinuePrompt() { UpdateMenus(); }

void Game::DrawContinuePrompt(float alpha) { DrawContinuePrompt(alpha, GlScreenCanvas()); }

void Game::DrawContinuePrompt(float alpha, ScreenCanvas& canvas)
{
    canvas.state.Clear(0.0f, 0.0f, 0.0f, 0.0f);
    canvas.state.FullViewport(windowWidth, windowHeight);
    SetupTurnedView(*this, canvas.state, static_cast<float>(viewWidth), static_cast<float>(viewHeight), screenSize.x);
    // The menus before the fades: the entry fade covers the dialog.
    DrawMenus(alpha, canvas);
    DrawFades(canvas.sink, canvas.state);
}
