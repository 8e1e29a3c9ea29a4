#include "SmokeParticles.h"

#include "Random.h"

SmokeParticles::SmokeParticles(float x, float y, float a, float b)
{
    box = Rect(100.0f, 100.0f, x, y);
    UpdateVisibilityWide();
    particles.reserve(25);
    Emit(x, y, a, b, 25);
}

void SmokeParticles::Emit(float x, float y, float, float, std::int32_t count)
{
    if (!onScreenWide)
        return;
    for (std::int32_t i = 0; i < count; ++i) {
        const float vx = RandomFloat(2.0f) - 1.0f;
        const float vy = RandomFloat(2.0f) - 1.0f;
        Particle p = Born(x, y, RandomFloat(1.0f) + 1.0f, 32.0f);
        p.velocity = {vx, vy};
        SetColour(p, 1.0f, 0.75f, 0.0f);
        particles.push_back(p);
    }
}

void SmokeParticles::Update()
{
    UpdateVisibilityWide();
    if (!onScreenWide)
        return;
    const ParticleWorld world = CurrentParticleWorld();
    for (std::size_t i = 0; i < particles.size();) {
        Particle& p = particles[i];
        if (!Age(p))
            continue;
        Damp(p, kDamping);
        Move(p);
        Wrap(p, world.worldWidth);
        SetColour(p, 0.5f * p.life, 0.375f * p.life, 0.0f);
        Bounce(p, world.grid);
        ++i;
    }
    UpdateVisibility();
    if (particles.empty())
        finished = true;
}
