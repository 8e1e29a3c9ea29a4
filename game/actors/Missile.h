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

    // The ship in the nose cone, near enough, with no beam nearer than it
    // on the line toward it.
    bool SeesShip() const;
    // A beam on the line toward the ship (direction d) nearer than `range`.
    bool SightBlocked(Vec2 d, float range) const;

    static constexpr std::int32_t kPoints = 130;
    static constexpr float kCone = 0.5f;        // |d . F| below this: within 30 degrees
    static constexpr float kWakeRange = 300.0f;
    static constexpr float kSightSearch = 600.0f;
    static constexpr float kTurn = 4.5f;
    static constexpr float kActorDamage = 10.0f;
    static constexpr float kSelfDamage = 100.0f;

private:
    void Launch();
    void Fly();
    // Beams and actors the hull touches; every accepting actor is damaged.
    void Touch();
};
