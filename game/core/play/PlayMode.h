#pragma once

#include "Rect.h"

#include <vector>

class Game;
class Sector;
class SectorGrid;

// The pieces of the play tick, each a step of Game::UpdatePlay, public so
// tests can drive one step alone.

// Background colours of the detonation flash, by colour index 0..7.
struct FlashColour {
    float r, g, b;
};
const FlashColour& DetonationFlashColour(int index);

// The self-destruct countdown, the detonation and its delayed blast.
void RunSelfDestruct(Game& game);
// The blast: the ship takes 100, every actor of the visible sectors dies
// once, every beam of the visible sectors becomes a flying debris piece.
void DetonateVisibleSectors(Game& game);
// One point of bonus every second tick unless the mission is completed.
void CountBonusTime(Game& game);
// While the ship is dying: the tick length grows 5 % a tick up to 0.1 s
// during the first 50 ticks of the death, then shrinks 10 % back to 0.02 s.
void ApplyDeathSlowMotion(Game& game);
// Refills the visible and active sector lists around the camera for the
// three wrap images (-W, 0, +W).
void QueryPlaySectors(Game& game);
// The cells of box for each wrap image: list 1 unmoved, list 0 moved by +W,
// list 2 by -W.
void SectorsForWrapImages(const SectorGrid& grid, Rect box, std::vector<Sector*> lists[3]);
