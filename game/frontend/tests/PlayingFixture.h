#pragma once

#include "FrontendFixture.h"
#include "PauseMenu.h"

#include <gtest/gtest.h>

constexpr int kPauseKey = 112;
constexpr int kEscapeKey = 27;

// A game in play on the first map of the demo pack, its music in slot A,
// after the ship's spawn has faded the level in (no pause during a fade).
struct Playing : Frontend {
    Playing()
    {
        game.audio.LoadMusic("Data/Sound/Dizura Zeve.mp3", game.music[0]);
        EXPECT_TRUE(game.NewGame());
        Frames(5);
        EXPECT_FALSE(game.fades.empty());
        EXPECT_LT(FramesUntil([&] { return game.fades.empty(); }), 60);
        host.audio.calls.clear();
    }

    PauseMenu* OpenPause()
    {
        Tap(kPauseKey);
        PauseMenu* menu = TopAs<PauseMenu>();
        Frames(50); // its opening fade (no key acts meanwhile)
        return menu;
    }

    // The positions of everything that moves in the level.
    std::vector<float> WorldState() const
    {
        std::vector<float> values{game.player->position.x, game.player->position.y,
                                  static_cast<float>(game.bonusTime)};
        for (const auto& layer : game.starLayers)
            for (const Star& star : layer)
                values.push_back(star.t);
        return values;
    }
};

