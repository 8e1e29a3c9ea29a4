#pragma once

#include "Entity.h"

#include <cstdint>

// The map's power plant; the last one's death starts the self-destruct.
class Generator : public Entity {
public:
    bool destroyed = false;
    std::int32_t deathTimer = 0; // ticks left of the death sequence

    Generator();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    // Acts only while health > 0; a generator at 0 or below starts burning.
    void Damage(float amount) override;
    // Once: bursts, debris, 1000 points; the last one starts the countdown.
    void Die() override;
    Entity* Clone() const override;

private:
    // One of the burning sequence's small explosions near the top.
    void SmallBurst();
    // Every model beam becomes a Debris piece flying out from the centre.
    void BreakUp(Vec2 forward, Vec2 side);
};
