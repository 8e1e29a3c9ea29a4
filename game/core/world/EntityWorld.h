#pragma once

#include <cstdint>

class ModelSource;
class SectorGrid;

// What an entity reaches of the running game: the grid it registers in, the
// models its hull comes from and the score its points go to. The Game is the
// current world while it lives; without one an entity registers nowhere,
// gets no model hull and pays no points.
class EntityWorld {
public:
    virtual SectorGrid& Grid() = 0;
    // Null until the models are loaded.
    virtual const ModelSource* Models() const = 0;
    // Adds to the player's score, saturating at the int32 limits; nothing
    // without a player.
    virtual void PayPoints(std::int32_t points) = 0;

protected:
    ~EntityWorld() = default;
};

// The current world, or null.
extern EntityWorld* theWorld;
