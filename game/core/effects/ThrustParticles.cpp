#include "ThrustParticles.h"

ThrustParticles::ThrustParticles(float, float, float, float)
{
    particles.reserve(1000);
}

void ThrustParticles::Emit(float x, float y, float a, float b, std::int32_t count)
{
    EmitFan(x, y, a, b, count, kExhaustFan, 1.0f, {1.0f, 1.0f, 0.0f});
}

void ThrustParticles::Update()
{
    Walk(Fall::none, Hit::bounce, nullptr, [](Particle& p) { Exhaust(p, 0); });
}
