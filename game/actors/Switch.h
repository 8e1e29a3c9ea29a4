#pragma once

#include "Entity.h"
#include "EntityName.h"

#include <cstdint>

// A button that activates the platforms and lasers bearing its name.
class Switch : public Entity {
public:
    bool pressed = false;
    char name[kEntityNameBytes] = {}; // the name it activates
    std::int32_t cooldown = 0;    // ticks during which Activate is ignored

    Switch();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Die() override;
    Entity* Clone() const override;
};
