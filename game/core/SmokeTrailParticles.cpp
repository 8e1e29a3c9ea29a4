#include "SmokeTrailParticles.h"

#include "Entity.h"
#include "MathUtil.h"
#include "ParticleFan.h"

SmokeTrailParticles::SmokeTrailParticles(float, float, float, float)
{
    particles.reserve(500);
}

void SmokeTrailParticles::Emit(float x, float y, float a, float b, std::int32_t count)
{
    for (std::int32_t i = 0; i < count; ++i) {
        const Vec2 v = ParticleFan(a, b, 1.8f, -0.9f, 1.5f, 0.5f);
        Particle p = Born(x, y, RandomFloat(1.0f) + 1.0f, 8.0f);
        p.velocity = v;
        SetColour(p, 0.0f, 1.0f, 1.0f);
        particles.push_back(p);
    }
}

void SmokeTrailParticles::Update()
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
        p.colour[2] = Interpolate(1.0f, 0.0f, p.maxLife - 1.5f, p.maxLife, age);
        p.colour[1] = Interpolate(0.75f, 0.0f, 0.0f, 1.0f, age);
        p.size += 0.2f;
        Bounce(p, world.grid);
        ++i;
    }
    if (particles.empty() && owner.GetLive() == nullptr)
        finished = true;
}
