#include "SubmitHiScoreDialog.h"

#include "DownloadHiScoresDialog.h"
#include "Game.h"
#include "Log.h"
#include "OnlineHiScores.h"
#include "ResourceTables.h"
#include "SubmitFailedDialog.h"

#include <memory>

namespace {
enum Item : std::int32_t { Yes = 1, No = 2 };
} // namespace

SubmitHiScoreDialog::SubmitHiScoreDialog(int halfWidth, int halfHeight, float centreX, float centreY)
    : Menu(halfWidth, halfHeight, centreX, centreY, 0.5f)
{
}

void SubmitHiScoreDialog::Update()
{
    if (!RunHead())
        return;
    HitTest({{Yes, Top() + 30.0f, Top() + 50.0f}, {No, Bottom() - 20.0f, Bottom()}});
    if (Clicked()) {
        PlaySound(SampleId::UI3);
        Close();
    }
}

void SubmitHiScoreDialog::ClosingAction()
{
    theGame->tickCount = 0;
    if (selected == Yes)
        Submit();
}

void SubmitHiScoreDialog::Submit()
{
    Game& game = *theGame;
    OnlineHiScores& online = game.online;
    const SubmitOutcome outcome =
        SubmitHiScore(online.transfer, online.server, online.submitDeadline, name, score, Log::Instance());
    const Vec2 c = game.screenCentre;
    switch (outcome) {
    case SubmitOutcome::Sent:
        game.menus.push_back(std::make_unique<DownloadHiScoresDialog>(200, 30, c.x, c.y));
        break;
    case SubmitOutcome::NoAddress:
        game.menus.push_back(std::make_unique<SubmitFailedDialog>(200, 70, c.x, c.y));
        break;
    case SubmitOutcome::NoReply:
        game.menus.push_back(std::make_unique<SubmitFailedDialog>(200, 50, c.x, c.y));
        break;
    }
}

void SubmitHiScoreDialog::Draw(float, ScreenCanvas& canvas)
{
    DrawFrame(canvas);
    DrawLabel(canvas, "SUBMIT HISCORE TO DATABASE?", Top());
    DrawLabel(canvas, "YES", Top() + 30.0f, Yes);
    DrawLabel(canvas, "NO", Bottom() - 20.0f, No);
    DrawCursor(canvas);
}
