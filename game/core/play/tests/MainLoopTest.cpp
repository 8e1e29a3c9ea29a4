#include "Game.h"
#include "ScriptedHost.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A Game whose installed mode only counts: the loop's scheduling is seen
// without any screen behind it.
class LoopGame : public Game {
public:
    explicit LoopGame(ScriptedHost& host) : Game(host), host(host)
    {
        Install(static_cast<UpdateFunction>(&LoopGame::CountTick),
                static_cast<DrawFunction>(&LoopGame::RecordDraw));
    }

    void Install(UpdateFunction update, DrawFunction draw)
    {
        currentUpdate = pendingUpdate = update;
        currentDraw = pendingDraw = draw;
        modeDelay = -1;
    }

    // One frame of the given real length, as Run would run it.
    void Frame(std::uint32_t milliseconds)
    {
        host.clock.now += milliseconds;
        RunFrame();
    }

    void CountTick()
    {
        ++ticks;
        host.clock.now += tickCostMs;
        if (lengthenAfterFirstTick && ticks == 1)
            tickLength = 0.1f;
    }
    void RecordDraw(float alpha)
    {
        alphas.push_back(alpha);
        ticksAtDraw.push_back(ticks);
        host.clock.now += drawCostMs;
        if (quitDuringFirstDraw && alphas.size() == 1)
            host.PushQuit();
    }

    ScriptedHost& host;
    int ticks = 0;
    std::uint32_t tickCostMs = 0;  // real time each tick takes
    std::uint32_t drawCostMs = 0;  // real time each draw takes
    bool quitDuringFirstDraw = false; // the window is closed while it draws
    bool lengthenAfterFirstTick = false;
    std::vector<float> alphas;
    std::vector<int> ticksAtDraw;
};

struct Fixture {
    ScriptedHost host;
    LoopGame game{host};
    Fixture() { game.frameTimer.Start(); }
};

} // namespace

TEST(MainLoop, TicksPerFrameFollowTheAccumulatedRealTime)
{
    struct Step {
        std::uint32_t frameMs;
        int ticks;        // ticks run in that frame
        double leftOver;  // seconds left in the accumulator after it
    };
    // 20 ms ticks: a short frame runs none, a longer one one, a stall of
    // three seconds catches up with 150 ticks before the next draw.
    const Step steps[] = {
        {5, 0, 0.005}, {30, 1, 0.015}, {10, 1, 0.005}, {3000, 150, 0.005}, {0, 0, 0.005}, {39, 2, 0.004},
    };
    Fixture f;
    int before = 0;
    for (const Step& step : steps) {
        f.game.Frame(step.frameMs);
        SCOPED_TRACE(step.frameMs);
        EXPECT_EQ(f.game.ticks - before, step.ticks);
        before = f.game.ticks;
        EXPECT_NEAR(f.game.tickAccumulator, step.leftOver, 1e-5);
        ASSERT_FALSE(f.game.alphas.empty());
        EXPECT_NEAR(f.game.alphas.back(), step.leftOver / 0.02, 1e-3);
    }
    // One draw per frame, each after that frame's ticks; the tick counter
    // follows every tick.
    EXPECT_EQ(f.game.alphas.size(), std::size(steps));
    EXPECT_EQ(f.game.tickCount, f.game.ticks);
    EXPECT_EQ(f.game.host.swaps, static_cast<int>(std::size(steps)));
}

TEST(MainLoop, PausedFramesDrawWithFactorOneWhileTicksStillRun)
{
    Fixture f;
    f.game.paused = true;
    f.game.Frame(5);
    f.game.Frame(30);
    ASSERT_EQ(f.game.alphas.size(), 2u);
    EXPECT_EQ(f.game.alphas[0], 1.0f);
    EXPECT_EQ(f.game.alphas[1], 1.0f);
    EXPECT_EQ(f.game.ticks, 1);
    f.game.paused = false;
    f.game.Frame(0); // 15 ms left of 20
    EXPECT_NEAR(f.game.alphas.back(), 0.75f, 1e-3);
}

TEST(MainLoop, ATickThatLengthensTheTickCanLeaveTheFactorBelowZero)
{
    Fixture f;
    f.game.lengthenAfterFirstTick = true;
    f.game.Frame(25);
    EXPECT_EQ(f.game.ticks, 1);
    EXPECT_NEAR(f.game.tickAccumulator, 0.025 - 0.1, 1e-6);
    EXPECT_NEAR(f.game.alphas.back(), -0.75f, 1e-4);
}

TEST(MainLoop, EventsWaitInTheQueueUntilATickRuns)
{
    Fixture f;
    f.game.input.Button(ButtonFire).primary = KeyCodes::KeyZ;
    f.host.PushKey(KeyCodes::KeyZ, true);
    f.host.mouseX = 17;
    f.host.mouseY = 33;

    f.game.Frame(5); // no tick: nothing read
    EXPECT_EQ(f.host.events.size(), 1u);
    EXPECT_EQ(f.game.input.Button(ButtonFire).key.state, KeyState::Up);
    EXPECT_EQ(f.game.input.mouseX, 0);

    f.game.Frame(20); // one tick: the press is read, then the edge advances
    EXPECT_TRUE(f.host.events.empty());
    EXPECT_EQ(f.game.input.Button(ButtonFire).key.state, KeyState::Held);
    EXPECT_EQ(f.game.input.mouseX, 17);
    EXPECT_EQ(f.game.input.mouseY, 33);
}

