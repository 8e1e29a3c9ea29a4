#pragma once

#include "Entity.h"

#include <cstdint>

// A burning piece of the ship's wreck (types 1000 to 1006).
class PlayerDebris : public Entity {
public:
    float spin = 0.0f; // degrees per tick
    Vec2 velocity;
    std::int32_t smokeCounter = 0;

    PlayerDebris();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    void Die() override;
    Entity* Clone() const override;
};
