#pragma once

#include "Entity.h"

#include <cstdint>

// A stationary gun firing spinning bullets at the ship.
class BlueTurret : public Entity {
public:
    std::int32_t fireTimer = 0; // ticks to the next fire attempt


    BlueTurret();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    void Die() override;
    Entity* Clone() const override;

    static constexpr std::int32_t kPoints = 50;
};
