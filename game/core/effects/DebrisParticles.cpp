#include "DebrisParticles.h"

#include "Random.h"

DebrisParticles::DebrisParticles(float x, float y, float a, float b)
{
    Burst(x, y, a, b, 3);
    blinkCounter = 0;
}

void DebrisParticles::Emit(float x, float y, float, float, std::int32_t count)
{
    if (!onScreenWide)
        return;
    for (std::int32_t i = 0; i < count; ++i) {
        const float vx = (RandomFloat(2.0f) - 1.0f) * 0.5f;
        const float vy = (RandomFloat(1.0f) - 1.0f) * 0.5f;
        Particle p = Born(x, y, RandomFloat(1.0f) + 1.0f, 16.0f);
        p.velocity = {vx, vy};
        SetColour(p, colour[0], colour[1], colour[2]);
        particles.push_back(p);
    }
}

void DebrisParticles::Update()
{
    if (!BeginNearView())
        return;
    Walk(Fall::none, Hit::pass, &blinkCounter,
         [this](Particle& p) { Flicker(p, blinkCounter, colour[0], colour[1], colour[2]); });
    EndNearView();
}
