#pragma once

#include "Entity.h"

#include <cstdint>

// Scenery: an animated station, indestructible and not solid.
class Station : public Entity {
public:
    std::int32_t tickCount = 0;

    Station();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    bool OnContact(Entity* other) override;
    void Die() override;
    Entity* Clone() const override;
    // The two models alternate every 5 ticks.
    const char* ModelName() const;
};
