// After QUIT: two pages of credits, a fade to black and the end of the run.
#include "Game.h"
#include "MathUtil.h"
#include "Player.h"
#include "ScreenCanvas.h"
#include "TextWriter.h"
#include "TurnedView.h"
#include "WorldDrawState.h"

#include <GL/gl.h>

namespace {

constexpr int kSecondPageTick = 150;
constexpr int kFadeOutTick = 300;
constexpr int kQuitTick = 350;

struct CreditRow {
    float y;
    const char* text;
    bool heading;
};

constexpr CreditRow kFirstPage[] = {
    {130, "PROGRAMMING", true}, {150, "THE GAME TEAM", false},
    {230, "GFX & SFX", true},   {250, "THE GAME TEAM", false},
    {330, "MUSIC", true},       {350, "THE GAME TEAM", false}, {370, "AND ITS SYNTHESISER", false},
};

constexpr CreditRow kSecondPage[] = {
    {130, "PLAY TESTERS", true}, {150, "THE GAME TEAM", false}, {170, "AND EVERYONE", false},
    {190, "WHO FLEW", false},    {210, "THE EARLY", false},     {230, "BUILDS", false},
    {250, "AND TOLD US", false}, {270, "WHAT", false},          {290, "WENT WRONG", false},
    {310, "THANK YOU", false},   {330, "FOR PLAYING", false},
};

} // namespace

void Game::EnterCredits()
{
    audio.FreeMusic(music[0]);
    audio.HaltAllChannels();
    SetMode(GameMode::Credits, 0);
    tickCount = 0;
    tickLength = 0.02f;
    fades.push_back(std::make_shared<Fade>(Fade::Black(1.0f, 0.0f, 1.0f, 0)));
    player->camera = Vec2{};
    particles.Clear();
}

void Game::UpdateCredits()
{
    // Nothing here reads input: the credits run to their end.
    if (tickCount == kFadeOutTick)
        fades.push_back(std::make_shared<Fade>(Fade::Black(0.0f, 1.0f, 1.0f, 0)));
    if (tickCount == kQuitTick)
        quitRequested = true;
}

void Game::DrawCredits(float alpha) { DrawCredits(alpha, GlScreenCanvas()); }

void Game::DrawCredits(float, ScreenCanvas& canvas)
{
    WorldDrawState& state = canvas.state;
    state.Clear(0.0f, 0.0f, 0.0f, 0.0f);
    state.FullViewport(windowWidth, windowHeight);
    SetupTurnedView(*this, state, static_cast<float>(viewWidth), static_cast<float>(viewHeight), screenSize.x);
    font.SetBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    font.SetAlign(FontSet::AlignCentre);
    font.SetScale(0.5f, 0.5f);
    const float t = static_cast<float>(tickCount);
    const bool firstPage = tickCount < kSecondPageTick;
    const float a = firstPage ? Interpolate(1.0f, 0.0f, 125.0f, 25.0f, t) : Interpolate(0.0f, 1.0f, 150.0f, 25.0f, t);
    const auto drawPage = [&](const auto& rows) {
        for (const CreditRow& row : rows) {
            if (row.heading)
                font.SetColour(0.5f, 1.0f, 1.0f, a);
            else
                font.SetColour(1.0f, 1.0f, 1.0f, a);
            const Vec2 at = LayoutToView(320.0f, row.y);
            canvas.text.Write(font, row.text, at.x, at.y);
        }
    };
    if (firstPage)
        drawPage(kFirstPage);
    else
        drawPage(kSecondPage);
    DrawFades(canvas.sink, canvas.state);
}
