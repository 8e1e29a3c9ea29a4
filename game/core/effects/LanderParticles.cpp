#include "LanderParticles.h"

LanderParticles::LanderParticles(float x, float y, float a, float b)
    : ExplosionParticles(x, y, a, b)
{
}

void LanderParticles::Emit(float x, float y, float, float, std::int32_t n)
{
    EmitRing(x, y, n, static_cast<float>(count) * 4.0f, -1.0f, 2.0f, 1.0f);
}
