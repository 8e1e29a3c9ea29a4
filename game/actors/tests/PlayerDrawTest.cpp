#include "ShipFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct ShipDraw : ShipFixture {
    ShipDraw()
    {
        StartFlatLevel(2000.0f, 8);
        game.gravity = {};
        PlaceShip({1000.0f, 500.0f}, 0.0f);
        // The actors draw through the pair the world draw holds.
        game.drawSink = &sink;
        game.drawState = &state;
    }

    // Draws the ship alone into a fresh recording.
    void Draw()
    {
        sink = RecordingDrawSink();
        state.calls.clear();
        ship.Draw(1.0f);
    }

    float Brightest() const
    {
        float top = 0.0f;
        for (const auto& v : sink.vertices)
            top = std::max(top, v.r);
        return top;
    }

    int BatchesWhere(bool (*pick)(const RecordingDrawSink::RecordedVertex&)) const
    {
        int n = 0;
        for (const auto& batch : sink.batches)
            n += (!batch.vertices.empty() && pick(batch.vertices.front())) ? 1 : 0;
        return n;
    }
};

TEST(PlayerDraw, HiddenForTheTwoHundredSpawnTicks)
{
    ShipDraw f;
    f.ship.spawnTimer = 200;
    for (int i = 0; i < 199; ++i) {
        f.ShipTick();
        f.Draw();
        ASSERT_TRUE(f.sink.vertices.empty()) << i;
    }
    f.ShipTick();
    f.Draw();
    EXPECT_FALSE(f.sink.vertices.empty());
    f.ship.dying = true;
    f.Draw();
    EXPECT_TRUE(f.sink.vertices.empty());
}

TEST(PlayerDraw, BlinksEveryFifthTickOfTheHitCooldown)
{
    struct Row {
        int cooldown;
        float brightness;
    };
    const Row rows[] = {{50, 0.5f}, {49, 1.0f}, {48, 1.0f}, {47, 1.0f}, {46, 1.0f}, {45, 0.5f}, {0, 1.0f}};
    for (const Row& row : rows) {
        ShipDraw f;
        f.ship.hitCooldown = row.cooldown;
        f.Draw();
        EXPECT_EQ(f.Brightest(), row.brightness) << row.cooldown;
        // Flying: the body and two legs, each one batch.
        EXPECT_EQ(f.sink.batches.size(), 3u);
    }
}

TEST(PlayerDraw, FadesOutOverTheFirstFiftyTicksOfTheLevelEnd)
{
    struct Row {
        bool completed;
        int endTimer;
        float brightness;
    };
    const Row rows[] = {{true, 700, 1.0f}, {true, 675, 0.5f}, {true, 650, 0.0f}, {true, 400, 0.0f},
                        {false, 300, 1.0f}, {false, 250, 0.0f}};
    for (const Row& row : rows) {
        ShipDraw f;
        (row.completed ? f.game.missionState.completed : f.game.missionState.aborted) = true;
        f.ship.endTimer = row.endTimer;
        f.ship.landed = true; // always drawn flying in the level end
        f.Draw();
        EXPECT_FLOAT_EQ(f.Brightest(), row.brightness) << row.endTimer;
        EXPECT_EQ(f.sink.batches.size(), 3u);
    }
}

TEST(PlayerDraw, TheShieldIsTenSegmentsRedAfterAStop)
{
    ShipDraw f;
    f.ship.shieldOn = true;
    f.ship.angle = f.ship.previousAngle = 77.0f; // the shield ignores the ship's turn
    f.Draw();
    EXPECT_EQ(f.sink.batches.size(), 13u);
    int shieldTurns = 0;
    for (std::size_t i = 0; i + 1 < f.state.calls.size(); ++i)
        if (f.state.calls[i].rfind("Translate(1000,500)", 0) == 0 && f.state.calls[i + 1] != "Rotate(-77)")
            ++shieldTurns;
    EXPECT_EQ(shieldTurns, 10);
    EXPECT_EQ(f.BatchesWhere([](const auto& v) { return v.g == 0.0f && v.r > 0.0f; }), 0);
    f.ship.redShieldTimer = 5;
    f.Draw();
    EXPECT_EQ(f.BatchesWhere([](const auto& v) { return v.g == 0.0f && v.r > 0.0f; }), 10);
}

TEST(PlayerDraw, AStandingShipDrawsItsStandingModel)
{
    ShipDraw f;
    f.ship.landed = true;
    f.Draw();
    // "Player" has three beams in one batch; no legs.
    ASSERT_EQ(f.sink.batches.size(), 1u);
    EXPECT_EQ(f.sink.batches[0].vertices.size(), 36u);
}

} // namespace
