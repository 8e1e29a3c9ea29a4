#include "ExplosionParticles.h"

#include "MathUtil.h"
#include "Random.h"

#include <cmath>

ExplosionParticles::ExplosionParticles(float, float, float, float) {}

void ExplosionParticles::Start(float x, float y, float a, float b, float r0, float g0, float b0,
                               float r1, float g1, float b1, std::int32_t n)
{
    box = Rect(200.0f, 200.0f, x, y);
    UpdateVisibilityWide();
    finished = false;
    tickCount = 0;
    count = n;
    onScreen = true;
    startColour[0] = r0;
    startColour[1] = g0;
    startColour[2] = b0;
    endColour[0] = r1;
    endColour[1] = g1;
    endColour[2] = b1;
    // Each particle lays at most one trail particle per third tick over its
    // three seconds: 15 slots per particle keep the walk from reallocating.
    if (n > 0 && n <= (1 << 20))
        particles.reserve(static_cast<std::size_t>(n) * 15);
    Emit(x, y, a, b, n);
}

void ExplosionParticles::EmitRing(float x, float y, std::int32_t n, float radius,
                                  float direction, float tLow, float lifeLow)
{
    if (!onScreenWide || count <= 0)
        return;
    const std::int32_t spacing = 360 / count;
    std::int32_t theta = 0;
    for (std::int32_t i = 0; i < n; ++i) {
        const float rho = static_cast<float>(theta) * kDegToRad;
        const float s = std::sin(rho);
        const float c = std::cos(rho);
        const float t = (RandomFloat(1.0f) + tLow) * direction;
        Particle p = Born(x + s * radius, y + c * radius, RandomFloat(1.0f) + lifeLow, 16.0f);
        p.velocity = {s * t, c * t};
        SetColour(p, startColour[0], startColour[1], startColour[2]);
        particles.push_back(p);
        theta += spacing;
    }
}

void ExplosionParticles::Emit(float x, float y, float, float, std::int32_t n)
{
    EmitRing(x, y, n, static_cast<float>(count) * 0.2f, 1.0f, 1.0f, 2.0f);
}

void ExplosionParticles::Update()
{
    UpdateVisibilityWide();
    if (!onScreenWide)
        return;
    ++tickCount;
    const bool laysTrail = tickCount % 3 == 0;
    for (std::size_t i = 0; i < particles.size();) {
        Particle& p = particles[i];
        if (!Age(p))
            continue;
        Damp(p, kDamping);
        Move(p);
        const float age = p.maxLife - p.life;
        for (int c = 0; c < 3; ++c)
            p.colour[c] = Interpolate(startColour[c], endColour[c], 0.0f, p.maxLife, age);
        if (laysTrail && (p.velocity.x != 0.0f || p.velocity.y != 0.0f)) {
            Particle trail = Born(p.previousPosition.x, p.previousPosition.y, 0.15f * p.life, 16.0f);
            SetColour(trail, p.colour[0], p.colour[1], p.colour[2]);
            particles.push_back(trail); // may move the array: p is not used after this
        }
        ++i;
    }
    UpdateVisibility();
    if (particles.empty())
        finished = true;
}
