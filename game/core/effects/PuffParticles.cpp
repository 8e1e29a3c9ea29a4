#include "PuffParticles.h"

PuffParticles::PuffParticles(float x, float y, float a, float b)
{
    Burst(x, y, a, b, 5);
    blinkCounter = 0;
}

void PuffParticles::Emit(float x, float y, float, float, std::int32_t count)
{
    if (!onScreenWide)
        return;
    EmitDrift(x, y, count, 8.0f, {1.0f, 1.0f, 1.0f});
}

void PuffParticles::Update()
{
    if (!BeginNearView())
        return;
    Walk(Fall::none, Hit::bounce, &blinkCounter,
         [this](Particle& p) { Flicker(p, blinkCounter, 1.0f, 1.0f, 1.0f); });
    EndNearView();
}
