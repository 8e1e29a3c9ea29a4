// The end of a game: the "game_over" model spins in while it grows, leaves
// red copies that darken, shakes at full size, and the title follows after
// seven seconds.
#include "Game.h"

#include "BeamDraw.h"
#include "DrawSink.h"
#include "MathUtil.h"
#include "Player.h"
#include "Random.h"
#include "ScreenCanvas.h"
#include "TurnedView.h"
#include "WorldDrawState.h"

#include <GL/gl.h>

#include <algorithm>
#include <memory>

namespace {

constexpr int kGrowTicks = 200;
constexpr float kTurns = 1800.0f; // five whole turns while it grows
constexpr int kFadeTick = 300;
constexpr int kTitleTick = 350;
constexpr float kLifePerSecond = 3.0f;

} // namespace

bool GameOverTrailExpired(GameOverTrailPoint& point, float tickLength)
{
    point.life -= kLifePerSecond * tickLength;
    return point.life <= 0.0f;
}

void Game::EnterGameOver()
{
    // The title plays its own music again.
    audio.FreeMusic(music[0]);
    audio.HaltAllChannels();
    SetMode(GameMode::GameOver, 0);
    tickCount = 0;
    tickLength = 0.02f;
    fades.push_back(std::make_shared<Fade>(Fade::Black(1.0f, 0.0f, 1.0f, 0)));
    player->camera = Vec2{0.0f, 0.0f};
    particles.Clear();
    gameOverTrail.clear();
}

void Game::UpdateGameOver()
{
    const int t = tickCount;
    if (t == kFadeTick)
        fades.push_back(std::make_shared<Fade>(Fade::Black(0.0f, 1.0f, 1.0f, 0)));
    if (t == kTitleTick) {
        SetMode(GameMode::Title, 0);
        EnterTitle();
        return;
    }
    if (t % 2 == 0) {
        const Vec2 centre = LayoutToView(320.0f, 240.0f);
        GameOverTrailPoint point;
        if (t < kGrowTicks) {
            const float now = static_cast<float>(t);
            point.scale = Interpolate(0.0f, 1.0f, 0.0f, static_cast<float>(kGrowTicks), now);
            point.angle = Interpolate(0.0f, kTurns, 0.0f, static_cast<float>(kGrowTicks), now);
            point.x = centre.x;
            point.y = centre.y;
        } else {
            // dy before dx: seeded runs repeat only in this order.
            const int dy = Random() % 30 - 15;
            const int dx = Random() % 30 - 15;
            point.scale = 1.0f;
            point.angle = kTurns;
            point.x = centre.x + static_cast<float>(dx);
            point.y = centre.y + static_cast<float>(dy);
        }
        point.life = 1.0f;
        gameOverTrail.push_back(point);
    }
    const float step = tickLength;
    gameOverTrail.erase(std::remove_if(gameOverTrail.begin(), gameOverTrail.end(),
                                       [step](GameOverTrailPoint& p) { return GameOverTrailExpired(p, step); }),
                        gameOverTrail.end());
}

void Game::DrawGameOver(float alpha) { DrawGameOver(alpha, GlScreenCanvas()); }

void Game::DrawGameOver(float alpha, ScreenCanvas& canvas)
{
    DrawParticleBackdrop(*this, canvas, alpha);
    DrawSink& sink = canvas.sink;
    WorldDrawState& state = canvas.state;

    const std::vector<Beam>& beams = resources.Model(ModelId::game_over).beams;
    const float now = static_cast<float>(tickCount);
    const Vec2 centre = LayoutToView(320.0f, 240.0f);
    const float scale = Interpolate(0.0f, 1.0f, 0.0f, static_cast<float>(kGrowTicks), now);
    state.PushMatrix();
    state.Translate(centre.x, centre.y);
    state.Rotate(Interpolate(0.0f, kTurns, 0.0f, static_cast<float>(kGrowTicks), now));
    state.Scale(scale, scale);
    DrawObject(sink, beams, false);
    state.PopMatrix();

    for (const GameOverTrailPoint& point : gameOverTrail) {
        state.PushMatrix();
        state.Translate(point.x, point.y);
        state.Rotate(point.angle);
        state.Scale(point.scale, point.scale);
        DrawObjectTinted(sink, beams, false, point.life, 0.0f, 0.0f);
        state.PopMatrix();
    }
    state.Finish();
    DrawFades(sink, state);
}
