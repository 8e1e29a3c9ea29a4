#pragma once

#include "Entity.h"

#include <cstdint>

// A stationary gun launching one seeker at the ship.
class RedTurret : public Entity {
public:
    std::int32_t fireTimer = 0;

    RedTurret();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    void Die() override;
    Entity* Clone() const override;

    static constexpr std::int32_t kPoints = 75;
};
