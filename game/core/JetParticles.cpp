#include "JetParticles.h"

#include "ParticleFan.h"

JetParticles::JetParticles(float x, float y, float, float)
{
    box = Rect(300.0f, 300.0f, x, y);
    UpdateVisibilityWide();
    particles.reserve(350);
}

void JetParticles::Emit(float x, float y, float a, float b, std::int32_t count)
{
    if (!onScreenWide)
        return;
    for (std::int32_t i = 0; i < count; ++i) {
        const Vec2 v = ParticleFan(a, b, 1.0f, -0.5f, 1.5f, 1.5f);
        Particle p = Born(x, y, RandomFloat(2.0f) + 1.0f, 8.0f);
        p.velocity = v;
        SetColour(p, 1.0f, 1.0f, 1.0f);
        particles.push_back(p);
    }
}

void JetParticles::Update()
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
        SetColour(p, 0.1f * p.life, 0.5f * p.life, 0.1f * p.life);
        Bounce(p, world.grid);
        ++i;
    }
    UpdateVisibility();
}
