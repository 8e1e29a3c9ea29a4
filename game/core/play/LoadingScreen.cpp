#include "LoadingScreen.h"

#include "GlDrawSink.h"
#include "Game.h"
#include "WorldDrawState.h"

#include <GL/gl.h>

const char* PleaseWaitText(int frame)
{
    switch (frame) {
    case 0: return "PLEASE WAIT.";
    case 1: return "PLEASE WAIT..";
    default: return "PLEASE WAIT...";
    }
}

void Game::DrawPleaseWait(int frame) { DrawPleaseWait(frame, GlSink(), GlWorldState()); }

void Game::DrawPleaseWait(int frame, DrawSink& sink, WorldDrawState& state)
{
    state.Clear(0.0f, 0.0f, 0.0f, 0.0f);
    state.FullViewport(windowWidth, windowHeight);
    state.Setup2DView(static_cast<float>(viewWidth), static_cast<float>(viewHeight));
    if (rotatedScreen) {
        state.Rotate(90.0f);
        state.Translate(-screenSize.x, 0.0f);
    }
    state.DisableDepthTest();
    font.DisableShadow();
    font.SetColour(1.0f, 1.0f, 1.0f, 1.0f);
    font.SetScale(0.5f, 0.5f);
    font.SetBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    font.SetAlign(FontSet::AlignLeft);
    const float across = static_cast<float>(rotatedScreen ? viewHeight : viewWidth);
    const float down = static_cast<float>(rotatedScreen ? viewWidth : viewHeight);
    font.DrawText(PleaseWaitText(frame), across * 0.703125f, down * 0.9375f, sink, state);
    state.Finish();
    state.Present();
}
