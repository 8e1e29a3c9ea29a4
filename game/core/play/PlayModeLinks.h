#pragma once

#include "Game.h"
#include "ResourceTables.h"

// What the play tick needs of the menu stack, the input, the sound and the
// effect lists, in one place. Where a part of the game is still to come the
// link says so and keeps the tick's order intact.

// PAUSE or escape went down this tick.
inline bool PauseKeyPressed(const Game& game)
{
    return game.input.Button(ButtonPause).key.state == KeyState::Pressed ||
           game.input.Button(ButtonEscape).key.state == KeyState::Pressed;
}

// The pause menu stands in for the whole menu stack until it exists: it
// opens keeping the tick length aside (the menu runs at 0.02 s), and closes
// at once, giving the tick length back.
inline bool HasMenus(const Game& game) { return game.pauseMenuOpen; }

inline void CloseEveryMenu(Game& game)
{
    if (!game.pauseMenuOpen)
        return;
    game.pauseMenuOpen = false;
    game.tickLength = game.savedTickLength;
}

inline void OpenPauseMenu(Game& game)
{
    game.pauseMenuOpen = true;
    game.savedTickLength = game.tickLength;
    game.tickLength = 0.02f;
}

// The menus' update-or-reap pass (the stand-in needs none).
inline void UpdateMenus(Game&) {}

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
// Both projectile lists: they join the Game with the shots.
inline void UpdateProjectileLists(Game&) {}
