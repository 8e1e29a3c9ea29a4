// The radar at the top centre: the terrain as thin lines and the actors with
// their own drawing, over twice the view in each direction at half scale.
#include "Game.h"

#include "DrawSink.h"
#include "Entity.h"
#include "HudQuad.h"
#include "MathUtil.h"
#include "Player.h"
#include "ScreenCanvas.h"
#include "TurnedView.h"
#include "WorldDrawState.h"

#include <GL/gl.h>


void Game::DrawRadar(float alpha, ScreenCanvas& canvas)
{
    DrawSink& sink = canvas.sink;
    WorldDrawState& state = canvas.state;
    const float ww = static_cast<float>(windowWidth);
    const float wh = static_cast<float>(windowHeight);

    // The frame, in window space.
    state.SetBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    state.BindTexture(resources.Texture(TextureId::HUD_radar));
    sink.Begin(DrawSink::Primitive::Quads);
    sink.Colour(1.0f, 1.0f, 1.0f, 1.0f);
    TexturedQuad(sink, LayoutToWindow(265.0f, 2.0f), LayoutToWindow(270.0f, 68.0f), 0.0f, 0.25f, 0.0f, 1.0f);
    TexturedQuad(sink, LayoutToWindow(270.0f, 2.0f), LayoutToWindow(370.0f, 68.0f), 0.5f, 0.5f, 0.0f, 1.0f);
    TexturedQuad(sink, LayoutToWindow(370.0f, 2.0f), LayoutToWindow(375.0f, 68.0f), 0.75f, 1.0f, 0.0f, 1.0f);
    sink.End();
    state.Finish();

    if (rotatedScreen)
        state.Viewport(static_cast<int>(0.020833334f * ww), static_cast<int>(0.421875f * wh),
                       static_cast<int>(0.104166664f * ww), static_cast<int>(0.15625f * wh));
    else
        state.Viewport(static_cast<int>(0.421875f * ww), static_cast<int>(0.875f * wh),
                       static_cast<int>(0.15625f * ww), static_cast<int>(0.104166664f * wh));

    const float vw = static_cast<float>(viewWidth);
    const float vh = static_cast<float>(viewHeight);
    state.Setup2DView(vw, vh);
    state.SetBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    sink.Begin(DrawSink::Primitive::Quads);
    sink.Colour(0.0f, 0.0f, 0.0f, 0.9f);
    sink.Vertex(0.0f, 0.0f);
    sink.Vertex(vw, 0.0f);
    sink.Vertex(vw, vh);
    sink.Vertex(0.0f, vh);
    sink.End();
    state.Finish();
    frameStamp += 1;

    SetupTurnedView(*this, state, 2.0f * vw, (rotatedScreen ? 4.0f : 2.0f) * vh, screenSize.x);
    const Vec2 c = Lerp2(player->camera, player->previousCamera, alpha);
    state.PushMatrix();
    if (rotatedScreen)
        state.Translate(-c.x - 1.5f * screenSize.x, -c.y);
    else
        state.Translate(screenSize.x * 4.0f / 11.0f - c.x, screenSize.y * 0.5f - c.y);

    // Actors draw through the pair the world draw lends them.
    DrawSink* const lentSink = drawSink;
    WorldDrawState* const lentState = drawState;
    drawSink = &sink;
    drawState = &state;
    const Entity* const ship = player.get();
    for (int image = 0; image < 3; ++image) {
        const std::vector<Sector*>& sectors = activeSectors[image];
        if (sectors.empty())
            continue;
        frameStamp += 1;
        const std::uint32_t stamp = frameStamp;
        state.PushMatrix();
        if (image != 1)
            state.Translate(image == 0 ? -WorldWidth() : WorldWidth(), 0.0f);
        for (std::size_t s = 0; s < sectors.size(); ++s) {
            Sector* sector = sectors[s];
            if (!sector->beams.empty()) {
                sink.Begin(DrawSink::Primitive::Lines);
                for (Beam* beam : sector->beams) {
                    if (beam->stamp == stamp)
                        continue;
                    beam->stamp = stamp;
                    sink.Colour(beam->colourA.r, beam->colourA.g, beam->colourA.b);
                    sink.Vertex(beam->a.x, beam->a.y);
                    sink.Colour(beam->colourB.r, beam->colourB.g, beam->colourB.b);
                    sink.Vertex(beam->b.x, beam->b.y);
                }
                sink.End();
            }
            if (sector->EntityCount() != 0) {
                state.BindTexture(resources.Texture(TextureId::BeamParticle));
                state.SetBlend(GL_ONE, GL_ONE);
                for (Entity* entity : sector->Entities()) {
                    // The ship is not shown: neither drawn nor stamped.
                    if (entity == ship || entity->drawStamp == stamp)
                        continue;
                    entity->Draw(alpha);
                    entity->drawStamp = stamp;
                }
                state.Finish();
            }
        }
        state.PopMatrix();
    }
    drawSink = lentSink;
    drawState = lentState;
    state.PopMatrix();
    state.Finish();
    state.FullViewport(windowWidth, windowHeight);
}
