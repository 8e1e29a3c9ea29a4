// The screens still to come (high scores, game over, continue): each keeps
// the level running behind it and draws it with the fades, nothing more.
#include "Game.h"
#include "TitleBackdrop.h"

void Game::UpdateScreenStandIn()
{
    tickLength = 0.02f;
    UpdateBackdrop(*this);
}

void Game::DrawScreenStandIn(float alpha)
{
    DrawTitle(alpha);
}
