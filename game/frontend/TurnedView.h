#pragma once

class Game;
class WorldDrawState;
struct ScreenCanvas;

// The 2D view of width x height units over the whole window, turned a
// quarter turn and moved back into view (by shift) while the screen is
// turned: layout (x, y) then shows at (y, height - x).
void SetupTurnedView(const Game& game, WorldDrawState& state, float width, float height, float shift);

// The start of a full-screen page drawn over the particles: the window
// cleared to black, the turned view over the whole window, the particles
// drawn additively with the beam texture.
void DrawParticleBackdrop(Game& game, ScreenCanvas& canvas, float alpha);
