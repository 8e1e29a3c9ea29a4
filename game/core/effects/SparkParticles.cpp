#include "SparkParticles.h"

SparkParticles::SparkParticles(float x, float y, float a, float b)
{
    Burst(x, y, a, b, 5);
    blinkCounter = 0;
}

void SparkParticles::Emit(float x, float y, float a, float b, std::int32_t count)
{
    if (!onScreenWide)
        return;
    EmitFan(x, y, a, b, count, kExhaustFan, 2.0f, {1.0f, 1.0f, 1.0f});
}

void SparkParticles::Update()
{
    if (!BeginNearView())
        return;
    Walk(Fall::gravity, Hit::bounce, &blinkCounter,
         [this](Particle& p) { Flicker(p, blinkCounter, 1.0f, 1.0f, 1.0f); });
    EndNearView();
}
