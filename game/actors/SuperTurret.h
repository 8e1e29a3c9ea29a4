#pragma once

#include "Entity.h"

#include <cstdint>

// A stationary gun launching three seekers; a hit makes it flash and
// shrug off damage for a while.
class SuperTurret : public Entity {
public:
    std::int32_t fireTimer = 0;
    std::int32_t flashTimer = 0; // ticks of the hit flash (no damage meanwhile)

    SuperTurret();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    void Die() override;
    Entity* Clone() const override;

    static constexpr std::int32_t kPoints = 200;
    static constexpr std::int32_t kFlashTicks = 25;
};
