#pragma once

#include "Particle.h"
#include "ParticleSystem.h"
#include "ParticleTerrain.h"
#include "ParticleWorld.h"
#include "Sector.h"
#include "SectorGrid.h"

#include "MathUtil.h"

#include <cstdint>

// Blink step of the sparks, puffs and debris: the counter has been raised for
// this visit; an even count dims a particle in its last 1.5 s to black.
inline bool BlinksOff(std::int32_t counter, const Particle& p)
{
    return counter % 2 == 0 && p.life < 1.5f;
}

// The base of the eleven particle kinds: an array of Particle records drawn
// as one textured square each, and the per-particle steps the kinds share,
// applied by each kind's Update in the order ageing, damping, gravity, move,
// wrap, colour and size, terrain bounce.
class ParticleKind : public ParticleSystemOf<Particle> {
public:
    static constexpr float kTick = 0.02f;      // seconds a tick simulates
    static constexpr float kDamping = 0.985f;

    // Adds particles at (x, y); (a, b) is a direction or ignored, by kind.
    virtual void Emit(float x, float y, float a, float b, std::int32_t count) = 0;

    // Four vertices per particle, blended between the previous and the
    // current position, into the quad batch the caller opened.
    void Draw(DrawSink& sink, float alpha) const override;

protected:
    // Ages p by one tick; when its life runs out it is removed (the slot now
    // holds the former last particle) and the answer is false.
    bool Age(Particle& p)
    {
        p.life -= kTick;
        if (p.life <= 0.0f) {
            RemoveParticle(p);
            return false;
        }
        return true;
    }
    static void Damp(Particle& p, float factor)
    {
        p.velocity.x *= factor;
        p.velocity.y *= factor;
    }
    static void Move(Particle& p)
    {
        p.previousPosition = p.position;
        p.position += p.velocity;
    }
    // One step across the seam; both positions move so the draw does not
    // streak across the world.
    static void Wrap(Particle& p, float worldWidth)
    {
        if (p.position.x < 0.0f) {
            p.position.x += worldWidth;
            p.previousPosition.x += worldWidth;
        } else if (p.position.x >= worldWidth) {
            p.position.x -= worldWidth;
            p.previousPosition.x -= worldWidth;
        }
    }
    // Mirrors the velocity off the first beam of the cell within a unit of
    // the particle; the position stays.
    static void Bounce(Particle& p, const SectorGrid* grid)
    {
        if (grid == nullptr)
            return;
        const Sector* sector = grid->SectorAt(p.position.x, p.position.y);
        if (sector == nullptr)
            return;
        if (const Beam* beam = ParticleBeamAt(*sector, p.position.x, p.position.y)) {
            const Vec2 n = beam->normal;
            const float d = 2.0f * Dot(p.velocity, n);
            p.velocity.x -= d * n.x;
            p.velocity.y -= d * n.y;
        }
    }
    static void SetColour(Particle& p, float r, float g, float b)
    {
        p.colour[0] = r;
        p.colour[1] = g;
        p.colour[2] = b;
    }
    // A particle at (x, y) at rest, born with the given life.
    static Particle Born(float x, float y, float life, float size)
    {
        Particle p;
        p.position = p.previousPosition = {x, y};
        p.life = p.maxLife = life;
        p.size = size;
        return p;
    }

    // The spread of a fan emission (see ParticleFan); kExhaustFan is the one
    // of the exhausts and sparks.
    struct Fan {
        float sSpan, sLow, tSpan, tLow;
    };
    static constexpr Fan kExhaustFan{1.8f, -0.9f, 1.5f, 0.5f};

    // count particles of size 8 at (x, y) in the given colour, each drawing
    // its velocity from the fan along (a, b), then 1 to 1 + lifeSpan seconds
    // of life.
    void EmitFan(float x, float y, float a, float b, std::int32_t count, const Fan& fan, float lifeSpan,
                 const float (&colour)[3]);
    // count particles at (x, y) in the given colour drifting in any
    // direction (each velocity component in [-1, 1)), with 1 to 2 seconds of
    // life.
    void EmitDrift(float x, float y, std::int32_t count, float size, const float (&colour)[3]);

    enum class Fall { none, gravity };
    enum class Hit { pass, bounce };

    // One tick of every particle in the shared order: ageing (the dead are
    // removed), damping, gravity when it falls, move, wrap, shade(p) (the
    // kind's colour and size), terrain bounce when it hits. visits, when set,
    // is raised for every particle visited, the dying ones too (the blink).
    // Inline so that each kind's steps fold into one loop.
    template <typename Shade>
    void Walk(Fall fall, Hit hit, std::int32_t* visits, Shade&& shade)
    {
        const ParticleWorld world = CurrentParticleWorld();
        for (std::size_t i = 0; i < particles.size();) {
            Particle& p = particles[i];
            if (visits != nullptr)
                ++*visits;
            if (!Age(p))
                continue;
            Damp(p, kDamping);
            if (fall == Fall::gravity)
                p.velocity += world.gravity;
            Move(p);
            Wrap(p, world.worldWidth);
            shade(p);
            if (hit == Hit::bounce)
                Bounce(p, world.grid);
            ++i;
        }
    }

    // The start of the one-off bursts: a 100 x 100 box at (x, y) and, when
    // that is near the view, count particles emitted at once.
    void Burst(float x, float y, float a, float b, std::int32_t count)
    {
        box = Rect(100.0f, 100.0f, x, y);
        UpdateVisibilityWide();
        particles.reserve(static_cast<std::size_t>(count));
        Emit(x, y, a, b, count);
    }

    // The update frame of the kinds that work only near the view: false
    // (nothing to do this tick) while the wide box is off screen.
    bool BeginNearView()
    {
        UpdateVisibilityWide();
        return onScreenWide;
    }
    // After the walk: the narrow visibility, and finished once all faded.
    void EndNearView()
    {
        UpdateVisibility();
        if (particles.empty())
            finished = true;
    }

    // Colour of the fading kinds: the base colour scaled by half the life
    // (halving is exact, so k * 0.75 rounds as 0.375 * life would).
    static void FadeColour(Particle& p, float r, float g, float b)
    {
        const float k = 0.5f * p.life;
        SetColour(p, k * r, k * g, k * b);
    }
    // FadeColour, but black on the blink (see BlinksOff).
    static void Flicker(Particle& p, std::int32_t counter, float r, float g, float b)
    {
        if (BlinksOff(counter, p))
            SetColour(p, 0.0f, 0.0f, 0.0f);
        else
            FadeColour(p, r, g, b);
    }
    // Exhaust shading: the channel `fading` goes from 1 to 0 over the last
    // 1.5 s, green from 0.75 to 0 over the first second; the square grows.
    static void Exhaust(Particle& p, int fading)
    {
        const float age = p.maxLife - p.life;
        p.colour[fading] = Interpolate(1.0f, 0.0f, p.maxLife - 1.5f, p.maxLife, age);
        p.colour[1] = Interpolate(0.75f, 0.0f, 0.0f, 1.0f, age);
        p.size += 0.2f;
    }
};
