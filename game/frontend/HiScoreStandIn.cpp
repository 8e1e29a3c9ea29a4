// Stands in for the high-score screen until it exists: straight back to the
// title.
#include "Game.h"

void Game::EnterHiScoreScreen(bool afterGame)
{
    // After a game the title's music slot holds the countdown music: freed,
    // so the title starts its own again.
    if (afterGame)
        audio.FreeMusic(music[0]);
    EnterTitle();
}
