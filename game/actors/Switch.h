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
    // Any hit presses it; its health never changes.
    void Damage(float amount) override;
    // The ship or a laser beam presses it; always a collision.
    bool OnContact(Entity* other) override;
    void Die() override;
    Entity* Clone() const override;
    // Its record's fields: the name.
    void ReadMapRecord(const ActorRecord& record) override;
    // A hand-back from what it activated: pops out or in again, ignored
    // while cooling down.
    void Activate(Entity* source) override;

    // Presses the switch and activates its named actors.
    void Fire();

    static constexpr std::int32_t kCooldownTicks = 5;
};
