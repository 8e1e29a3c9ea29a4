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
    void Die() override;
    Entity* Clone() const override;
};
