#pragma once

class Game;
class WorldDrawState;

// The 2D view of width x height units over the whole window, turned a
// quarter turn and moved back into view (by shift) while the screen is
// turned: layout (x, y) then shows at (y, height - x).
void SetupTurnedView(const Game& game, WorldDrawState& state, float width, float height, float shift);
