#pragma once

#include "Particle.h"
#include "ParticleSystem.h"
#include "ParticleTerrain.h"
#include "ParticleWorld.h"
#include "Sector.h"
#include "SectorGrid.h"

#include <cstdint>

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
};

// Blink step of the sparks, puffs and debris: the counter has been raised for
// this visit; an even count dims a particle in its last 1.5 s to black.
inline bool BlinksOff(std::int32_t counter, const Particle& p)
{
    return counter % 2 == 0 && p.life < 1.5f;
}
