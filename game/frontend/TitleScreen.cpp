// The title: the "Splash" level runs behind it; after three seconds the
// title music starts and the main menu opens.
#include "Game.h"
#include "MainMenu.h"
#include "Player.h"
#include "ScreenCanvas.h"
#include "TitleBackdrop.h"
#include "WorldDrawState.h"

namespace {
constexpr int kMenuTick = 150;
constexpr float kShipY = 1220.0f;
const char* const kTitleMusic = "Data/Sound/DovirEzuded Away.mp3";
} // namespace

void Game::EnterTitle()
{
    SetMode(GameMode::Title, 0);
    tickCount = 0;
    tickLength = 0.02f;
    titleMenuShown = false;
    player->ResetStats();
    if (LoadMap("Splash")) {
        StartLevel();
        // Turned, the ship sits lower: a sixth of the (now tall) view.
        const float y = rotatedScreen ? kShipY + screenSize.x / 6.0f : kShipY;
        const Vec2 ship{WorldWidth() * 0.5f, y};
        player->position = player->previousPosition = ship;
        player->camera = player->previousCamera = ship - screenCentre;
        player->zoom = 1.0f;
        particles.Clear();
    }
    host->GrabInput(false);
}

void Game::UpdateTitle()
{
    tickLength = 0.02f;
    UpdateMenus();
    if (tickCount == kMenuTick && music[0] == nullptr && audio.LoadMusic(kTitleMusic, music[0]))
        audio.FadeInMusic(music[0], true, 1000);
    // The menu never buries a dialog still open at its time (a failed load's
    // message): it waits for the first tick with an empty stack.
    if (tickCount >= kMenuTick && !titleMenuShown && menus.empty()) {
        titleMenuShown = true;
        menus.push_back(std::make_unique<MainMenu>(320, 100, screenCentre.x, screenCentre.y + 170.0f));
    }

    UpdateBackdrop(*this);
}

void Game::DrawTitle(float alpha) { DrawTitle(alpha, GlScreenCanvas()); }

void Game::DrawTitle(float alpha, ScreenCanvas& canvas)
{
    canvas.state.Clear(0.0f, 0.0f, 0.0f, 0.0f);
    DrawWorld(alpha, canvas.sink, canvas.state);
    // Here the menus come after the fades: leaving darkens the level only.
    DrawFades(canvas.sink, canvas.state);
    DrawMenus(alpha, canvas);
}
