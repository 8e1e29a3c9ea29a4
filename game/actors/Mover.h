#pragma once

#include "Entity.h"
#include "EntityList.h"
#include "MapData.h"

#include <cstdint>
#include <vector>

// A moving platform carrying the beams and actors of its box between two
// targets. Its hull stays empty: the box is its shape in the grid.
class Mover : public Entity {
public:
    MoverDef def;
    std::vector<Beam*> carriedBeams;
    std::vector<EntityRef<>> carriedActors;
    EntityRef<> targetA;
    EntityRef<> targetB;
    bool active = false;
    bool returning = false;
    bool waiting = false;
    float waitTimer = 0.0f;
    float travelTimer = 0.0f;
    bool delayPending = false;
    EntityRef<> activator;
    std::int32_t loopChannel = -1;
    bool loopPlaying = false;

    Mover();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    bool OnContact(Entity* other) override;
    void Die() override;
    Entity* Clone() const override;
    // Takes over the live beams and actors of its area at level start.
    void Link(std::vector<Beam>& liveBeams, EntityList& entities) override;
    const char* OwnName() const override { return def.name; }
    // Registers by its box.
    void EnterSectors() override;
    // The box enters the grid once the level is built, so a ship standing on
    // an idle platform is carried from its first move.
    void PostLoad() override;
    // The path box moves with the world.
    void MoveArea(Vec2 offset) override;
    bool CollideShapes(const std::vector<HullCircle>& circles, Vec2* normalOut) override;
    void Activate(Entity* source) override;

    // Moves everything carried by d and re-registers it.
    void MoveCarried(float dx, float dy);

private:
    void Travel(Vec2 a, Vec2 b);
    void Arrive();
    void StopLoop();
    // The circle of the travelling sound: the box's larger half size about
    // the position.
    HullCircle SoundCircle() const;
};
