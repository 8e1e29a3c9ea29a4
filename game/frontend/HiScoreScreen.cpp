// The high scores over fireworks. After a game a score that beats a local
// entry is inserted and named, the table saved, and the screen goes on to
// the continue prompt (maps left in the pack) or the game over; from the main
// menu it only shows the tables and returns to the title. Once named, the
// score may be sent to the online table; the screen waits for the dialogs.
#include "Game.h"

#include "BeamDraw.h"
#include "ConfigFile.h"
#include "DrawSink.h"
#include "ExplosionParticles.h"
#include "Player.h"
#include "Random.h"
#include "SubmitHiScoreDialog.h"
#include "ScreenCanvas.h"
#include "TextWriter.h"
#include "TurnedView.h"
#include "WorldDrawState.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

const char* const kHiScoreMusic = "Data/Sound/hiscore.mp3";
// The name a new entry starts with: the row shows the underscore until the
// first character replaces it.
const char* const kNewEntryName = "_              ";
constexpr int kNameMaximum = 15;
constexpr int kFireworksEvery = 10;
constexpr int kFireworkParticles = 30;
constexpr int kFadeTick = 200;
constexpr int kFadeTickWithOnline = 500;
constexpr int kLeaveAfterFade = 50;
// The online table replaces the local one through a gap of empty frames.
constexpr int kLocalShownBelow = 225;
constexpr int kOnlineShownAbove = 250;
constexpr float kCursorSize = 16.0f;

constexpr float kFireworkColours[3][3] = {{0.2f, 1.0f, 1.0f}, {0.0f, 0.25f, 1.0f}, {1.0f, 1.0f, 1.0f}};

void LaunchFirework(Game& game)
{
    // y before x: seeded runs repeat only in this order.
    const int y = Random() % 480;
    const int x = Random() % 640;
    const Vec2 at = game.LayoutToView(static_cast<float>(x), static_cast<float>(y));
    const float* colour = kFireworkColours[Random() % 3];
    auto burst = std::make_unique<ExplosionParticles>(at.x, at.y, 0.0f, 0.0f);
    burst->Start(at.x, at.y, 0.0f, 0.0f, colour[0], colour[1], colour[2], 0.0f, 0.0f, 0.0f, kFireworkParticles);
    game.particles.Add(std::move(burst));
}

// After a game: the continue prompt while the pack has maps left, the game
// over once it is finished.
void LeaveAfterGame(Game& game)
{
    if (game.mapIndex >= 0 && static_cast<std::size_t>(game.mapIndex) < game.packMaps.size())
        game.EnterContinuePrompt();
    else
        game.EnterGameOver();
}

} // namespace

void Game::ResetHiScores()
{
    audio.HaltAllChannels();
    ResetHiScoreTable(localHiScores);
}

std::string Game::HiScoreFilePath() const { return dataRoot + "/" + kHiScoreFile; }

void Game::LoadLocalHiScores()
{
    ::LoadLocalHiScores(localHiScores, ConfigFile::Instance(), Log::Instance(), HiScoreFilePath());
}

void Game::SaveLocalHiScores()
{
    ::SaveLocalHiScores(localHiScores, ConfigFile::Instance(), Log::Instance(), HiScoreFilePath());
}

void Game::EnterHiScoreScreen(bool afterGame)
{
    host->GrabInput(false);
    LoadLocalHiScores();
    SetMode(GameMode::HiScores, 0);
    tickCount = 0;
    tickLength = 0.02f;
    fades.push_back(std::make_shared<Fade>(Fade::Black(1.0f, 0.0f, 1.0f, 0)));
    // Fireworks are placed in view units: the particles' on-screen test
    // looks around the camera.
    player->camera = Vec2{0.0f, 0.0f};
    if (!afterGame) {
        hiScorePending = false;
        hiScoreViewOnly = true;
        return;
    }
    audio.HaltAllChannels();
    onlineHiScoresValid = false;
    const int rank = HiScoreRankFor(localHiScores, player->score);
    if (rank < 0) {
        hiScorePending = false;
        LeaveAfterGame(*this);
        hiScoreViewOnly = false;
        return;
    }
    // Loading frees nothing: the game's music goes first (and a running
    // fade-out with it, which would hold the fade-in back).
    audio.FreeMusic(music[1]);
    if (audio.LoadMusic(kHiScoreMusic, music[1]))
        audio.FadeInMusic(music[1], true, 1000);
    InsertHiScore(localHiScores, rank, player->score, kNewEntryName);
    input.BeginTextEntry(localHiScores.entries[static_cast<std::size_t>(rank)].name, kNameMaximum);
    hiScorePending = true;
    newHiScoreRank = rank;
    cursorBlink = 0.0f;
    hiScoreViewOnly = false;
}

