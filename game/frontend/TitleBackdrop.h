#pragma once

class Game;

// One tick of the level behind the title and the screens after it: the
// visible cells around the resting camera, the actors, effects, shots and
// stars; the ship itself does not move.
void UpdateBackdrop(Game& game);
