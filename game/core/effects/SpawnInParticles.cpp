#include "SpawnInParticles.h"

#include "MathUtil.h"
#include "Player.h"
#include "Random.h"
#include "Timer.h"

#include <cmath>

SpawnInParticles::SpawnInParticles(float x, float y, float a, float b, const Timer& frameTimer)
    : timer(&frameTimer)
{
    particles.reserve(800);
    swirlAngle = 0;
    Emit(x, y, a, b, 3);
    countdown = 50;
}

void SpawnInParticles::Emit(float x, float y, float, float, std::int32_t count)
{
    swirlAngle += 45;
    for (std::int32_t i = 0; i < count; ++i) {
        const float angle = RandomFloat(50.0f) + static_cast<float>(swirlAngle);
        Vec2 forward;
        Vec2 side;
        AngleToVectors(angle, forward, side);
        const float p = RandomFloat(10.0f) - 5.0f;
        const float q = RandomFloat(10.0f) - 5.0f;
        Particle particle = Born(x + 50.0f * forward.x, y + 50.0f * forward.y, 0.0f, 8.0f);
        particle.velocity = {q, p};
        SetColour(particle, 0.5f, 1.0f, 1.0f);
        particle.life = particle.maxLife = RandomFloat(1.0f) + 4.0f;
        particles.push_back(particle);
    }
}

void SpawnInParticles::Update()
{
    const ParticleWorld world = CurrentParticleWorld();
    const Player* ship = world.player;
    --countdown;
    if (countdown > 0 && countdown % 2 == 0 && ship != nullptr)
        Emit(ship->position.x, ship->position.y, 0.0f, 0.0f, 3);
    const float theta = static_cast<float>(timer->elapsed * 0.5);
    const Vec2 swirl{std::sin(theta), std::cos(theta)};
    const bool pulled = ship != nullptr && ship->spawnTimer > 0;
    const Vec2 centre = ship != nullptr ? ship->position : Vec2{}; // a copy: no aliasing in the loop
    for (std::size_t i = 0; i < particles.size();) {
        Particle& p = particles[i];
        if (!Age(p))
            continue;
        p.velocity += swirl * (p.life * 0.001f);
        if (pulled)
            p.velocity -= (p.position - centre) * 0.01f;
        Damp(p, kDamping);
        Move(p);
        const float age = p.maxLife - p.life;
        const float fade = Interpolate(1.0f, 0.0f, 0.0f, p.maxLife, age);
        SetColour(p, Interpolate(0.5f, 0.0f, 0.0f, p.maxLife, age), fade, fade);
        p.size += 0.25f;
        ++i;
    }
    if (particles.empty())
        finished = true;
}
