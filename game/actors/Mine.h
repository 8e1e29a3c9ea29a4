#pragma once

#include "Entity.h"

#include <cstdint>

// A floating mine swaying where it was placed or laid.
class Mine : public Entity {
public:
    float phaseOffset = 0.0f; // [-5, 5)
    bool reversed = false;

    Mine();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    void Die() override;
    Entity* Clone() const override;

    static constexpr std::int32_t kPoints = 60;
};
