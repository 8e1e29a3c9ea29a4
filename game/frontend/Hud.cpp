// What lies over the world in play: strips, bars, icons, counters, the score,
// the countdown and the level's messages, then the menus.
#include "Game.h"

#include "BeamDraw.h"
#include "DrawSink.h"
#include "HudQuad.h"
#include "HudValues.h"
#include "Player.h"
#include "ScreenCanvas.h"
#include "TextWriter.h"
#include "TurnedView.h"
#include "WorldDrawState.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>

namespace {

// At most this many ship icons: the last one that fits the layout's width.
constexpr int kMostLifeIcons = 21;

struct TallyRow {
    const char* label;
    int start;
    float y;
    float labelX;
    const char* multiplier; // null: none
    std::int64_t product;
    std::int64_t value;
    float valueX;
    bool fixedPitch;
};

// A panel of three quads between top and bottom (window space): caps and a
// middle from the lower half of the texture, then the fill of length fill
// from the upper half.
void DrawBar(Game& game, DrawSink& sink, WorldDrawState& state, TextureId texture, float top, float bottom,
             float fill)
{
    state.SetBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    state.BindTexture(game.resources.Texture(texture));
    sink.Begin(DrawSink::Primitive::Quads);
    sink.Colour(1.0f, 1.0f, 1.0f, 1.0f);
    TexturedQuad(sink, game.LayoutToWindow(10.0f, top), game.LayoutToWindow(20.0f, bottom), 0.0f, 0.25f, 0.5f, 1.0f);
    TexturedQuad(sink, game.LayoutToWindow(20.0f, top), game.LayoutToWindow(200.0f, bottom), 0.25f, 0.75f, 0.5f,
                 1.0f);
    TexturedQuad(sink, game.LayoutToWindow(200.0f, top), game.LayoutToWindow(210.0f, bottom), 0.75f, 1.0f, 0.5f,
                 1.0f);
    if (fill > 0.0f)
        TexturedQuad(sink, game.LayoutToWindow(20.0f, top), game.LayoutToWindow(20.0f + fill, bottom), 0.25f, 0.75f,
                     0.0f, 0.5f);
    sink.End();
}

void DrawModelAt(Game& game, DrawSink& sink, WorldDrawState& state, ModelId id, Vec2 at, float scale)
{
    state.PushMatrix();
    state.Translate(at.x, at.y);
    state.Scale(scale, scale);
    DrawObject(sink, game.resources.Model(id).beams, false);
    state.PopMatrix();
}

void Write(ScreenCanvas& canvas, FontSet& font, const char* text, Vec2 at)
{
    canvas.text.Write(font, text, at.x, at.y);
}

void WriteNumber(ScreenCanvas& canvas, FontSet& font, const char* format, std::int64_t value, Vec2 at)
{
    char text[32];
    std::snprintf(text, sizeof text, format, static_cast<long long>(value));
    canvas.text.Write(font, text, at.x, at.y);
}

void DrawStrips(Game& game, DrawSink& sink, WorldDrawState& state)
{
    state.Finish();
    state.SetBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    sink.Begin(DrawSink::Primitive::Quads);
    sink.Colour(0.2f, 0.0f, 0.0f, 0.5f);
    constexpr float kStrips[2][2] = {{0.0f, 75.0f}, {430.0f, 480.0f}};
    for (const auto& band : kStrips) {
        const Vec2 p0 = game.LayoutToWindow(0.0f, band[0]);
        const Vec2 p1 = game.LayoutToWindow(640.0f, band[1]);
        sink.Vertex(p0.x, p0.y);
        sink.Vertex(p1.x, p0.y);
        sink.Vertex(p1.x, p1.y);
        sink.Vertex(p0.x, p1.y);
    }
    sink.End();
}

void DrawIcons(Game& game, DrawSink& sink, WorldDrawState& state)
{
    state.BindTexture(game.resources.Texture(TextureId::BeamParticle));
    state.SetBlend(GL_ONE, GL_ONE);
    DrawModelAt(game, sink, state, ModelId::Generator, game.LayoutToView(400.0f, 60.0f), 0.5f);
    DrawModelAt(game, sink, state, ModelId::Scientist_03, game.LayoutToView(500.0f, 60.0f), 1.25f);
    const int lives = game.player->lives;
    const int icons = lives < kMostLifeIcons ? lives : kMostLifeIcons;
    for (int i = 0; i < icons; ++i)
        DrawModelAt(game, sink, state, ModelId::Player, game.LayoutToView(20.0f + 30.0f * static_cast<float>(i), 465.0f),
                    0.5f);
    state.Finish();
}

void DrawCounters(Game& game, ScreenCanvas& canvas)
{
    FontSet& font = game.font2;
    const Player& player = *game.player;
    const bool turned = game.rotatedScreen;
    const float w = static_cast<float>(game.viewWidth);
    font.SetColour(1.0f, 1.0f, 1.0f, 1.0f);
    font.SetScale(0.5f, 0.5f);
    font.SetAlign(FontSet::AlignCentre);
    Vec2 damage = game.LayoutToView(105.0f, 13.0f);
    Vec2 fuel = game.LayoutToView(105.0f, 43.0f);
    if (turned) {
        damage.y = 0.033333335f * w;
        fuel.y = 0.09583333f * w;
    }
    Write(canvas, font, "DAMAGE", damage);
    Write(canvas, font, "FUEL", fuel);
    font.SetAlign(FontSet::AlignLeft);
    Write(canvas, font, "BONUS", game.LayoutToView(390.0f, 13.0f));
    font.SetAlign(FontSet::AlignRight);
    font.EnableFixedPitch();
    WriteNumber(canvas, font, "%lli", game.bonusTime, game.LayoutToView(600.0f, 13.0f));
    Vec2 generators = game.LayoutToView(450.0f, 40.0f);
    Vec2 scientists = game.LayoutToView(590.0f, 40.0f);
    if (turned)
        generators.y = scientists.y = 0.104166664f * w;
    WriteNumber(canvas, font, "%lli", game.generatorCount, generators);
    char rescued[32];
    std::snprintf(rescued, sizeof rescued, "%i/%i", player.scientistsRescued, game.scientistCount);
    Write(canvas, font, rescued, scientists);
    font.DisableFixedPitch();
}

void DrawScore(Game& game, ScreenCanvas& canvas)
{
    FontSet& font = game.font;
    const Player& player = *game.player;
    font.SetAlign(FontSet::AlignLeft);
    font.SetColour(1.0f, 1.0f, 1.0f, 1.0f);
    font.SetScale(0.5f, 0.5f);
    Write(canvas, font, "1UP", game.LayoutToView(10.0f, 435.0f));
    font.EnableFixedPitch();
    const std::int32_t shown = ShownScore(player.score, player.LevelEndBonus(game.bonusTime),
                                          game.missionState.completed, player.endTimer);
    char digits[16];
    std::snprintf(digits, sizeof digits, "%.8i", shown);
    Write(canvas, font, digits, game.LayoutToView(100.0f, 435.0f));
    font.DisableFixedPitch();
}

void DrawCountdown(Game& game, ScreenCanvas& canvas)
{
    FontSet& font = game.font2;
    const float s = game.selfDestruct.secondsLeft;
    font.DisableShadow();
    font.SetAlign(FontSet::AlignCentre);
    font.SetColour(1.0f, 1.0f, 0.0f, 1.0f);
    font.SetScale(0.5f, 0.5f);
    Write(canvas, font, "DETONATION IN:", Vec2{game.screenCentre.x, game.LayoutToView(0.0f, 60.0f).y});
    const float k = CountdownScale(s);
    font.SetColour(1.0f, 0.0f, 0.0f, 1.0f);
    font.SetScale(k, k);
    WriteNumber(canvas, font, "%lli", static_cast<std::int64_t>(std::trunc(s)),
                Vec2{game.screenCentre.x - 7.5f * k, game.LayoutToView(0.0f, 100.0f).y - 15.0f * k});
}

void DrawTally(Game& game, ScreenCanvas& canvas)
{
    FontSet& font = game.font2;
    const Player& player = *game.player;
    const int t = player.endTimer;
    const bool turned = game.rotatedScreen;
    font.DisableShadow();
    font.SetAlign(FontSet::AlignCentre);
    font.SetColour(1.0f, 1.0f, 1.0f, CompletedAlpha(t));
    const float titleScale = turned ? 0.75f : 1.0f;
    font.SetScale(titleScale, titleScale);
    Write(canvas, font, "MISSION COMPLETED!", Vec2{game.screenCentre.x, game.LayoutToView(0.0f, 130.0f).y});

    const std::int64_t fuel = static_cast<std::int64_t>(std::trunc(player.fuel));
    const std::int64_t hull = static_cast<std::int64_t>(std::trunc(player.hull));
    const std::int64_t rescued = player.scientistsRescued;
    const TallyRow rows[] = {
        {"FUEL REMAINING:", 650, 180.0f, 50.0f, "X10", fuel * 10, fuel, 410.0f, false},
        {"SHIELD REMAINING:", 600, 210.0f, 50.0f, "X10", hull * 10, hull, 410.0f, false},
        {"SCIENTISTS RESCUED:", 550, 240.0f, 50.0f, "X100", rescued * 100, rescued, 410.0f, false},
        {"BONUS TIME:", 500, 270.0f, 50.0f, nullptr, 0, game.bonusTime, 510.0f, false},
        {"TOTAL:", 450, 350.0f, 200.0f, nullptr, 0,
         ShownTotal(player.LevelEndBonus(game.bonusTime), t), 410.0f, true},
    };
    font.SetScale(turned ? 0.25f : 0.5f, turned ? 0.5f : 0.75f);
    for (const TallyRow& row : rows) {
        const float a = TallyRowAlpha(t, row.start);
        font.SetColour(1.0f, 1.0f, 1.0f, a);
        font.SetAlign(FontSet::AlignLeft);
        Write(canvas, font, row.label, game.LayoutToView(row.labelX, row.y));
        font.SetAlign(FontSet::AlignRight);
        if (row.multiplier != nullptr) {
            Write(canvas, font, row.multiplier, game.LayoutToView(510.0f, row.y));
            WriteNumber(canvas, font, "=%lli", ClampToInt32(row.product), game.LayoutToView(630.0f, row.y));
        }
        font.SetColour(1.0f, 1.0f, TallyValueBlue(t, row.start), a);
        if (row.fixedPitch)
            font.EnableFixedPitch();
        WriteNumber(canvas, font, "%lli", ClampToInt32(row.value), game.LayoutToView(row.valueX, row.y));
        font.DisableFixedPitch();
    }
}

void DrawStageBanner(Game& game, ScreenCanvas& canvas)
{
    FontSet& font = game.font2;
    const int quarter = game.viewHeight / 4;
    const bool turned = game.rotatedScreen;
    font.DisableShadow();
    font.SetAlign(FontSet::AlignCentre);
    font.SetColour(1.0f, 1.0f, 1.0f, StageAlpha(game.player->spawnTimer));
    font.SetScale(1.0f, 1.0f);
    Write(canvas, font, "STAGE", Vec2{game.screenCentre.x, static_cast<float>(quarter + (turned ? 110 : 10))});
    font.SetScale(2.0f, 2.0f);
    Write(canvas, font, game.mapName, Vec2{game.screenCentre.x, static_cast<float>(quarter + (turned ? 150 : 50))});
}

} // namespace

