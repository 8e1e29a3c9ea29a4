#include "PuffParticles.h"

#include "Random.h"

PuffParticles::PuffParticles(float x, float y, float a, float b)
{
    box = Rect(100.0f, 100.0f, x, y);
    UpdateVisibilityWide();
    particles.reserve(5);
    Emit(x, y, a, b, 5);
    blinkCounter = 0;
}

void PuffParticles::Emit(float x, float y, float, float, std::int32_t count)
{
    if (!onScreenWide)
        return;
    for (std::int32_t i = 0; i < count; ++i) {
        const float vx = RandomFloat(2.0f) - 1.0f;
        const float vy = RandomFloat(2.0f) - 1.0f;
        Particle p = Born(x, y, RandomFloat(1.0f) + 1.0f, 8.0f);
        p.velocity = {vx, vy};
        SetColour(p, 1.0f, 1.0f, 1.0f);
        particles.push_back(p);
    }
}

void PuffParticles::Update()
{
    UpdateVisibilityWide();
    if (!onScreenWide)
        return;
    const ParticleWorld world = CurrentParticleWorld();
    for (std::size_t i = 0; i < particles.size();) {
        Particle& p = particles[i];
        ++blinkCounter;
        if (!Age(p))
            continue;
        Damp(p, kDamping);
        Move(p);
        Wrap(p, world.worldWidth);
        if (BlinksOff(blinkCounter, p))
            SetColour(p, 0.0f, 0.0f, 0.0f);
        else
            SetColour(p, 0.5f * p.life, 0.5f * p.life, 0.5f * p.life);
        Bounce(p, world.grid);
        ++i;
    }
    UpdateVisibility();
    if (particles.empty())
        finished = true;
}
