#pragma once

class DrawSink;
class Game;
class WorldDrawState;

// The three star layers behind the level, far layer first.
void DrawStarLayers(const Game& game, float alpha, DrawSink& sink, WorldDrawState& state);
// Grey level of the stars: 1 with the camera at y 300 or above, falling to 0
// at y 1150 and below.
float StarBrightness(float cameraY);