void Game::UpdateHiScoreScreen()
{
    UpdateMenus();
    if (tickCount % kFireworksEvery == 0)
        LaunchFirework(*this);
    particles.Update();
    if (input.textEntry.active) {
        cursorBlink = std::sin(static_cast<float>(tickCount) * 0.1f) + 0.5f;
        return;
    }
    if (hiScorePending) {
        HiScoreEntry& entry = localHiScores.entries[static_cast<std::size_t>(newHiScoreRank)];
        if (IsBlankName(entry.name))
            std::snprintf(entry.name, sizeof entry.name, "%s", "1UP");
        SaveLocalHiScores();
        hiScorePending = false;
        auto submit = std::make_unique<SubmitHiScoreDialog>(200, 50, screenCentre.x, screenCentre.y);
        std::snprintf(submit->name, sizeof submit->name, "%s", entry.name);
        submit->score = entry.score;
        menus.push_back(std::move(submit));
        tickCount = 0;
    }
    if (!menus.empty())
        return;
    const int fadeTick = onlineHiScoresValid ? kFadeTickWithOnline : kFadeTick;
    if (tickCount == fadeTick) {
        fades.push_back(std::make_shared<Fade>(Fade::Black(0.0f, 1.0f, 1.0f, 0)));
        if (!hiScoreViewOnly)
            audio.FadeOutMusic(1000);
    }
    if (tickCount == fadeTick + kLeaveAfterFade) {
        if (hiScoreViewOnly)
            EnterTitle();
        else
            LeaveAfterGame(*this);
    }
}

void Game::DrawHiScoreScreen(float alpha) { DrawHiScoreScreen(alpha, GlScreenCanvas()); }

void Game::DrawHiScoreScreen(float alpha, ScreenCanvas& canvas)
{
    DrawParticleBackdrop(*this, canvas, alpha);
    DrawSink& sink = canvas.sink;
    WorldDrawState& state = canvas.state;

    const Vec2 logo = LayoutToView(320.0f, 70.0f);
    state.PushMatrix();
    state.Translate(logo.x, logo.y);
    DrawObject(sink, resources.Model(ModelId::hiscores).beams, false);
    state.PopMatrix();

    const int t = tickCount;
    const bool online = onlineHiScoresValid && t > kOnlineShownAbove;
    const bool local = !onlineHiScoresValid || t < kLocalShownBelow;
    font.SetBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    font.SetScale(0.5f, 0.5f);
    if (local || online) {
        const HiScoreTable& table = online ? onlineHiScores : localHiScores;
        for (int i = 0; i < HiScoreTable::kRows; ++i) {
            const HiScoreEntry& entry = table.entries[static_cast<std::size_t>(i)];
            const float y = 150.0f + 30.0f * static_cast<float>(i);
            font.EnableFixedPitch();
            font.SetAlign(FontSet::AlignRight);
            font.SetColour(1.0f, 1.0f, 0.0f, 1.0f);
            const Vec2 label = LayoutToView(100.0f, y);
            canvas.text.Write(font, HiScoreRankLabel(i), label.x, label.y);
            char digits[16];
            std::snprintf(digits, sizeof digits, "%.8i", entry.score);
            font.SetColour(1.0f, 1.0f, 1.0f, 1.0f);
            const Vec2 score = LayoutToView(540.0f, y);
            canvas.text.Write(font, digits, score.x, score.y);
            font.DisableFixedPitch();
            font.SetAlign(FontSet::AlignLeft);
            const Vec2 name = LayoutToView(110.0f, y);
            canvas.text.Write(font, entry.name, name.x, name.y);
        }
        font.SetAlign(FontSet::AlignCentre);
        font.SetColour(1.0f, 1.0f, 1.0f, 1.0f);
        const Vec2 title = LayoutToView(320.0f, 450.0f);
        canvas.text.Write(font, online ? "ONLINE HISCORES" : "LOCAL HISCORES", title.x, title.y);
    }

    if (input.textEntry.active) {
        // The cursor stands after the characters typed so far.
        const TextEntry& entry = input.textEntry;
        char typed[16] = {};
        const int length = entry.length < 0 ? 0 : (entry.length > kNameMaximum ? kNameMaximum : entry.length);
        std::memcpy(typed, entry.buffer, static_cast<std::size_t>(length));
        font.SetScale(0.5f, 0.5f);
        font.DisableFixedPitch();
        const Vec2 p = LayoutToView(110.0f, 150.0f + 30.0f * static_cast<float>(newHiScoreRank));
        const float x = p.x + font.TextWidth(typed);
        const float b = cursorBlink;
        state.Finish();
        sink.Begin(DrawSink::Primitive::Quads);
        sink.Colour(0.0f, 1.0f - b, b, 1.0f);
        sink.Vertex(x, p.y);
        sink.Vertex(x + kCursorSize, p.y);
        sink.Vertex(x + kCursorSize, p.y + kCursorSize);
        sink.Vertex(x, p.y + kCursorSize);
        sink.End();
    }

    DrawMenus(alpha, canvas);
    DrawFades(sink, state);
}
