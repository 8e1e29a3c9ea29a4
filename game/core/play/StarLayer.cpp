#include "StarLayer.h"

#include "Game.h"
#include "Random.h"

float StarLayerFactor(int layer)
{
    switch (layer) {
    case 0: return 1.0f;
    case 1: return 0.5f;
    case 2: return 0.25f;
    default: return 0.0f;
    }
}

void Star::Reset(Vec2 parallax)
{
    t = 0.0f;
    if (layer >= 0 && layer < kStarLayerCount)
        x = static_cast<float>(Random() % 1200) - parallax.x * StarLayerFactor(layer) - 100.0f;
    y = static_cast<float>(Random() % 700) - 200.0f;
    brightening = true;
}

void Star::Update(float step, Vec2 parallax)
{
    if (brightening) {
        t += 2.0f * step;
        if (t > 1.0f) {
            t = RandomFloat(2.0f) + 1.0f;
            brightening = false;
        }
    } else {
        t -= step;
        if (t <= 0.0f)
            Reset(parallax);
    }
}

void Star::Reset() { Reset(theGame != nullptr ? theGame->parallaxOffset : Vec2{}); }

void Star::Update()
{
    if (theGame != nullptr)
        Update(theGame->simulationStep, theGame->parallaxOffset);
    else
        Update(0.02f, Vec2{});
}

bool UpdateStar(Star& star)
{
    star.Update();
    return false;
}

void Game::FillStarLayers()
{
    for (std::vector<Star>& layer : starLayers)
        layer.clear();
    for (int i = 0; i < kStarsPerLayer; ++i) {
        for (int layer = 0; layer < kStarLayerCount; ++layer) {
            Star star;
            star.layer = layer;
            star.Reset(parallaxOffset);
            starLayers[layer].push_back(star);
        }
    }
    for (std::vector<Star>& layer : starLayers)
        for (Star& star : layer)
            star.Update(simulationStep, parallaxOffset);
}
