#include "SmokeTrailParticles.h"

#include "Entity.h"

SmokeTrailParticles::SmokeTrailParticles(float, float, float, float)
{
    particles.reserve(500);
}

void SmokeTrailParticles::Emit(float x, float y, float a, float b, std::int32_t count)
{
    EmitFan(x, y, a, b, count, kExhaustFan, 1.0f, {0.0f, 1.0f, 1.0f});
}

void SmokeTrailParticles::Update()
{
    Walk(Fall::none, Hit::bounce, nullptr, [](Particle& p) { Exhaust(p, 2); });
    if (particles.empty() && owner.GetLive() == nullptr)
        finished = true;
}
