#pragma once

#include "Entity.h"

#include <cstdint>
#include <vector>

// A destructible wall of 16-unit cells removed one by one by contacts.
class Brick : public Entity {
public:
    float halfWidth = 0.0f;
    float halfHeight = 0.0f;
    std::vector<std::uint8_t> cells; // columns x rows, row-major; 1 = present
    std::int32_t columns = 0;
    std::int32_t rows = 0;

    Brick();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    void Die() override;
    Entity* Clone() const override;
    // One circle as wide as the larger half side.
    void BuildHull() override;
};
