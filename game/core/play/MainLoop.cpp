#include "Game.h"

#include "Clock.h"
#include "FontSet.h"
#include "FrameDump.h"
#include "GlState.h"
#include "InputRecorder.h"
#include "InputScript.h"
#include "SdlInput.h"

#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

void Game::Run()
{
    input.mouseMotion = Vec2{0.0f, 0.0f};
    frameTimer.Start();
    tickAccumulator = 0.0;
    framesDrawn = 0;
    ticksRun = 0;
    while (!quitRequested)
        RunFrame();
}

void Game::RunFrame()
{
    frameTimer.Update();
    tickAccumulator += frameTimer.frameSeconds;
    AdvanceFades(frameTimer.frameSeconds);

    // Read again before every test: a tick may change it (slow motion, the
    // pause menu). A tick length that is not positive would never drain the
    // accumulator. A stall is caught up tick by tick, but when the ticks
    // themselves take longer than the time they stand for, catching up never
    // ends: the frame would never be drawn nor a closed window noticed. So
    // after a budget of real time spent ticking, the rest of the backlog is
    // let go and the frame is drawn.
    if (!(tickLength > 0.0f))
        tickLength = 0.02f;
    Clock& clock = host->FrameClock();
    const std::uint32_t ticksBegan = clock.Ticks();
    while (tickLength <= tickAccumulator) {
        RunTick();
        // A closed window ends the frame here: no more ticks, and no draw,
        // which may be the slow part.
        if (quitRequested)
            return;
        // A frame asked for at a tick shows that tick, however far behind
        // real time the program is: the rest of the backlog waits for the
        // next frame (a stall of a loaded machine used to show a later tick).
        if (FrameDumpDue())
            break;
        if (clock.Ticks() - ticksBegan >= kCatchUpBudgetMs) {
            if (tickLength > 0.0f && tickLength <= tickAccumulator)
                tickAccumulator = std::fmod(tickAccumulator, static_cast<double>(tickLength));
            break;
        }
    }

    // Below 1 except where a frame dump stopped the catch-up early.
    const float factor = std::min(1.0f, static_cast<float>(tickAccumulator / tickLength));
    drawAlpha = paused ? 1.0f : factor;
    (this->*currentDraw)(drawAlpha);
    if (showFps)
        DrawFps();
    ++framesDrawn;
    const bool requested = frameDumpRequests != nullptr && *frameDumpRequests != frameDumpsDone;
    const bool scheduled = frameDumpAfterTick >= 0 ? FrameDumpDue() : framesDrawn == frameDumpAt;
    if (!frameDumpPath.empty() && (scheduled || requested)) {
        if (requested)
            frameDumpsDone = *frameDumpRequests;
        // Written beside and renamed: a reader never sees half a picture.
        const std::string partial = frameDumpPath + ".part";
        if (WriteFramePpm(partial, windowWidth, windowHeight))
            std::rename(partial.c_str(), frameDumpPath.c_str());
        if (scheduled && frameDumpAfterTick >= 0) {
            // The first such frame only; requests may still come.
            frameDumpAfterTick = -1;
            frameDumpAt = 0;
        }
    }
    host->SwapBuffers();
    host->Delay(1);
}

bool Game::FrameDumpDue() const
{
    return !frameDumpPath.empty() && frameDumpAfterTick >= 0 && ticksRun >= frameDumpAfterTick;
}

void Game::RunTick()
{
    SDL_Event event;
    while (host->PollEvent(event))
        HandleEvent(event);
    if (inputScript)
        inputScript->FeedTick(input);
    if (inputRecorder != nullptr && (inputRecorder->Started() || mode == GameMode::Play))
        inputRecorder->RecordTick(input, mapName);
    int x = 0;
    int y = 0;
    host->MouseState(x, y);
    input.mouseX = x;
    input.mouseY = y;

    // Counted down only while a delayed switch waits; at or below zero the
    // pending pair is (re)installed every tick.
    if (modeDelay > 0)
        --modeDelay;
    if (modeDelay <= 0) {
        currentUpdate = pendingUpdate;
        currentDraw = pendingDraw;
    }
    (this->*currentUpdate)();
    ++tickCount;
    ++ticksRun;
    input.AdvanceButtons();
    tickAccumulator -= tickLength;
}

void Game::HandleEvent(const SDL_Event& event)
{
    if (ApplySdlEvent(input, event))
        quitRequested = true;
}

void Game::DrawFps()
{
    glViewport(0, 0, windowWidth, windowHeight);
    Setup2DView(static_cast<float>(viewWidth), static_cast<float>(viewHeight));
    if (rotatedScreen) {
        glRotatef(90.0f, 0.0f, 0.0f, -1.0f);
        glTranslatef(-screenSize.x, 0.0f, 0.0f);
    }
    glDisable(GL_DEPTH_TEST);
    font.DisableShadow();
    font.SetColour(1.0f, 1.0f, 1.0f, 1.0f);
    font.SetScale(0.5f, 0.5f);
    font.SetBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    font.SetAlign(FontSet::AlignRight);
    char text[32];
    std::snprintf(text, sizeof text, "FPS %i", frameTimer.framesPerSecond);
    const float across = static_cast<float>(rotatedScreen ? viewHeight : viewWidth);
    const float down = static_cast<float>(rotatedScreen ? viewWidth : viewHeight);
    font.DrawText(text, across * 0.984375f, down * 0.9375f);
    glDisable(GL_BLEND);
}
