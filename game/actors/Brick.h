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
    // Removes the present cell under the first circle whose centre lies on
    // one; answers whether it did. Never writes the normal.
    bool CollideShapes(const std::vector<HullCircle>& circles, Vec2* normalOut) override;
    void Die() override;
    Entity* Clone() const override;
    // Its record's fields: the half width and height.
    void ReadMapRecord(const ActorRecord& record) override;
    // Every cell present: trunc(2 * half / 16) columns and rows, none for a
    // negative size, at most kMaxCellsPerSide each.
    void InitCells(float hw, float hh);

    static constexpr std::int32_t kMaxCellsPerSide = 1024;
    // One circle as wide as the larger half side.
    void BuildHull() override;
};
