#include "FrontendFixture.h"

#include "HudValues.h"
#include "Sector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// The window sizes the HUD is checked at: the fixture's view, then its window.
struct Screen {
    int viewWidth;
    bool rotated;
    int windowWidth;
    int windowHeight;
};
const Screen kScreens[] = {
    {640, false, 640, 480}, {854, false, 854, 480}, {854, false, 1280, 720},
    {640, true, 480, 640},  {854, true, 480, 854},  {854, true, 720, 1280},
};

struct Hud : Frontend {
    explicit Hud(const Screen& s) : Frontend(s.viewWidth, s.rotated)
    {
        game.windowWidth = s.windowWidth;
        game.windowHeight = s.windowHeight;
        Player& ship = *game.player;
        ship.hull = 50.0f;
        ship.fuel = 150.0f;
        ship.lives = 3;
        ship.score = 1234;
        ship.spawnTimer = 0;
        game.selfDestruct.running = true; // no radar unless a test wants it
    }
    void Draw()
    {
        text.lines.clear();
        sink.vertices.clear();
        sink.batches.clear();
        state.calls.clear();
        game.DrawHud(1.0f, canvas);
    }
    std::string StateCalls() const
    {
        std::string all;
        for (const std::string& call : state.calls)
            all += call + ";";
        return all;
    }
};

// A number as the recording state prints it.
std::string Num(float v)
{
    std::string s = std::to_string(v);
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    return s;
}

std::string Tr(float x, float y) { return "Translate(" + Num(x) + "," + Num(y) + ")"; }

int SubViewports(const RecordingWorldState& state)
{
    int n = 0;
    for (const std::string& call : state.calls)
        n += call.rfind("Viewport(", 0) == 0 ? 1 : 0;
    return n;
}

TEST(HudValues, TimersAndTotals)
{
    EXPECT_NEAR(CountdownScale(59.99f), 0.51f, 1e-3f);
    EXPECT_NEAR(CountdownScale(59.01f), 1.49f, 1e-3f);

    struct AlphaCase {
        int t;
        float aborted;
    };
    for (const AlphaCase c : {AlphaCase{300, 0.0f}, AlphaCase{275, 0.5f}, AlphaCase{250, 1.0f}, AlphaCase{200, 1.0f},
                              AlphaCase{150, 1.0f}, AlphaCase{125, 0.5f}, AlphaCase{100, 0.0f}})
        EXPECT_FLOAT_EQ(AbortedAlpha(c.t), c.aborted) << c.t;

    for (const int start : {650, 600, 550, 500, 450}) {
        SCOPED_TRACE(start);
        EXPECT_EQ(TallyRowAlpha(start + 1, start), 0.0f);
        EXPECT_EQ(TallyRowAlpha(start, start), 0.0f);
        EXPECT_FLOAT_EQ(TallyRowAlpha(start - 25, start), 0.5f);
        EXPECT_EQ(TallyRowAlpha(start - 50, start), 1.0f);
        EXPECT_EQ(TallyRowAlpha(200, start), 1.0f);
        EXPECT_FLOAT_EQ(TallyRowAlpha(125, start), 0.5f);
        EXPECT_EQ(TallyRowAlpha(100, start), 0.0f);
        EXPECT_EQ(TallyValueBlue(start, start), 1.0f);
        EXPECT_FLOAT_EQ(TallyValueBlue(start - 50, start), 0.5f);
        EXPECT_EQ(TallyValueBlue(start - 100, start), 1.0f);
    }
    EXPECT_EQ(CompletedAlpha(700), 0.0f);
    EXPECT_EQ(CompletedAlpha(650), 1.0f);
    EXPECT_EQ(CompletedAlpha(100), 0.0f);

    struct StageCase {
        int p;
        float a;
    };
    for (const StageCase c : {StageCase{200, 0.0f}, StageCase{175, 1.0f}, StageCase{150, 1.0f}, StageCase{75, 0.5f},
                              StageCase{0, 0.0f}})
        EXPECT_FLOAT_EQ(StageAlpha(c.p), c.a) << c.p;

    // The score counts the bonus in while the total counts it out.
    EXPECT_EQ(ShownScore(1000, 500, true, 351), 1000);
    EXPECT_EQ(ShownScore(1000, 500, true, 275), 1250);
    EXPECT_EQ(ShownScore(1000, 500, true, 200), 1500);
    EXPECT_EQ(ShownScore(1000, 500, false, 200), 1000);
    EXPECT_EQ(ShownTotal(500, 351), 500);
    EXPECT_EQ(ShownTotal(500, 275), 250);
    EXPECT_EQ(ShownTotal(500, 200), 0);
    // Near the limit the sum stops there instead of wrapping.
    EXPECT_EQ(ShownScore(kMax - 10, 500, true, 200), kMax);
    EXPECT_EQ(ShownTotal(std::int64_t{kMax} + 7, 400), kMax);
    // Large scores keep their last digit while counting.
    EXPECT_EQ(ShownScore(123456789, 1, true, 200), 123456790);

    EXPECT_EQ(BarFill(100.0f, 100.0f), 180.0f);
    EXPECT_EQ(BarFill(300.0f, 300.0f), 180.0f);
    EXPECT_EQ(BarFill(0.0f, 100.0f), 0.0f);
}