TEST(MainLoop, PlatformEventsReachTheButtonsAndTheRunFlags)
{
    Fixture f;
    ActionButton& fire = f.game.input.Button(ButtonFire);
    fire.primary = 346; // joystick button 19
    fire.alternative = 1; // left mouse button
    f.game.input.mouseSensitivity = 0.5f;

    SDL_Event event{};
    event.type = SDL_JOYBUTTONDOWN;
    event.jbutton.button = 20; // beyond the twenty mapped buttons: dropped
    f.game.HandleEvent(event);
    EXPECT_EQ(fire.key.state, KeyState::Up);
    event.jbutton.button = 19;
    f.game.HandleEvent(event);
    EXPECT_EQ(fire.key.state, KeyState::Pressed);

    event = SDL_Event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.xrel = 10;
    event.motion.yrel = -4;
    f.game.HandleEvent(event);
    event.motion.xrel = 6; // the last motion of a tick wins
    event.motion.yrel = 2;
    f.game.HandleEvent(event);
    EXPECT_FLOAT_EQ(f.game.input.mouseMotion.x, 3.0f);
    EXPECT_FLOAT_EQ(f.game.input.mouseMotion.y, 1.0f);

    event = SDL_Event{};
    event.type = SDL_JOYHATMOTION;
    f.game.HandleEvent(event);
    EXPECT_FALSE(f.game.quitRequested);
    event.type = SDL_QUIT;
    f.game.HandleEvent(event);
    EXPECT_TRUE(f.game.quitRequested);
}

TEST(MainLoop, QuitEndsTheLoopInTheTickThatReadsIt)
{
    ScriptedHost host;
    LoopGame game(host);
    host.frameMilliseconds = 45; // the pause after each frame moves time on
    host.clock.now = 1000;
    host.PushQuit();
    game.Run();
    // Frame 1 is 0 ms long: no tick, so the quit is not read yet; it draws
    // and shows. Frame 2 (45 ms, two ticks owed) reads it in its first tick
    // and ends there: no second tick, no draw, no swap.
    EXPECT_EQ(game.ticks, 1);
    ASSERT_EQ(game.ticksAtDraw.size(), 1u);
    EXPECT_EQ(game.ticksAtDraw[0], 0);
    EXPECT_EQ(host.swaps, 1);
}

// Frames that take a minute to draw (a huge map on a software renderer):
// a window closed during one ends the game at the next tick, not after
// another minute's draw.
TEST(MainLoop, AWindowClosedDuringASlowDrawEndsTheGameWithoutDrawingAgain)
{
    ScriptedHost host;
    LoopGame game(host);
    game.drawCostMs = 60000;
    game.quitDuringFirstDraw = true;
    host.frameMilliseconds = 1;
    host.clock.now = 1000;
    game.Run();
    EXPECT_EQ(game.alphas.size(), 1u);
    EXPECT_EQ(host.swaps, 1);
    EXPECT_EQ(game.ticks, 1);
    EXPECT_EQ(host.clock.now, 1000u + 60000u + 1u) << "real time went by after the close";
}

// Ticks slower than the time they stand for: catching up would never end.
// After a quarter second of ticking the frame lets the backlog go and draws,
// so play goes on slowly and a closed window ends the program.
TEST(MainLoop, TicksSlowerThanRealTimeStillLetFramesDrawAndQuitEnd)
{
    Fixture f;
    f.game.tickCostMs = 30;
    f.game.Frame(3000);
    EXPECT_EQ(f.game.ticks, 9);  // 9 x 30 ms reach the 250 ms budget
    ASSERT_EQ(f.game.ticksAtDraw.size(), 1u);
    EXPECT_NEAR(f.game.tickAccumulator, 0.0, 1e-5);  // 3.000 s is whole ticks
    for (int frame = 0; frame < 5; ++frame)
        f.game.Frame(0);  // each frame owes the time the last one ticked
    EXPECT_EQ(f.game.ticksAtDraw.size(), 6u);
    EXPECT_LE(f.game.ticks, 9 + 5 * 9);

    ScriptedHost host;
    LoopGame game(host);
    game.tickCostMs = 30;
    host.frameMilliseconds = 3000;
    host.clock.now = 1000;
    host.PushQuit();
    game.Run();  // returns: the quit is read in the second frame's first tick
    EXPECT_EQ(game.ticks, 1);
    EXPECT_EQ(host.swaps, 1);
}

// A picture asked for at a tick shows that tick even when the machine
// stalled: the frame stops catching up there, draws, and the next frame
// runs the rest of the backlog.
TEST(MainLoop, AFrameAskedForAtATickShowsThatTickAfterAStall)
{
    Fixture f;
    f.game.frameDumpPath = "frame.ppm";
    f.game.windowWidth = 0; // nothing to read back without a screen
    f.game.frameDumpAfterTick = 10;
    f.game.Frame(3000);
    ASSERT_EQ(f.game.ticksAtDraw.size(), 1u);
    EXPECT_EQ(f.game.ticksAtDraw[0], 10);
    EXPECT_LE(f.game.alphas[0], 1.0f);
    EXPECT_EQ(f.game.frameDumpAfterTick, -1) << "the dump was not taken";
    f.game.Frame(0);
    EXPECT_EQ(f.game.ticks, 150); // the backlog is caught up after it
}

TEST(MainLoop, RunReturnsAtOnceWhenQuitIsAlreadyAsked)
{
    ScriptedHost host;
    LoopGame game(host);
    game.quitRequested = true;
    game.Run();
    EXPECT_TRUE(game.alphas.empty());
    EXPECT_EQ(host.swaps, 0);
}
