#include "TurnedView.h"

#include "Game.h"
#include "WorldDrawState.h"

void SetupTurnedView(const Game& game, WorldDrawState& state, float width, float height, float shift)
{
    state.Setup2DView(width, height);
    if (game.rotatedScreen) {
        state.Rotate(90.0f);
        state.Translate(-shift, 0.0f);
    }
}
