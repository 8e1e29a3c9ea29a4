#pragma once

#include "Entity.h"
#include "MapData.h"

#include <cstdint>

// An invisible box that activates named actors when the ship touches it.
class TriggerAction : public Entity {
public:
    TriggerDef def;
    bool fired = false; // ignores the ship until armed again

    TriggerAction();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    bool OnContact(Entity* other) override;
    void Die() override;
    Entity* Clone() const override;
    // Registers by its box.
    void EnterSectors() override;
    void PostLoad() override;
    // The zone moves with the world.
    void MoveArea(Vec2 offset) override;
    bool CollideShapes(const std::vector<HullCircle>& circles, Vec2* normalOut) override;
    // A hand-back arms the zone again.
    void Activate(Entity* source) override;

    // Activates the idle platforms and the lasers bearing its name.
    void Fire();
};