TEST(HudDraw, BarsFillFromTheirValue)
{
    struct Case {
        float hull;
        float fuel;
        bool hullFill;
        bool fuelFill;
    };
    const Case cases[] = {{-5.0f, 300.0f, false, true}, {0.0f, 200.0f, false, true}, {100.0f, 0.0f, true, false}};
    for (const Screen& screen : kScreens) {
        for (const Case& c : cases) {
            SCOPED_TRACE(screen.windowWidth);
            SCOPED_TRACE(c.hull);
            Hud f(screen);
            f.game.player->hull = c.hull;
            f.game.player->fuel = c.fuel;
            f.Draw();
            // Strips, then the two panels (the radar is off during a countdown).
            ASSERT_GE(f.sink.batches.size(), 3u);
            const auto& strips = f.sink.batches[0].vertices;
            ASSERT_EQ(strips.size(), 8u);
            EXPECT_EQ(strips[0].r, 0.2f);
            EXPECT_EQ(strips[0].a, 0.5f);
            const auto& hull = f.sink.batches[1].vertices;
            const auto& fuel = f.sink.batches[2].vertices;
            ASSERT_EQ(hull.size(), c.hullFill ? 16u : 12u);
            ASSERT_EQ(fuel.size(), c.fuelFill ? 16u : 12u);
            const Vec2 left = f.game.LayoutToWindow(20.0f, 5.0f);
            if (c.hullFill) {
                const Vec2 right = f.game.LayoutToWindow(200.0f, 37.0f);
                EXPECT_EQ(hull[12].x, left.x);
                EXPECT_EQ(hull[12].y, left.y);
                EXPECT_EQ(hull[14].x, right.x);
                EXPECT_EQ(hull[14].y, right.y);
                EXPECT_EQ(hull[12].v, 0.0f);
            }
            if (c.fuelFill) {
                const float length = c.fuel / 300.0f * 180.0f;
                const Vec2 right = f.game.LayoutToWindow(20.0f + length, 67.0f);
                EXPECT_NEAR(fuel[14].x, right.x, 1e-3f);
                EXPECT_NEAR(fuel[14].y, right.y, 1e-3f);
            }
        }
    }
}

TEST(HudDraw, LifeIconsScoreAndCounters)
{
    for (const Screen& screen : kScreens) {
        SCOPED_TRACE(screen.windowWidth);
        SCOPED_TRACE(screen.rotated);
        for (const int lives : {-1, 0, 3, 1000}) {
            SCOPED_TRACE(lives);
            Hud f(screen);
            f.game.player->lives = lives;
            f.Draw();
            const std::string calls = f.StateCalls();
            int icons = 0;
            for (int i = 0; i < 40; ++i) {
                const Vec2 at = f.game.LayoutToView(20.0f + 30.0f * static_cast<float>(i), 465.0f);
                icons += calls.find(Tr(at.x, at.y)) != std::string::npos ? 1 : 0;
            }
            EXPECT_EQ(icons, lives <= 0 ? 0 : (lives == 3 ? 3 : 21));
        }
        Hud f(screen);
        f.game.player->score = 1234;
        f.game.bonusTime = 777;
        f.game.generatorCount = 4;
        f.game.scientistCount = 9;
        f.game.player->scientistsRescued = 2;
        f.Draw();
        const TextRecorder::Line* score = f.text.Find("00001234");
        ASSERT_NE(score, nullptr);
        const Vec2 at = f.game.LayoutToView(100.0f, 435.0f);
        EXPECT_EQ(score->x, at.x);
        EXPECT_EQ(score->y, at.y);
        EXPECT_NE(f.text.Find("1UP"), nullptr);
        EXPECT_NE(f.text.Find("777"), nullptr);
        EXPECT_NE(f.text.Find("4"), nullptr);
        const TextRecorder::Line* rescued = f.text.Find("2/9");
        ASSERT_NE(rescued, nullptr);
        EXPECT_EQ(rescued->align, FontSet::AlignRight);
        const TextRecorder::Line* damage = f.text.Find("DAMAGE");
        ASSERT_NE(damage, nullptr);
        const float w = static_cast<float>(f.game.viewWidth);
        EXPECT_FLOAT_EQ(damage->y, screen.rotated ? 0.033333335f * w : f.game.LayoutToView(105.0f, 13.0f).y);
        EXPECT_FLOAT_EQ(rescued->y, screen.rotated ? 0.104166664f * w : f.game.LayoutToView(590.0f, 40.0f).y);
    }
}

