#include "TurnedView.h"

#include "DrawSink.h"
#include "Game.h"
#include "ScreenCanvas.h"
#include "WorldDrawState.h"

#include <GL/gl.h>

void SetupTurnedView(const Game& game, WorldDrawState& state, float width, float height, float shift)
{
    state.Setup2DView(width, height);
    if (game.rotatedScreen) {
        state.Rotate(90.0f);
        state.Translate(-shift, 0.0f);
    }
}

void DrawParticleBackdrop(Game& game, ScreenCanvas& canvas, float alpha)
{
    DrawSink& sink = canvas.sink;
    WorldDrawState& state = canvas.state;
    state.Clear(0.0f, 0.0f, 0.0f, 0.0f);
    state.FullViewport(game.windowWidth, game.windowHeight);
    SetupTurnedView(game, state, static_cast<float>(game.viewWidth), static_cast<float>(game.viewHeight),
                    game.screenSize.x);
    state.BindTexture(game.resources.Texture(TextureId::BeamParticle));
    state.SetBlend(GL_ONE, GL_ONE);
    sink.Begin(DrawSink::Primitive::Quads);
    game.particles.Draw(sink, alpha);
    sink.End();
}
