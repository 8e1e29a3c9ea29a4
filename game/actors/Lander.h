#pragma once

#include "Entity.h"
#include "Scientist.h"

#include <cstdint>

// The abductor: wanders, picks a scientist below, swallows it and becomes a
// mutant.
class Lander : public Entity {
public:
    Vec2 velocity;
    std::int32_t fireTimer = 0;
    bool driftRight = false;
    bool abducting = false;
    bool carrying = false;  // a mutant
    bool mutating = false;
    std::int32_t mutateTicks = 0;
    float phase = 0.0f;      // radians
    EntityRef<Scientist> target;
    std::int32_t searchTimer = 0;
    std::int32_t ticks = 0;

    Lander();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    void Die() override;
    Entity* Clone() const override;
};