TEST(HudDraw, TimedMessages)
{
    for (const Screen& screen : kScreens) {
        SCOPED_TRACE(screen.windowWidth);
        SCOPED_TRACE(screen.rotated);
        Hud f(screen);
        Game& game = f.game;
        Player& ship = *game.player;

        // The countdown: the whole seconds grow through each second.
        game.selfDestruct.secondsLeft = 59.99f;
        f.Draw();
        const TextRecorder::Line* number = f.text.Find("59");
        ASSERT_NE(number, nullptr);
        EXPECT_NEAR(number->scaleX, 0.51f, 1e-3f);
        EXPECT_EQ(number->r, 1.0f);
        EXPECT_EQ(number->g, 0.0f);
        EXPECT_NE(f.text.Find("DETONATION IN:"), nullptr);
        game.selfDestruct.secondsLeft = 59.01f;
        f.Draw();
        ASSERT_NE(f.text.Find("59"), nullptr);
        EXPECT_NEAR(f.text.Find("59")->scaleX, 1.49f, 1e-3f);
        EXPECT_NEAR(f.text.Find("59")->x, game.screenCentre.x - 7.5f * 1.49f, 1e-3f);
        // No radar while it runs: no frame texture, no sub-viewport.
        EXPECT_EQ(SubViewports(f.state), 0);
        const float frameLeft = game.LayoutToWindow(265.0f, 2.0f).x;
        for (const auto& v : f.sink.vertices)
            EXPECT_NE(v.x, frameLeft);

        // "LEAVING ORBIT!" blinks ten ticks on, ten off.
        game.selfDestruct.running = false;
        game.missionState.leavingOrbit = true;
        for (int t = 0; t < 30; ++t) {
            game.tickCount = t;
            f.Draw();
            EXPECT_EQ(f.text.Find("LEAVING ORBIT!") != nullptr, t >= 10 && t < 20) << t;
        }
        game.missionState.leavingOrbit = false;

        // "MISSION ABORTED" follows the end timer.
        game.missionState.aborted = true;
        struct AbortCase {
            int t;
            float a;
        };
        for (const AbortCase c : {AbortCase{300, 0.0f}, AbortCase{250, 1.0f}, AbortCase{200, 1.0f}, AbortCase{150, 1.0f},
                                  AbortCase{100, 0.0f}}) {
            ship.endTimer = c.t;
            f.Draw();
            const TextRecorder::Line* aborted = f.text.Find("MISSION ABORTED");
            ASSERT_NE(aborted, nullptr);
            EXPECT_FLOAT_EQ(aborted->a, c.a) << c.t;
            EXPECT_EQ(aborted->x, game.screenCentre.x);
            EXPECT_EQ(aborted->y, game.screenCentre.y);
        }
        game.missionState.aborted = false;

        // The "STAGE" banner while the spawn timer runs.
        for (const auto& [p, a] : {std::pair<int, float>{200, 0.0f}, {175, 1.0f}, {150, 1.0f}, {0, -1.0f}}) {
            ship.spawnTimer = p;
            f.Draw();
            const TextRecorder::Line* stage = f.text.Find("STAGE");
            if (a < 0.0f) {
                EXPECT_EQ(stage, nullptr);
                continue;
            }
            ASSERT_NE(stage, nullptr) << p;
            EXPECT_FLOAT_EQ(stage->a, a) << p;
            EXPECT_EQ(stage->y, static_cast<float>(480 / 4 + (screen.rotated ? 110 : 10)));
            EXPECT_EQ(stage->x, game.screenCentre.x);
        }
    }
}

