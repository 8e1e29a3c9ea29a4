#pragma once

#include "Beam.h"
#include "Entity.h"

#include <cstdint>

// Scenery that stops shots; its type (8 to 13) picks one of six shapes.
class Tree : public Entity {
public:
    Tree();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    bool OnContact(Entity* other) override;
    void Die() override;
    Entity* Clone() const override;

    // The particles and colour of the burst of each of the six shapes.
    static std::int32_t BurstCount(EntityType type);
    static Rgb BurstColour(EntityType type);
};
