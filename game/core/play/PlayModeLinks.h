#pragma once

#include "Game.h"
#include "PauseMenu.h"
#include "Projectile.h"
#include "ResourceTables.h"

#include <memory>

// What the play tick needs of the menu stack, the input, the sound and the
// effect lists, in one place. Where a part of the game is still to come the
// link says so and keeps the tick's order intact.

// PAUSE or escape went down this tick.
inline bool PauseKeyPressed(const Game& game)
{
    return game.input.Button(ButtonPause).key.state == KeyState::Pressed ||
           game.input.Button(ButtonEscape).key.state == KeyState::Pressed;
}

inline bool HasMenus(const Game& game) { return !game.menus.empty(); }

inline void CloseEveryMenu(Game& game) { game.CloseAllMenus(); }

// The pause menu in the middle of the screen; it keeps the tick length aside.
inline void OpenPauseMenu(Game& game)
{
    game.menus.push_back(std::make_unique<PauseMenu>(100, 150, game.screenCentre.x, game.screenCentre.y));
}

inline void PauseGameAudio(Game& game) { game.audio.PauseAudio(); }
inline void ResumeGameAudio(Game& game) { game.audio.ResumeAudio(); }

// A sample played once on a free channel, centred.
inline void PlayCentred(Game& game, SampleId id)
{
    const int channel = game.audio.PlaySample(game.resources.Sample(id), false);
    game.audio.SetChannelPosition(channel, 0, 0);
}

inline void ClearMouseMotion(Game& game) { game.input.mouseMotion = {}; }

inline void UpdateParticleLists(Game& game)
{
    game.particles.Update();
    game.ribbons.Update();
}
// Both shot lists, the player's first.
inline void UpdateProjectileLists(Game& game)
{
    PassProjectiles(game.playerShots);
    PassProjectiles(game.enemyShots);
}
