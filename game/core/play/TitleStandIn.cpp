// The title and the other front-end screens as plain stand-ins until their
// own screens exist: each keeps the "Splash" level running behind it and
// draws it with the fades, nothing more.
#include "Game.h"

#include "GlDrawSink.h"
#include "PlayMode.h"
#include "Player.h"
#include "WorldDrawState.h"

void Game::EnterTitle()
{
    SetMode(GameMode::Title, 0);
    tickCount = 0;
    tickLength = 0.02f;
    player->ResetStats();
    if (LoadMap("Splash")) {
        StartLevel();
        const float y = rotatedScreen ? 1220.0f + screenSize.x / 6.0f : 1220.0f;
        const Vec2 centre{WorldWidth() / 2.0f, y};
        player->position = player->previousPosition = centre;
        player->camera = player->previousCamera = centre - screenCentre;
        player->zoom = 1.0f;
        particles.Clear();
    }
    host->GrabInput(false);
}

void Game::UpdateTitle()
{
    QueryPlaySectors(*this);
    entities.Pass();
    for (std::vector<Star>& layer : starLayers) {
        for (Star& star : layer)
            UpdateStar(star);
    }
    previousParallaxOffset = parallaxOffset;
    parallaxOffset -= player->camera - player->previousCamera;
}

void Game::DrawTitle(float alpha)
{
    WorldDrawState& state = GlWorldState();
    state.Clear(0.0f, 0.0f, 0.0f, 0.0f);
    DrawWorld(alpha);
    DrawFades(GlSink(), state);
}

void Game::UpdateScreenStandIn()
{
    UpdateTitle();
}

void Game::DrawScreenStandIn(float alpha)
{
    DrawTitle(alpha);
}
