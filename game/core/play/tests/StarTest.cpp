#include "PlayModeFixture.h"
#include "StarLayer.h"
#include "WorldDraw.h"

#include <gtest/gtest.h>

TEST(Star, ResetLandsInTheViewWhateverTheParallaxOffset)
{
    SeedRandom(1000);
    const Vec2 parallax{-3000.0f, 250.0f};
    for (int layer = 0; layer < kStarLayerCount; ++layer) {
        for (int i = 0; i < 200; ++i) {
            Star star;
            star.layer = layer;
            star.t = 0.7f;
            star.brightening = false;
            star.Reset(parallax);
            const float drawnX = star.x + parallax.x * StarLayerFactor(layer);
            EXPECT_GE(drawnX, -100.0f);
            EXPECT_LE(drawnX, 1099.0f);
            EXPECT_GE(star.y, -200.0f);
            EXPECT_LE(star.y, 499.0f);
            EXPECT_EQ(star.t, 0.0f);
            EXPECT_TRUE(star.brightening);
        }
    }
}

TEST(Star, BrightensOverHalfASecondHoldsThenDimsAndReappears)
{
    SeedRandom(1000);
    Star star;
    star.Reset(Vec2{});
    const Vec2 first{star.x, star.y};
    int ticks = 0;
    while (star.brightening) {
        star.Update(0.02f, Vec2{});
        ++ticks;
    }
    // 0.04 a tick passes 1 after half a second (25 ticks, 26 when the float
    // sum lands exactly on 1); the hold is 1 to 3 seconds.
    EXPECT_TRUE(ticks == 25 || ticks == 26) << ticks;
    EXPECT_GE(star.t, 1.0f);
    EXPECT_LT(star.t, 3.0f);
    const float hold = star.t;
    int holding = 0;
    while (!star.brightening) {
        star.Update(0.02f, Vec2{});
        ++holding;
    }
    EXPECT_NEAR(holding, hold / 0.02f, 1.0f);
    EXPECT_EQ(star.t, 0.0f);
    EXPECT_FALSE(star.x == first.x && star.y == first.y);
}

TEST(Star, LevelStartFillsFortyPerLayerAlreadyMovingAndTheCountHolds)
{
    PlayFixture f;
    f.StartFlatLevel(2000, 4);
    for (int layer = 0; layer < kStarLayerCount; ++layer) {
        ASSERT_EQ(f.game.starLayers[layer].size(), 40u);
        for (const Star& star : f.game.starLayers[layer]) {
            EXPECT_EQ(star.layer, layer);
            EXPECT_FLOAT_EQ(star.t, 0.04f);
        }
    }
    for (int i = 0; i < 500; ++i)
        f.game.UpdatePlay();
    for (int layer = 0; layer < kStarLayerCount; ++layer)
        EXPECT_EQ(f.game.starLayers[layer].size(), 40u);
    // A restart replaces the field rather than adding to it.
    f.game.StartLevel();
    EXPECT_EQ(f.game.starLayers[0].size(), 40u);
}

TEST(Star, LayersDrawFarFirstShiftedByTheirFactorAndDimmedByDepth)
{
    PlayFixture f;
    f.StartFlatLevel(2000, 4);
    for (auto& layer : f.game.starLayers)
        for (Star& star : layer)
            star.t = 2.0f;
    f.game.parallaxOffset = f.game.previousParallaxOffset = {-400.0f, -80.0f};
    f.PlaceCamera(0.0f, 300.0f);
    f.game.player->zoom = 1.0f;
    f.game.DrawWorld(0.0f, f.sink, f.state);
    // Three star batches come first (no sector is visible yet).
    ASSERT_GE(f.sink.batches.size(), 3u);
    EXPECT_EQ(f.sink.batches[0].vertices.size(), 160u);
    EXPECT_FLOAT_EQ(f.sink.batches[0].vertices[0].r, 0.5f);  // far layer: min(t, 1) * 0.5
    EXPECT_FLOAT_EQ(f.sink.batches[1].vertices[0].r, 0.75f);
    EXPECT_FLOAT_EQ(f.sink.batches[2].vertices[0].r, 2.0f);  // near layer: t itself
    EXPECT_TRUE(f.state.Has("Translate(-100,-20)"));
    EXPECT_TRUE(f.state.Has("Translate(-200,-40)"));
    EXPECT_TRUE(f.state.Has("Translate(-400,-80)"));

    EXPECT_EQ(StarBrightness(300.0f), 1.0f);
    EXPECT_NEAR(StarBrightness(725.0f), 0.5f, 1e-6f);
    EXPECT_EQ(StarBrightness(1150.0f), 0.0f);

    // Deep below (camera y at the screen height + 850 or more) no star draws.
    RecordingDrawSink deep;
    f.PlaceCamera(0.0f, 480.0f + 850.0f);
    f.game.DrawWorld(0.0f, deep, f.state);
    EXPECT_TRUE(deep.batches.empty());
}