TEST(HudDraw, TheTallyCountsTheBonusIntoTheScore)
{
    Hud f(kScreens[0]);
    Game& game = f.game;
    Player& ship = *game.player;
    game.selfDestruct.running = true;
    game.missionState.completed = true;
    game.bonusTime = 1000;
    ship.fuel = 123.45f;
    ship.hull = 67.8f;
    ship.scientistsRescued = 3;
    ship.score = 5000;
    const std::int64_t bonus = 1000 + 10 * (67 + 123 + 10 * 3);
    ASSERT_EQ(ship.LevelEndBonus(game.bonusTime), bonus);

    struct RowCase {
        const char* label;
        int start;
    };
    const RowCase rows[] = {{"FUEL REMAINING:", 650}, {"SHIELD REMAINING:", 600}, {"SCIENTISTS RESCUED:", 550},
                            {"BONUS TIME:", 500}, {"TOTAL:", 450}};
    for (const RowCase& row : rows) {
        SCOPED_TRACE(row.label);
        for (const auto& [t, a] : {std::pair<int, float>{row.start, 0.0f}, {row.start - 25, 0.5f},
                                   {row.start - 50, 1.0f}}) {
            ship.endTimer = t;
            f.Draw();
            const TextRecorder::Line* label = f.text.Find(row.label);
            ASSERT_NE(label, nullptr);
            EXPECT_FLOAT_EQ(label->a, a) << t;
        }
    }
    // The fuel row's value turns from yellow to white.
    ship.endTimer = 600;
    f.Draw();
    const TextRecorder::Line* value = f.text.Find("123");
    ASSERT_NE(value, nullptr);
    EXPECT_FLOAT_EQ(value->b, 0.5f);
    EXPECT_NE(f.text.Find("=1230"), nullptr);
    EXPECT_NE(f.text.Find("=300"), nullptr);

    ship.endTimer = 400;
    f.Draw();
    EXPECT_NE(f.text.Find(std::to_string(bonus)), nullptr);
    EXPECT_NE(f.text.Find("00005000"), nullptr);
    ship.endTimer = 200;
    f.Draw();
    const TextRecorder::Line* total = f.text.Find("0");
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(total->x, game.LayoutToView(410.0f, 350.0f).x);
    char shown[16];
    std::snprintf(shown, sizeof shown, "%.8i", static_cast<int>(5000 + bonus));
    EXPECT_NE(f.text.Find(shown), nullptr);

    ship.score = kMax - 3;
    f.Draw();
    EXPECT_NE(f.text.Find("2147483647"), nullptr);
}

TEST(Radar, SubViewportForEveryScreen)
{
    const std::string expected[] = {
        "Viewport(270,420,100,50)", "Viewport(360,420,133,50)", "Viewport(540,630,200,75)",
        "Viewport(10,270,50,100)",  "Viewport(10,360,50,133)",  "Viewport(15,540,75,200)",
    };
    for (std::size_t i = 0; i < std::size(kScreens); ++i) {
        SCOPED_TRACE(i);
        Hud f(kScreens[i]);
        f.game.selfDestruct.running = false;
        f.Draw();
        EXPECT_NE(f.StateCalls().find(expected[i]), std::string::npos) << f.StateCalls();
        // The viewport is given back to the whole window.
        const std::string back = "FullViewport(" + std::to_string(kScreens[i].windowWidth) + "," +
                                 std::to_string(kScreens[i].windowHeight) + ")";
        EXPECT_NE(f.StateCalls().find(back, f.StateCalls().find(expected[i])), std::string::npos);
    }
}

TEST(Radar, EachBeamOncePerWrapImageAndNeverTheShip)
{
    Hud f(kScreens[0]);
    Game& game = f.game;
    game.selfDestruct.running = false;
    Beam beam;
    beam.a = {10.0f, 20.0f};
    beam.b = {30.0f, 40.0f};
    beam.colourA = {1.0f, 0.0f, 0.0f};
    beam.colourB = {0.0f, 1.0f, 0.0f};
    Sector one;
    Sector two;
    one.beams.push_back(&beam);
    two.beams.push_back(&beam);
    one.AddEntity(game.player.get());
    game.activeSectors[0] = {&one, &two};
    game.activeSectors[1] = {&one, &two};
    game.activeSectors[2].clear();
    game.player->drawStamp = 0;
    const std::uint32_t stampBefore = game.frameStamp;
    f.Draw();
    int lineVertices = 0;
    for (const auto& batch : f.sink.batches)
        if (batch.primitive == DrawSink::Primitive::Lines)
            lineVertices += static_cast<int>(batch.vertices.size());
    EXPECT_EQ(lineVertices, 4); // once in each of the two images
    EXPECT_EQ(game.player->drawStamp, 0u);
    // One bump for the radar, one for each image with sectors.
    EXPECT_EQ(game.frameStamp, stampBefore + 3);
    EXPECT_EQ(beam.stamp, game.frameStamp);
    game.activeSectors[0].clear();
    game.activeSectors[1].clear();
}

} // namespace
