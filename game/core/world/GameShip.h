#pragma once

#include "Vec2.h"

#include <cstdint>

class Entity;

// The score, lives and next extra-life threshold the saved game keeps.
struct ShipTally {
    std::int32_t score = 0;
    std::int32_t lives = 0;
    std::int32_t nextExtraLife = 0;
};

// What the game's own passes ask of the player's ship: the level start, the
// play tick, the world draw, positioned sounds, a new game and the saved
// game. The ship (an actor) implements it, so those passes name no actor
// class and reach only this much of it.
class GameShip {
public:
    // The ship as an entity: its pose, hull, cells and update.
    virtual Entity& Body() = 0;
    // The view: its top-left now and one tick before, and its zoom.
    virtual Vec2 Camera() const = 0;
    virtual Vec2 PreviousCamera() const = 0;
    virtual float Zoom() const = 0;
    // Whether the ship is dying, and the ticks its death sequence has run.
    virtual bool Dying() const = 0;
    virtual std::int32_t DeathTicks() const = 0;

    // Before the old level is cleared: leaves its cells, platform and beam,
    // and counts as spawning, so nothing that waits for a spawning ship
    // starts during the warm-up updates.
    virtual void LeaveLevel() = 0;
    // After the first warm-up pass: spawns at the respawn point, standing on
    // nothing, unzoomed, spawning.
    virtual void EnterLevel() = 0;
    // After the last warm-up update: the spawn's zoom and full spawn time.
    virtual void FinishLevelStart() = 0;
    // A level-start clone of the map template `templateIndex`; the one made
    // from the current checkpoint's template becomes current again.
    virtual void MeetClone(Entity& clone, std::int32_t templateIndex) = 0;
    // A new map: the respawn point at the map's start, no checkpoint.
    virtual void ForgetMap() = 0;
    // The values of a new game.
    virtual void ResetStats() = 0;

    virtual ShipTally Tally() const = 0;
    virtual void SetTally(const ShipTally& tally) = 0;

protected:
    ~GameShip() = default;
};
