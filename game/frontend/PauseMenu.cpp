#include "PauseMenu.h"

#include "ConfirmDialog.h"
#include "ControlsMenu.h"
#include "Game.h"
#include "Player.h"
#include "ResourceTables.h"
#include "ScreenCanvas.h"

#include <cstdio>

namespace {

enum Item : std::int32_t {
    Resume = 1,
    ScreenTurn = 2,
    QuitGame = 4,
    Controls = 5,
    ShowFps = 7,
    QuitToDesktop = 8,
    MusicVolume = 9,
    ChosenQuitGame = 10,
    ChosenQuitToDesktop = 11,
};

constexpr int kVolumeStep = 8;
constexpr int kMaxVolume = 128;
constexpr int kQuitMusicFade = 1000;

} // namespace

PauseMenu::PauseMenu(int halfWidth, int halfHeight, float centreX, float centreY)
    : Menu(halfWidth, halfHeight, centreX, centreY, 1.0f)
{
    Game& game = *theGame;
    game.host->GrabInput(false);
    game.savedTickLength = game.tickLength;
    game.tickLength = 0.02f;
}

void PauseMenu::Update()
{
    if (!RunHead())
        return;
    const float top = Top();
    const float bottom = Bottom();
    HitTest({{ScreenTurn, top, top + 20.0f},
             {Controls, top + 20.0f, top + 40.0f},
             {MusicVolume, top + 60.0f, top + 80.0f},
             {ShowFps, bottom - 100.0f, bottom - 80.0f},
             {QuitGame, bottom - 60.0f, bottom - 40.0f},
             {QuitToDesktop, bottom - 40.0f, bottom - 20.0f},
             {Resume, bottom - 20.0f, bottom}});
    if (Clicked())
        Act();
}

void PauseMenu::Act()
{
    Game& game = *theGame;
    switch (selected) {
    case Resume:
        PlaySound(SampleId::UI3);
        Close();
        break;
    case ScreenTurn:
        TurnScreen();
        PlaySound(SampleId::UI3);
        break;
    case Controls:
        game.menus.push_back(std::make_unique<ControlsMenu>(220, 200, centre.x, centre.y));
        game.input.bindingCapture.waiting = 0;
        ConsumeClick();
        PlaySound(SampleId::UI3);
        break;
    case MusicVolume:
        game.musicVolume += kVolumeStep;
        if (game.musicVolume > kMaxVolume)
            game.musicVolume = 0;
        game.audio.SetMusicVolume(game.musicVolume);
        break;
    case ShowFps:
        game.showFps = !game.showFps;
        break;
    case QuitGame:
    case QuitToDesktop:
        Confirm(selected == QuitGame ? 1 : 2);
        break;
    default:
        break;
    }
}

void PauseMenu::TurnScreen()
{
    Game& game = *theGame;
    game.rotatedScreen = !game.rotatedScreen;
    game.UpdateScreenSize();
    centre = game.screenCentre;
    // The view stays on the ship.
    const Vec2 camera = game.player->position - game.screenCentre;
    game.player->camera = game.player->previousCamera = camera;
}

void PauseMenu::Confirm(std::int32_t code)
{
    auto dialog = std::make_unique<ConfirmDialog>(150, 35, centre.x, centre.y);
    dialog->parent = this;
    dialog->resultCode = code;
    theGame->menus.push_back(std::move(dialog));
    ConsumeClick();
    PlaySound(SampleId::UI3);
}

void PauseMenu::OnChildResult(std::int32_t code)
{
    if (code != 1 && code != 2)
        return;
    Game& game = *theGame;
    // The music was paused with the game: a fade advances only while it
    // plays, and a fade left pending would hold up the title's music start.
    game.audio.Backend().ResumeMusic();
    game.audio.FadeOutMusic(kQuitMusicFade);
    selected = code == 1 ? ChosenQuitGame : ChosenQuitToDesktop;
    Close();
}

void PauseMenu::ClosingAction()
{
    Game& game = *theGame;
    game.host->GrabInput(true);
    game.input.cursorVisible = 0;
    if (selected == ChosenQuitGame) {
        game.audio.FreeMusic(game.music[0]);
        // The play tick would clear these only on its next pass, after the
        // title has begun: it would draw unmoving and old loops resume later.
        game.paused = false;
        game.audio.HaltAllChannels();
        game.EnterTitle();
    } else if (selected == ChosenQuitToDesktop) {
        game.quitRequested = true;
    }
    game.tickLength = game.savedTickLength;
}

void PauseMenu::Draw(float, ScreenCanvas& canvas)
{
    const Game& game = *theGame;
    const float top = Top();
    const float bottom = Bottom();
    char volume[32];
    std::snprintf(volume, sizeof volume, "MUSIC VOL %i", game.musicVolume);
    DrawFrame(canvas);
    DrawLabel(canvas, game.rotatedScreen ? "STANDARD MODE" : "COCKTAIL MODE", top, ScreenTurn);
    DrawLabel(canvas, "CONTROLS", top + 20.0f, Controls);
    DrawLabel(canvas, volume, top + 60.0f, MusicVolume);
    DrawLabel(canvas, game.showFps ? "SHOW FPS: YES" : "SHOW FPS: NO", bottom - 100.0f, ShowFps);
    DrawLabel(canvas, "QUIT GAME", bottom - 60.0f, QuitGame);
    DrawLabel(canvas, "QUIT TO DESKTOP", bottom - 40.0f, QuitToDesktop);
    DrawLabel(canvas, "RESUME", bottom - 20.0f, Resume);
    DrawCursor(canvas);
}
