#pragma once

#include "Entity.h"
#include "EntityName.h"

#include <cstdint>

// An invisible named point that platforms sit on and travel between.
class Target : public Entity {
public:
    Vec2 point;
    char name[kEntityNameBytes] = "EMPTY";

    Target();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    bool OnContact(Entity* other) override;
    void Die() override;
    Entity* Clone() const override;
    const char* OwnName() const override { return name; }
};
