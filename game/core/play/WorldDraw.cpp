#include "WorldDraw.h"

#include "BeamDraw.h"
#include "DrawSink.h"
#include "Entity.h"
#include "Game.h"
#include "GlDrawSink.h"
#include "MathUtil.h"
#include "PlayMode.h"
#include "Ribbons.h"
#include "ScreenCanvas.h"
#include "TextWriter.h"
#include "GameShip.h"
#include "Projectile.h"
#include "WorldDrawState.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

constexpr float kStarHalf = 16.0f;
constexpr float kStarsHiddenBelow = 850.0f; // camera y beyond the screen height

// Layers far to near with the grey scale of each.
struct LayerLook {
    int layer;
    float grey;  // the brightness multiplier
    bool capped; // min(f * t, 1) rather than f * t
};
constexpr LayerLook kLayerOrder[] = {{2, 0.5f, true}, {1, 0.75f, true}, {0, 1.0f, false}};

void DrawWrapImage(Game& game, int image, float alpha, DrawSink& sink, WorldDrawState& state)
{
    const std::vector<Sector*>& sectors = game.visibleSectors[image];
    const float offset = (static_cast<float>(image) - 1.0f) * game.WorldWidth();
    state.BindTexture(game.resources.Texture(TextureId::BeamParticle));
    state.SetBlend(GL_ONE, GL_ONE);
    game.frameStamp += 1;
    const std::uint32_t stamp = game.frameStamp;
    state.PushMatrix();
    state.Translate(offset, 0.0f);
    // By index: a draw may not add to the lists, but nothing here relies on it.
    for (std::size_t s = 0; s < sectors.size(); ++s) {
        Sector* sector = sectors[s];
        if (!sector->beams.empty()) {
            sink.Begin(DrawSink::Primitive::Quads);
            for (std::size_t b = 0; b < sector->beams.size(); ++b) {
                Beam* beam = sector->beams[b];
                if (beam->stamp == stamp)
                    continue;
                beam->stamp = stamp;
                EmitBeamQuads(sink, *beam);
            }
            sink.End();
        }
        for (Entity* entity : sector->Entities()) {
            if (entity->drawStamp == stamp)
                continue;
            entity->drawStamp = stamp;
            entity->Draw(alpha);
        }
        for (std::size_t p = 0; p < sector->projectiles.size(); ++p) {
            Projectile* shot = sector->projectiles[p];
            if (shot->drawStamp == stamp)
                continue;
            shot->drawStamp = stamp;
            shot->Draw(alpha);
        }
    }
    sink.Begin(DrawSink::Primitive::Quads);
    game.particles.Draw(sink, alpha);
    sink.End();
    DrawRibbons(game.ribbons, sink, alpha);
    for (const ScorePopup& popup : game.scorePopups)
        popup.Draw(alpha, game.font2, sink, state);
    state.PopMatrix();
}

} // namespace

float StarBrightness(float cameraY)
{
    if (cameraY > 300.0f)
        return Interpolate(1.0f, 0.0f, 300.0f, kStarsHiddenBelow, cameraY);
    return 1.0f;
}

void DrawStarLayers(const Game& game, float alpha, DrawSink& sink, WorldDrawState& state)
{
    if (game.starLayers[0].empty() || game.Ship() == nullptr)
        return;
    const float cameraY = game.Ship()->Camera().y;
    if (!(cameraY < game.screenSize.y + kStarsHiddenBelow))
        return;
    const float f = StarBrightness(cameraY);
    const Vec2 p = Lerp2(game.parallaxOffset, game.previousParallaxOffset, alpha);
    for (const LayerLook& look : kLayerOrder) {
        state.PushMatrix();
        const float factor = StarLayerFactor(look.layer);
        state.Translate(p.x * factor, p.y * factor);
        state.BindTexture(game.resources.Texture(TextureId::BeamParticle));
        state.SetBlend(GL_ONE, GL_ONE);
        sink.Begin(DrawSink::Primitive::Quads);
        for (const Star& star : game.starLayers[look.layer]) {
            const float lit = look.capped ? std::min(f * star.t, 1.0f) : f * star.t;
            const float g = lit * look.grey;
            sink.Colour(g, g, g);
            sink.TexCoord(0.0f, 0.0f);
            sink.Vertex(star.x - kStarHalf, star.y - kStarHalf);
            sink.TexCoord(1.0f, 0.0f);
            sink.Vertex(star.x + kStarHalf, star.y - kStarHalf);
            sink.TexCoord(1.0f, 1.0f);
            sink.Vertex(star.x + kStarHalf, star.y + kStarHalf);
            sink.TexCoord(0.0f, 1.0f);
            sink.Vertex(star.x - kStarHalf, star.y + kStarHalf);
        }
        sink.End();
        state.PopMatrix();
    }
}

void Game::DrawWorld(float alpha) { DrawWorld(alpha, GlSink(), GlWorldState()); }

void Game::DrawWorld(float alpha, DrawSink& sink, WorldDrawState& state)
{
    frameStamp += 1;
    state.Setup2DView(static_cast<float>(viewWidth), static_cast<float>(viewHeight));
    if (rotatedScreen) {
        state.Rotate(90.0f);
        state.Translate(-screenSize.x, 0.0f);
    }
    const GameShip* ship = Ship();
    const float z = ship != nullptr ? ship->Zoom() : 1.0f;
    state.Scale(z, z);
    state.Translate(-0.5f * screenCentre.x * (z - 1.0f), -0.5f * screenCentre.y * (z - 1.0f));
    state.Translate(shakeOffset.x, shakeOffset.y);

    DrawStarLayers(*this, alpha, sink, state);

    const Vec2 c = ship != nullptr ? Lerp2(ship->Camera(), ship->PreviousCamera(), alpha) : Vec2{};
    state.PushMatrix();
    state.Translate(-c.x, -c.y);
    drawSink = &sink;
    drawState = &state;
    for (int image = 0; image < 3; ++image)
        if (!visibleSectors[image].empty())
            DrawWrapImage(*this, image, alpha, sink, state);
    drawSink = nullptr;
    drawState = nullptr;
    state.PopMatrix();
    state.Finish();
}

void Game::DrawPlay(float alpha) { DrawPlay(alpha, GlSink(), GlWorldState()); }

void Game::DrawPlay(float alpha, DrawSink& sink, WorldDrawState& state)
{
    state.Clear(0.0f, 0.0f, 0.0f, 0.0f);
    if (selfDestruct.flashTimer > 0.0f && selfDestruct.detonated) {
        const FlashColour& flash = DetonationFlashColour(selfDestruct.flashColour);
        state.Clear(flash.r, flash.g, flash.b, 0.0f);
    }
    DrawWorld(alpha, sink, state);
    // The HUD ends with the menus; the fades cover both.
    FontTextWriter writer(sink, state);
    ScreenCanvas canvas{sink, state, writer};
    DrawHud(alpha, canvas);
    DrawFades(sink, state);
}
