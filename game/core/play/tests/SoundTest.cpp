#include "PlayModeFixture.h"
#include "PositionedSound.h"

#include <gtest/gtest.h>

#include <set>

TEST(PositionedSound, PlacementTable)
{
    const WrapFrame frame{{1000, 500}, 4000};
    struct Case {
        float x, y;
        int angle, distance;
        const char* what;
    };
    const Case cases[] = {
        {1000, 500, 0, 0, "at the ship: centred"},
        {745, 500, 270, 140, "255 to the left"},
        {1255, 500, 90, 140, "255 to the right"},
        {1000, 245, 180, 140, "255 above"},
        {1000, 755, 180, 140, "255 below"},
        {1100, 500, 144, 55, "100 to the right"},
        // Beyond 255 the side term saturates; the distance is passed as is
        // (the mixer cuts it to 255).
        {400, 500, 270, 330, "600 to the left stays left"},
        {1600, 500, 90, 330, "600 to the right stays right"},
        {2900, 500, 90, 1045, "1900 to the right stays right"},
    };
    for (const Case& c : cases) {
        const SoundPlacement p = ComputeSoundPlacement(c.x, c.y, frame);
        EXPECT_EQ(p.angle, c.angle) << c.what;
        EXPECT_EQ(p.distance, c.distance) << c.what;
    }
}

TEST(PositionedSound, TheNearestShipImageAcrossTheWrapDecidesSide)
{
    // Ship near the left edge: a sound near the right edge is 20 units to
    // the ship's left through the wrap, not 980 to its right.
    const WrapFrame frame{{10, 500}, 1000};
    const SoundPlacement p = ComputeSoundPlacement(990, 500, frame);
    EXPECT_EQ(p.angle, 187);
    EXPECT_EQ(p.distance, 11);
    const SoundPlacement q = ComputeSoundPlacement(30, 500, frame);
    EXPECT_EQ(q.angle, 172);
}

TEST(PositionedSound, GameSendsThePlacementToTheMixerAndSkipsNegativeChannels)
{
    PlayFixture f;
    f.game.player->position = {1000, 500};
    f.host.audio.calls.clear();
    f.game.PositionSound(3, 745, 500);
    f.game.PositionSound(-1, 745, 500);
    f.game.PositionSound(4, 1000, 500);
    const std::vector<std::string> expected = {"SetPosition(3,270,140)", "SetPosition(4,0,0)"};
    EXPECT_EQ(f.host.audio.calls, expected);
}

TEST(PositionedSound, ExplosionsPlayOneSampleOfTheirFamilyPlacedWhereTheyHappen)
{
    PlayFixture f;
    f.LoadFakeSamples();
    f.game.player->position = {1000, 500};
    struct Family {
        void (Game::*play)(float, float);
        std::set<std::string> chunks;
    };
    // Sample ids 8..9 small, 10..12 medium, 13..15 big: chunk#n is id n.
    const Family families[] = {
        {&Game::PlaySmallExplosionAt, {"chunk#8", "chunk#9"}},
        {&Game::PlayMediumExplosionAt, {"chunk#10", "chunk#11", "chunk#12"}},
        {&Game::PlayBigExplosionAt, {"chunk#13", "chunk#14", "chunk#15"}},
    };
    for (const Family& family : families) {
        std::set<std::string> seen;
        for (int i = 0; i < 30; ++i) {
            f.host.audio.calls.clear();
            f.host.audio.playing.assign(f.host.audio.playing.size(), false);
            (f.game.*family.play)(1255, 500);
            ASSERT_EQ(f.host.audio.calls.size(), 2u);
            const std::string& play = f.host.audio.calls[0];
            const std::string chunk = play.substr(play.find("chunk#"), play.find(',', 20) - play.find("chunk#"));
            EXPECT_EQ(play, "PlayChannelTimed(-1," + chunk + ",0,-1)");
            seen.insert(chunk);
            EXPECT_EQ(f.host.audio.calls[1], "SetPosition(0,90,140)");
        }
        EXPECT_EQ(seen, family.chunks);
    }
    // With every channel busy the explosion is not positioned at all.
    f.host.audio.calls.clear();
    f.host.audio.playing.assign(f.host.audio.playing.size(), true);
    f.game.PlayBigExplosionAt(0, 0);
    EXPECT_EQ(f.CallsStartingWith("SetPosition"), 0);
}
