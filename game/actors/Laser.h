#pragma once

#include "Beam.h"
#include "Entity.h"
#include "EntityName.h"
#include "LaserMarch.h"

#include <cstdint>

struct Line;
class Player;
class Sector;

// A fixed emitter of a straight beam switched on and off by a timer or by
// activation.
class Laser : public Entity {
public:
    char name[kEntityNameBytes] = {};
    bool startsOn = false;
    bool on = false;
    float onTime = 0.0f;     // seconds; 0 or less: never switches off by itself
    float offTime = 0.0f;    // seconds; 0 or less: never switches on by itself
    float phaseTimer = 0.0f; // seconds in the current phase
    Beam beam;               // the beam of the last tick it was on
    float startDelay = 0.0f;  // extra length of the first phase
    std::int32_t onTicks = 0;
    EntityRef<> activator;   // told at every automatic phase change
    std::int32_t beamChannel = -1;
    bool beamSoundPlaying = false;
    // The beam record holds a cast beam; false before the first on tick and
    // while the start lies outside the grid (then nothing is cast).
    bool hasBeam = false;

    Laser();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    // The body, and the beam while it is on.
    bool CollideShapes(const std::vector<HullCircle>& circles, Vec2* normalOut) override;
    void Die() override;
    Entity* Clone() const override;
    // Its record's fields: name, on and off times, start delay, whether it starts on.
    void ReadMapRecord(const ActorRecord& record) override;
    // By the hull and along the whole beam.
    void EnterSectors() override;
    // Toggles the beam and restarts the phase without the start delay.
    void Activate(Entity* source) override;
    const char* OwnName() const override { return name; }

    // Damage the beam deals the ship at a touch, inside its hit cooldown too.
    static constexpr float kBeamDamage = 100.0f;
    // Length of one march step along the axis.
    static constexpr float kMarchStep = 125.0f;

protected:
    // The march's visit of one cell's entities, in list order, as a walk of
    // the whole list would meet them: presses each switch the laser touches
    // and burns a ship the beam meets. A cell is met by up to 18 visits of
    // one march, so this walk finds a cell's switches and ships once a march
    // (leaving out switches out of reach of the body and the last beam) and
    // revisits only those, starting over after anything left the cell. A
    // test walks the whole list instead, to compare.
    virtual void VisitCell(Sector& cell, const Line* lastBeam, Vec2 muzzle, Vec2 end);
    // Burns the ship where the line from the muzzle to the march's end
    // meets its hull, when the laser touches it.
    void BurnShip(Player& ship, Vec2 muzzle, Vec2 end);

private:
    // Casts the beam from the start a0 along -u; the beam record and the
    // strike (for sparks) follow.
    void CastBeam(Vec2 a0, Vec2 muzzle, Vec2 u);
    // CollideShapes against the body and, when given, the beam's segment.
    bool Touches(const std::vector<HullCircle>& circles, Vec2* normalOut, const Line* segment) const;
    void PlayPhaseSound();

    // The cells the march met, kept for the next march (a march never starts
    // another march of the same laser, so one set serves).
    LaserMarchScans marchScans;
};
