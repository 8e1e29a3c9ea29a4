// After the last map of a pack: five lines over black, the credits music, a
// landing sound, then the high-score screen as after a game.
#include "Game.h"
#include "Player.h"
#include "PlayModeLinks.h"
#include "Random.h"
#include "ScreenCanvas.h"
#include "TextWriter.h"
#include "TurnedView.h"
#include "WorldDrawState.h"

#include <GL/gl.h>

namespace {

constexpr int kLandingTick = 200;
constexpr int kFadeOutTick = 950;
constexpr int kLeaveTick = 1000;
const char* const kCreditsMusic = "Data/Sound/Credits.mp3";

constexpr const char* kLines[5] = {
    "CONGRATULATIONS!",
    "EVERY MAP OF THIS PACK",
    "HAS BEEN COMPLETED",
    "THANK YOU FOR PLAYING",
    "- THE GAME TEAM -",
};

} // namespace

void Game::EnterPackEnd()
{
    SetMode(GameMode::PackEnd, 0);
    tickCount = 0;
    tickLength = 0.02f;
    fades.push_back(std::make_shared<Fade>(Fade::Black(1.0f, 0.0f, 1.0f, 0)));
    particles.Clear();
    // Loading never frees what the slot held.
    audio.FreeMusic(music[1]);
    if (audio.LoadMusic(kCreditsMusic, music[1]))
        audio.FadeInMusic(music[1], false, 1000);
    host->GrabInput(false);
}

void Game::UpdatePackEnd()
{
    const int t = tickCount;
    if (t == kFadeOutTick) {
        fades.push_back(std::make_shared<Fade>(Fade::Black(0.0f, 1.0f, 1.0f, 0)));
        audio.FadeOutMusic(2000);
    }
    if (t == kLeaveTick) {
        EnterHiScoreScreen(true);
        return;
    }
    UpdateParticleLists(*this);
    if (t == kLandingTick)
        PlayCentred(*this, Random() % 2 == 1 ? SampleId::PlayerLand : SampleId::PlayerLand2);
}

void Game::DrawPackEnd(float alpha) { DrawPackEnd(alpha, GlScreenCanvas()); }

void Game::DrawPackEnd(float alpha, ScreenCanvas& canvas)
{
    WorldDrawState& state = canvas.state;
    state.Clear(0.0f, 0.0f, 0.0f, 0.0f);
    // Window pixels: the text keeps its size at every window size.
    state.FullViewport(windowWidth, windowHeight);
    const float w = static_cast<float>(windowWidth);
    const float h = static_cast<float>(windowHeight);
    SetupTurnedView(*this, state, w, h, h);
    state.SetBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    font.SetBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    font.SetAlign(FontSet::AlignCentre);
    font.SetScale(0.75f, 0.75f);
    font.SetColour(1.0f, 1.0f, 1.0f, 1.0f);
    for (int i = 0; i < 5; ++i) {
        const Vec2 at = LayoutToWindow(320.0f, 150.0f + 30.0f * static_cast<float>(i));
        canvas.text.Write(font, kLines[i], at.x, at.y);
    }
    DrawFades(canvas.sink, canvas.state);
    DrawMenus(alpha, canvas);
}
