#include "FuelStreamParticles.h"

#include "FuelPod.h"
#include "MathUtil.h"
#include "Player.h"
#include "Random.h"
#include "WrapFrame.h"

#include <algorithm>
#include <cmath>

FuelStreamParticles::FuelStreamParticles(float, float, float, float)
{
    particles.reserve(100);
}

void FuelStreamParticles::Emit(float x, float y, float a, float b, std::int32_t n)
{
    const Vec2 off{5.0f * a, 5.0f * b};
    const Vec2 base{x + 35.0f * a, y + 35.0f * b};
    for (std::int32_t i = 0; i < n; ++i) {
        const int j1 = Random() % 20 - 10;
        const int j2 = Random() % 20 - 10;
        const float u1 = RandomFloat(1.0f) - 1.0f;
        const float u2 = RandomFloat(1.0f) - 1.0f;
        Particle p = Born(base.x + static_cast<float>(j2), base.y + static_cast<float>(j1),
                          RandomFloat(1.0f) + 0.75f, 32.0f);
        p.maxLife = static_cast<float>(i); // the colour scheme, not a lifetime
        p.velocity = {off.x + 2.0f * u2, off.y + 2.0f * u1};
        if (i == 0)
            SetColour(p, 0.5f, 1.0f, 1.0f);
        else
            SetColour(p, 1.0f, 0.5f, 1.0f);
        particles.push_back(p);
    }
}

void FuelStreamParticles::Pour(const ParticleWorld& world)
{
    FuelPod* source = pod.GetLive();
    if (source == nullptr)
        return;
    if (++tickCount % 2 != 0)
        return;
    const Player* ship = world.player;
    if (ship == nullptr || ship->dying || ship->spawnTimer != 0)
        return;
    Vec2 forward;
    Vec2 side;
    AngleToVectors(source->angle - 90.0f, forward, side);
    const Vec2 nozzle = source->position + 25.0f * forward;
    const Vec2 target = NearestPlayerPosition(nozzle.x, nozzle.y, {ship->position, world.worldWidth});
    if (!(Distance(nozzle.x, nozzle.y, target.x, target.y) < kReach))
        return;
    Emit(source->position.x, source->position.y, forward.x, forward.y, 2);
    source->fuelStore -= 1.0f;
    if (source->fuelStore <= 0.0f)
        source->Die();
}

void FuelStreamParticles::Update()
{
    const ParticleWorld world = CurrentParticleWorld();
    Pour(world);
    Player* ship = world.player;
    // A copy: the particle writes below could otherwise alias the ship.
    const WrapFrame frame{ship != nullptr ? ship->position : Vec2{}, world.worldWidth};
    for (std::size_t i = 0; i < particles.size();) {
        Particle& p = particles[i];
        p.life -= kTick;
        if (p.life <= 0.0f) {
            // Half a unit, kept to hundredths; the ship keeps it within range.
            if (ship != nullptr)
                ship->fuel = std::trunc((ship->fuel + 0.5f) * 100.0f) * 0.01f;
            RemoveParticle(p);
            continue;
        }
        if (ship != nullptr) {
            const Vec2 target = NearestPlayerPosition(p.position.x, p.position.y, frame);
            p.velocity -= (p.position - target) * (p.life * 0.005f);
        }
        Damp(p, 0.9285f);
        Move(p);
        const float m = std::min(p.life, 1.0f);
        if (static_cast<int>(p.maxLife) == 0)
            SetColour(p, 0.5f * m, m, m);
        else
            SetColour(p, m, 0.5f * m, m);
        p.size -= 0.25f;
        ++i;
    }
}