void TexturedQuad(DrawSink& sink, Vec2 p0, Vec2 p1, float u0, float u1, float v0, float v1)
{
    sink.TexCoord(u0, v0);
    sink.Vertex(p0.x, p0.y);
    sink.TexCoord(u1, v0);
    sink.Vertex(p1.x, p0.y);
    sink.TexCoord(u1, v1);
    sink.Vertex(p1.x, p1.y);
    sink.TexCoord(u0, v1);
    sink.Vertex(p0.x, p1.y);
}

void Game::DrawHud(float alpha) { DrawHud(alpha, GlScreenCanvas()); }

void Game::DrawHud(float alpha, ScreenCanvas& canvas)
{
    DrawSink& sink = canvas.sink;
    WorldDrawState& state = canvas.state;
    const Player& ship = *player;
    const float ww = static_cast<float>(windowWidth);
    const float wh = static_cast<float>(windowHeight);

    state.FullViewport(windowWidth, windowHeight);
    SetupTurnedView(*this, state, ww, wh, wh);
    DrawStrips(*this, sink, state);
    if (!selfDestruct.running) {
        DrawRadar(alpha, canvas);
        SetupTurnedView(*this, state, ww, wh, wh);
    }
    DrawBar(*this, sink, state, TextureId::shield, 5.0f, 37.0f, BarFill(ship.hull, Player::kFullHull));
    DrawBar(*this, sink, state, TextureId::fuel, 35.0f, 67.0f, BarFill(ship.fuel, Player::kFullFuel));
    state.Finish();

    SetupTurnedView(*this, state, static_cast<float>(viewWidth), static_cast<float>(viewHeight), screenSize.x);
    DrawIcons(*this, sink, state);
    DrawCounters(*this, canvas);
    DrawScore(*this, canvas);

    const MissionState& mission = missionState;
    const bool missionOpen = !mission.aborted && !mission.completed;
    if (missionOpen && selfDestruct.running && selfDestruct.secondsLeft > 0.0f)
        DrawCountdown(*this, canvas);
    if (missionOpen && mission.leavingOrbit && (tickCount / 10) % 2 == 1) {
        font2.DisableShadow();
        font2.SetAlign(FontSet::AlignCentre);
        font2.SetColour(1.0f, 1.0f, 1.0f, 1.0f);
        font2.SetScale(0.75f, 0.75f);
        Write(canvas, font2, "LEAVING ORBIT!", Vec2{screenCentre.x, LayoutToView(0.0f, 130.0f).y});
    }
    if (mission.aborted) {
        font2.DisableShadow();
        font2.SetAlign(FontSet::AlignCentre);
        font2.SetColour(1.0f, 1.0f, 1.0f, AbortedAlpha(ship.endTimer));
        font2.SetScale(0.75f, 0.75f);
        Write(canvas, font2, "MISSION ABORTED", screenCentre);
    }
    if (mission.completed)
        DrawTally(*this, canvas);
    if (ship.spawnTimer > 0)
        DrawStageBanner(*this, canvas);
    DrawMenus(alpha, canvas);
}
