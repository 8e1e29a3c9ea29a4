#pragma once

#include "Vec2.h"

class Player;
class SectorGrid;

// What the particle systems read of the running game in one update: the
// view, the wrap width, gravity, the terrain and the ship. The running game
// provides it; without a game (or without a player) the defaults stand.
struct ParticleWorld {
    Vec2 camera;                       // top-left of the view
    Vec2 screenSize{640.0f, 480.0f};
    Vec2 screenCentre{320.0f, 240.0f};
    float worldWidth = 0.0f;
    Vec2 gravity;
    const SectorGrid* grid = nullptr;  // null: no terrain to bounce off
    Player* player = nullptr;
};

// Where the running game's view comes from: the Game installs its own while
// it lives; null leaves the defaults.
using ParticleWorldSource = ParticleWorld (*)();
void SetParticleWorldSource(ParticleWorldSource source);

// The source's answer, or the defaults without a source.
ParticleWorld CurrentParticleWorld();
