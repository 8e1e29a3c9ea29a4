#include "ContinueDialog.h"

#include "Game.h"
#include "Player.h"
#include "ResourceTables.h"

ContinueDialog::ContinueDialog(int halfWidth, int halfHeight, float centreX, float centreY)
    : Menu(halfWidth, halfHeight, centreX, centreY, 0.5f)
{
}

void ContinueDialog::Update()
{
    if (!RunHead())
        return;
    HitTest({{1, Top() + 30.0f, Top() + 50.0f}, {2, Bottom() - 20.0f, Bottom()}});
    if (!Clicked())
        return;
    PlaySound(SampleId::UI3);
    Close();
}

void ContinueDialog::ClosingAction()
{
    Game& game = *theGame;
    Player& player = *game.player;
    if (selected == 1) {
        game.SetMode(GameMode::Play, 0);
        player.score = 0;
        player.lives = 3;
        // As a new game: the next extra life counts from the fresh score.
        player.nextExtraLife = Player::kExtraLifeStep;
        game.SaveGame();
        game.StartLevel();
        game.host->GrabInput(true);
        return;
    }
    player.score = 0;
    player.lives = 0;
    game.SaveGame();
    game.EnterGameOver();
}

void ContinueDialog::Draw(float, ScreenCanvas& canvas)
{
    DrawFrame(canvas);
    DrawLabel(canvas, "CONTINUE GAME?", Top());
    DrawLabel(canvas, "YES", Top() + 30.0f, 1);
    DrawLabel(canvas, "NO", Bottom() - 20.0f, 2);
    DrawCursor(canvas);
}
