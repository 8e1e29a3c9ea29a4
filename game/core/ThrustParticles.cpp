#include "ThrustParticles.h"

#include "MathUtil.h"
#include "ParticleFan.h"

ThrustParticles::ThrustParticles(float, float, float, float)
{
    particles.reserve(1000);
}

void ThrustParticles::Emit(float x, float y, float a, float b, std::int32_t count)
{
    for (std::int32_t i = 0; i < count; ++i) {
        const Vec2 v = ParticleFan(a, b, 1.8f, -0.9f, 1.5f, 0.5f);
        Particle p = Born(x, y, RandomFloat(1.0f) + 1.0f, 8.0f);
        p.velocity = v;
        SetColour(p, 1.0f, 1.0f, 0.0f);
        particles.push_back(p);
    }
}

void ThrustParticles::Update()
{
    const ParticleWorld world = CurrentParticleWorld();
    for (std::size_t i = 0; i < particles.size();) {
        Particle& p = particles[i];
        if (!Age(p))
            continue;
        Damp(p, kDamping);
        Move(p);
        Wrap(p, world.worldWidth);
        const float age = p.maxLife - p.life;
        p.colour[0] = Interpolate(1.0f, 0.0f, p.maxLife - 1.5f, p.maxLife, age);
        p.colour[1] = Interpolate(0.75f, 0.0f, 0.0f, 1.0f, age);
        p.size += 0.2f;
        Bounce(p, world.grid);
        ++i;
    }
}
