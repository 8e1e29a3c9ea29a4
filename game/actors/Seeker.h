#pragma once

#include "Beam.h"
#include "ParticleRef.h"
#include "Projectile.h"

class Trail;

// The turrets' homing shot: turns toward the ship every tick, thrusts along
// its nose, leaves an orange ribbon, and bursts at the terrain, at an actor
// or after 5.5 s. It hits only in play.
class Seeker : public Projectile {
public:
    ParticleRef<Trail> trail; // owned by the ribbon list

    void Spawn(float x, float y, float vx, float vy, float angle) override;
    void Update() override;
    void Draw(float alpha) override;

    static constexpr float kLife = 5.5f;
    static constexpr float kDamage = 30.0f;
    static constexpr float kActorDamage = 10.0f;
    static constexpr float kTurn = 3.5f;
    static constexpr Rgb kColour{1.0f, 0.75f, 0.0f};

private:
    // Flags the shot dead with the small orange burst.
    void Burst();
    void Strike(Entity& victim);
};
