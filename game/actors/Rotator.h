#pragma once

#include "Entity.h"
#include "EntityList.h"
#include "MapData.h"

#include <cstdint>
#include <vector>

// An invisible rotating platform that turns and carries the beams and actors
// of its circle.
class Rotator : public Entity {
public:
    RotatorDef def;
    std::vector<Beam*> carriedBeams;            // live beams
    std::vector<EntityRef<>> carriedActors;     // riders, the ship included
    EntityRef<> target;                         // the target or mover it follows
    bool active = false;
    // Wider than the map's int32 step: stops at multiples of a step at the
    // int32 limits lie beyond them.
    std::int64_t goalAngle = 0;
    bool returning = false;
    bool pausing = false;
    float pauseTimer = 0.0f;
    EntityRef<> activator;
    bool halfStepDone = false;
    std::int32_t loopChannel = -1;
    bool loopPlaying = false;

    Rotator();

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
    void Activate(Entity* source) override;

    // Moves everything carried by d and re-registers it.
    void Translate(float dx, float dy);
    // Turns everything carried by this tick's angle change about the
    // platform's position.
    void ApplyRotation();

private:
    void ReachGoal();
    bool GoalPassed() const;
    void StopLoop();
};
