#include "MainMenu.h"

#include "DownloadHiScoresDialog.h"
#include "DrawSink.h"
#include "Game.h"
#include "LoadFailedDialog.h"
#include "OverwriteDialog.h"
#include "RemoveFile.h"
#include "ResourceTables.h"
#include "SaveGame.h"
#include "ScreenCanvas.h"
#include "WorldDrawState.h"

#include <GL/gl.h>

#include <cstdio>

namespace {

enum Item : std::int32_t { NewGame = 1, LoadGame = 2, Quit = 4, HiScores = 5 };

constexpr float kLeaveSeconds = 0.5f;
constexpr int kLeaveMusicFade = 500;
const char* const kCountdownMusic = "Data/Sound/Dizura Zeve.mp3";

// A game could not start: back to a fresh title (its music freed, so it
// starts again) with the message on top.
void ReturnWithLoadFailed(Game& game)
{
    game.audio.FreeMusic(game.music[0]);
    game.EnterTitle();
    game.menus.push_back(
        std::make_unique<LoadFailedDialog>(200, 35, game.screenCentre.x, game.screenCentre.y));
}

void LoadCountdownMusic(Game& game)
{
    game.audio.FreeMusic(game.music[0]);
    game.audio.LoadMusic(kCountdownMusic, game.music[0]);
}

} // namespace

MainMenu::MainMenu(int halfWidth, int halfHeight, float centreX, float centreY)
    : Menu(halfWidth, halfHeight, centreX, centreY, 1.0f)
{
    theGame->host->GrabInput(false);
}

void MainMenu::Update()
{
    if (!RunHead())
        return;
    const float cy = centre.y;
    HitTest({{NewGame, cy - 40.0f, cy - 20.0f},
             {LoadGame, cy - 20.0f, cy},
             {HiScores, cy + 20.0f, cy + 40.0f},
             {Quit, cy + 40.0f, cy + 60.0f}});
    if (!Clicked())
        return;
    Game& game = *theGame;
    switch (selected) {
    case NewGame:
        if (SaveGameExists(game.dataRoot)) {
            auto dialog = std::make_unique<OverwriteDialog>(170, 45, game.screenCentre.x, game.screenCentre.y);
            dialog->parent = this;
            dialog->resultCode = 1;
            game.menus.push_back(std::move(dialog));
            ConsumeClick();
            PlaySound(SampleId::UI3);
        } else {
            Leave(true);
        }
        break;
    case LoadGame:
        PlaySound(SampleId::UI3);
        switch (game.LoadSaveGame()) {
        case 1:
            Leave(true);
            break;
        case 0:
            game.menus.push_back(
                std::make_unique<LoadFailedDialog>(200, 35, game.screenCentre.x, game.screenCentre.y));
            ConsumeClick();
            break;
        default:
            // The load fell back to the default pack and opened its own
            // dialog; the pointer lies outside that dialog's DONE row.
            break;
        }
        break;
    case HiScores:
        // The download runs over the closed menu; the high-score screen
        // keeps the title music playing.
        game.menus.push_back(
            std::make_unique<DownloadHiScoresDialog>(200, 30, game.screenCentre.x, game.screenCentre.y));
        Leave(false);
        break;
    case Quit:
        Leave(true);
        break;
    default:
        break;
    }
}

void MainMenu::OnChildResult(std::int32_t code)
{
    if (code != 1)
        return;
    selected = NewGame;
    Leave(true);
}

void MainMenu::Leave(bool fadeMusic)
{
    theGame->fades.push_back(std::make_shared<Fade>(Fade::Black(0.0f, 1.0f, kLeaveSeconds, 0)));
    Close();
    if (fadeMusic)
        theGame->audio.FadeOutMusic(kLeaveMusicFade);
}

void MainMenu::ClosingAction()
{
    Game& game = *theGame;
    switch (selected) {
    case Quit:
        game.EnterCredits();
        break;
    case NewGame:
        if (!StartNewGame())
            return;
        break;
    case LoadGame:
        if (!ContinueSavedGame())
            return;
        break;
    default:
        break;
    }
    game.host->GrabInput(true);
    game.input.cursorVisible = 0;
    if (selected == HiScores)
        game.EnterHiScoreScreen(false);
}

bool MainMenu::StartNewGame()
{
    Game& game = *theGame;
    RemoveFile(SaveGamePath(game.dataRoot));
    LoadCountdownMusic(game);
    if (game.NewGame())
        return true;
    ReturnWithLoadFailed(game);
    return false;
}

bool MainMenu::ContinueSavedGame()
{
    Game& game = *theGame;
    // Play mode only with a level: the saved map is loaded first.
    if (!game.LoadMap(game.mapName)) {
        ReturnWithLoadFailed(game);
        return false;
    }
    game.SetMode(GameMode::Play, 0);
    LoadCountdownMusic(game);
    game.StartLevel();
    return true;
}

void MainMenu::Draw(float, ScreenCanvas& canvas)
{
    const Game& game = *theGame;
    const float cy = centre.y;
    float barTop = 0.0f;
    bool bar = true;
    switch (selected) {
    case NewGame: barTop = cy - 40.0f; break;
    case LoadGame: barTop = cy - 20.0f; break;
    case HiScores: barTop = cy + 20.0f; break;
    case Quit: barTop = cy + 40.0f; break;
    default: bar = false; break;
    }
    canvas.state.Finish();
    if (bar) {
        // The bar spans the whole screen under the label, 15 units high.
        const float left = centre.x - game.screenCentre.x;
        const float right = centre.x + game.screenCentre.x;
        canvas.state.SetBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        canvas.sink.Begin(DrawSink::Primitive::Quads);
        canvas.sink.Colour(0.0f, 0.0f, 0.5f, alpha);
        canvas.sink.Vertex(left, barTop);
        canvas.sink.Vertex(right, barTop);
        canvas.sink.Vertex(right, barTop + 15.0f);
        canvas.sink.Vertex(left, barTop + 15.0f);
        canvas.sink.End();
        canvas.state.DisableBlend();
    }
    char pack[kPackNameBytes + 16];
    std::snprintf(pack, sizeof pack, "MAP PACK:  %s", game.packName);
    DrawLabel(canvas, "NEW GAME", cy - 40.0f, NewGame);
    DrawLabel(canvas, "LOAD GAME", cy - 20.0f, LoadGame);
    DrawLabelIn(canvas, pack, cy, 1.0f, 0.0f, 0.0f);
    DrawLabel(canvas, "HISCORES", cy + 20.0f, HiScores);
    DrawLabel(canvas, "QUIT", cy + 40.0f, Quit);
    DrawCursor(canvas);
}
