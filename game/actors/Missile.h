#pragma once

#include "ParticleRef.h"
#include "Entity.h"

#include <cstdint>

class Trail;
class SmokeTrailParticles;

// A homing missile, dormant until the ship comes into its cone.
class Missile : public Entity {
public:
    bool dormant = false;
    Vec2 velocity;
    ParticleRef<Trail> trail;               // the ribbon list owns it; reads null once deleted
    ParticleRef<SmokeTrailParticles> smoke; // the particle list owns it; reads null once deleted
    std::int32_t loopChannel = 0;
    bool loopPlaying = false;

    Missile();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    void Die() override;
    Entity* Clone() const override;
    // Waiting for the ship; a carrying platform keeps a dormant missile.
    bool IsDormant() const { return dormant; }
    bool LeavesCarrier() override { return !IsDormant(); }
};
