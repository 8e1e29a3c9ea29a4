#include "SmokeParticles.h"

SmokeParticles::SmokeParticles(float x, float y, float a, float b)
{
    Burst(x, y, a, b, 25);
}

void SmokeParticles::Emit(float x, float y, float, float, std::int32_t count)
{
    if (!onScreenWide)
        return;
    EmitDrift(x, y, count, 32.0f, {1.0f, 0.75f, 0.0f});
}

void SmokeParticles::Update()
{
    if (!BeginNearView())
        return;
    Walk(Fall::none, Hit::bounce, nullptr, [](Particle& p) { FadeColour(p, 1.0f, 0.75f, 0.0f); });
    EndNearView();
}
