#include "Cursor.h"
#include "LoadingScreen.h"
#include "PlayModeFixture.h"
#include "MapWriter.h"
#include "ScreenLayout.h"
#include "support/MapTestDir.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(ScreenLayout, PointsScaleToTheTargetAndSwapSidesWhenTurned)
{
    struct Case {
        float x, y;
        int width, height;
        bool rotated;
        Vec2 expected;
    };
    const Case cases[] = {
        {640, 480, 854, 480, false, {854, 480}},
        {640, 480, 854, 480, true, {480, 854}},
        {320, 240, 720, 480, false, {360, 240}},
        {320, 240, 720, 480, true, {240, 360}},
        {0, 0, 854, 480, true, {0, 0}},
        {160, 120, 1280, 720, false, {320, 180}},
        {160, 120, 1280, 720, true, {180, 320}},
    };
    for (const Case& c : cases) {
        const Vec2 p = MapLayoutPoint(c.x, c.y, c.width, c.height, c.rotated);
        EXPECT_FLOAT_EQ(p.x, c.expected.x) << c.x << "," << c.y << " on " << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(p.y, c.expected.y) << c.x << "," << c.y << " on " << c.width << "x" << c.height;
    }
}

TEST(ScreenLayout, GameMapsToItsViewAndItsWindow)
{
    PlayFixture f;
    f.game.viewWidth = 854;
    f.game.windowWidth = 1280;
    f.game.windowHeight = 720;
    f.game.UpdateScreenSize();
    EXPECT_EQ(f.game.screenSize, (Vec2{854, 480}));
    EXPECT_EQ(f.game.LayoutToView(640, 480), (Vec2{854, 480}));
    EXPECT_EQ(f.game.LayoutToWindow(640, 480), (Vec2{1280, 720}));

    f.game.rotatedScreen = true;
    f.game.UpdateScreenSize();
    EXPECT_EQ(f.game.screenSize, (Vec2{480, 854}));
    EXPECT_EQ(f.game.screenCentre, (Vec2{240, 427}));
    EXPECT_EQ(f.game.LayoutToView(640, 480), (Vec2{480, 854}));
    EXPECT_EQ(f.game.LayoutToWindow(640, 480), (Vec2{720, 1280}));
}

TEST(Cursor, DrawnOnlyWhileVisibleAsA32UnitSquareFromTheMousePoint)
{
    PlayFixture f;
    f.game.windowWidth = 1280;
    f.game.windowHeight = 960;
    f.game.input.mouseX = 640;
    f.game.input.mouseY = 240;
    f.game.input.cursorVisible = 0;
    f.game.DrawCursor(0.5f, f.sink, f.state);
    EXPECT_TRUE(f.sink.vertices.empty());
    EXPECT_TRUE(f.state.calls.empty());

    f.game.input.cursorVisible = 1;
    f.game.DrawCursor(0.5f, f.sink, f.state);
    ASSERT_EQ(f.sink.batches.size(), 1u);
    const auto& v = f.sink.batches[0].vertices;
    ASSERT_EQ(v.size(), 4u);
    EXPECT_FLOAT_EQ(v[0].x, 320.0f);
    EXPECT_FLOAT_EQ(v[0].y, 120.0f);
    EXPECT_FLOAT_EQ(v[2].x, 352.0f);
    EXPECT_FLOAT_EQ(v[2].y, 152.0f);
    EXPECT_EQ(v[2].u, 1.0f);
    EXPECT_EQ(v[2].v, 1.0f);
    EXPECT_TRUE(f.state.Has("SetBlend(1,1)"));
    EXPECT_EQ(f.state.calls.back(), "Finish()");
    // A window of no size puts the cursor at the origin, never at infinity.
    EXPECT_EQ(CursorScreenPosition(5, 5, 0, 0, {640, 480}), (Vec2{0, 0}));
}

TEST(LoadingScreen, DotsByFrameAndAFinishedFrameShownAtOnce)
{
    EXPECT_STREQ(PleaseWaitText(0), "PLEASE WAIT.");
    EXPECT_STREQ(PleaseWaitText(1), "PLEASE WAIT..");
    EXPECT_STREQ(PleaseWaitText(5), "PLEASE WAIT...");
    EXPECT_STREQ(PleaseWaitText(-1), "PLEASE WAIT...");

    PlayFixture f;
    for (FontSet::Glyph& glyph : f.game.font.glyphs)
        glyph.width = 16;
    f.game.viewWidth = 854;
    f.game.UpdateScreenSize();
    f.game.DrawPleaseWait(5, f.sink, f.state);
    EXPECT_EQ(f.state.calls.front(), "Clear(0,0,0,0)");
    EXPECT_EQ(f.state.calls.back(), "Present()");
    EXPECT_FALSE(f.state.Has("Rotate(90)"));
    ASSERT_FALSE(f.sink.vertices.empty());
    // Three dots: 13 glyphs of 4 vertices (the space draws none).
    EXPECT_EQ(f.sink.vertices.size(), 13u * 4u);
    float left = 1e9f;
    for (const auto& v : f.sink.vertices)
        left = std::min(left, v.x);
    EXPECT_NEAR(left, 854 * 0.703125f, 16.0f);
    EXPECT_FALSE(f.game.font.shadow);

    PlayFixture turned;
    turned.game.rotatedScreen = true;
    turned.game.UpdateScreenSize();
    turned.game.DrawPleaseWait(0, turned.sink, turned.state);
    const auto& calls = turned.state.calls;
    const auto rotate = std::find(calls.begin(), calls.end(), "Rotate(90)");
    ASSERT_NE(rotate, calls.end());
    EXPECT_EQ(*(rotate + 1), "Translate(-480,0)");
}

// Loading a map shows "PLEASE WAIT." first, through the game's loading
// screen sink, whether or not the map then loads; a Game without one (no
// window yet) draws nothing.
TEST(LoadingScreen, LoadingAMapShowsTheFirstFrameBeforeReading)
{
    MapTestDir dir;
    ASSERT_TRUE(WriteMapFile(dir.Path("Data/Maps/Good.map").string(), MapContents{}));
    PlayFixture f;
    f.game.dataRoot = dir.Root();
    CapturedLog log(dir);

    ASSERT_TRUE(f.game.LoadMap("Good", log.Get()));
    EXPECT_TRUE(f.state.calls.empty());
    EXPECT_TRUE(f.sink.vertices.empty());

    for (FontSet::Glyph& glyph : f.game.font.glyphs)
        glyph.width = 16;
    f.game.loadingSink = &f.sink;
    f.game.loadingState = &f.state;
    for (const char* name : {"Good", "Missing"}) {
        SCOPED_TRACE(name);
        f.sink.vertices.clear();
        f.state.calls.clear();
        f.game.LoadMap(name, log.Get());
        ASSERT_FALSE(f.state.calls.empty());
        EXPECT_EQ(f.state.calls.front(), "Clear(0,0,0,0)");
        EXPECT_EQ(f.state.calls.back(), "Present()");
        // "PLEASE WAIT.": 11 glyphs of 4 vertices (the space draws none).
        EXPECT_EQ(f.sink.vertices.size(), 11u * 4u);
    }
}
