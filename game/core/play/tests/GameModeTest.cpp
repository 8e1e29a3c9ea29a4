#include "Game.h"
#include "ScriptedHost.h"

#include <gtest/gtest.h>

namespace {

// The draws are overloaded: name the frame-only ones.
const Game::DrawFunction kDrawPlay = &Game::DrawPlay;
const Game::DrawFunction kDrawTitle = &Game::DrawTitle;

// A Game with two counting updates, so the tick in which a delayed switch
// takes effect is visible.
class ModeGame : public Game {
public:
    explicit ModeGame(ScriptedHost& host) : Game(host) {}
    void UpdateA() { ++a; }
    void UpdateB() { ++b; }
    void DrawNothing(float) {}
    int a = 0;
    int b = 0;
    UpdateFunction A() const { return static_cast<UpdateFunction>(&ModeGame::UpdateA); }
    UpdateFunction B() const { return static_cast<UpdateFunction>(&ModeGame::UpdateB); }
    DrawFunction Blank() const { return static_cast<DrawFunction>(&ModeGame::DrawNothing); }
};

} // namespace

TEST(GameMode, EveryModeHasItsPairAndOtherValuesNone)
{
    EXPECT_EQ(Game::PairFor(GameMode::Play).update, &Game::UpdatePlay);
    EXPECT_EQ(Game::PairFor(GameMode::Play).draw, kDrawPlay);
    EXPECT_EQ(Game::PairFor(GameMode::Title).update, &Game::UpdateTitle);
    EXPECT_EQ(Game::PairFor(GameMode::Title).draw, kDrawTitle);
    for (int mode = 2; mode <= 6; ++mode) {
        const Game::ModePair pair = Game::PairFor(static_cast<GameMode>(mode));
        EXPECT_NE(pair.update, nullptr) << mode;
        EXPECT_NE(pair.draw, nullptr) << mode;
    }
    EXPECT_EQ(Game::PairFor(static_cast<GameMode>(7)).update, nullptr);
    EXPECT_EQ(Game::PairFor(static_cast<GameMode>(-1)).draw, nullptr);
}

TEST(GameMode, ANewGameStartsInTheTitlePair)
{
    ScriptedHost host;
    Game game(host);
    EXPECT_EQ(game.currentUpdate, &Game::UpdateTitle);
    EXPECT_EQ(game.currentDraw, kDrawTitle);
    EXPECT_EQ(game.mode, GameMode::Title);
    EXPECT_EQ(game.modeDelay, -1);
}

TEST(GameMode, WithoutDelayThePairIsInstalledAtOnce)
{
    struct Case {
        int delay;
        int storedDelay;
    };
    for (const Case c : {Case{0, -1}, Case{-3, -4}}) {
        ScriptedHost host;
        Game game(host);
        game.SetMode(GameMode::Play, c.delay);
        EXPECT_EQ(game.currentUpdate, &Game::UpdatePlay) << c.delay;
        EXPECT_EQ(game.currentDraw, kDrawPlay) << c.delay;
        EXPECT_EQ(game.mode, GameMode::Play);
        EXPECT_EQ(game.modeDelay, c.storedDelay);
    }
}

TEST(GameMode, ADelayedPairArrivesOnTheDelayThTickBeforeItsUpdate)
{
    ScriptedHost host;
    ModeGame game(host);
    game.currentUpdate = game.pendingUpdate = game.A();
    game.currentDraw = game.pendingDraw = game.Blank();

    game.SetMode(GameMode::Play, 3);
    EXPECT_EQ(game.mode, GameMode::Play); // the number changes at once
    EXPECT_EQ(game.modeDelay, 3);
    EXPECT_EQ(game.pendingUpdate, &Game::UpdatePlay);
    EXPECT_EQ(game.currentUpdate, game.A());

    game.RunTick();
    game.RunTick();
    EXPECT_EQ(game.a, 2);
    EXPECT_EQ(game.modeDelay, 1);
    EXPECT_EQ(game.currentUpdate, game.A());

    // Swap the waiting pair for a counting one, so the third tick shows the
    // switch happening before its update runs.
    game.pendingUpdate = game.B();
    game.RunTick();
    EXPECT_EQ(game.a, 2);
    EXPECT_EQ(game.b, 1);
    EXPECT_EQ(game.currentUpdate, game.B());
    EXPECT_EQ(game.currentDraw, kDrawPlay);
    EXPECT_EQ(game.tickCount, 3); // SetMode never touches the tick counter
}

TEST(GameMode, AnUnknownModeKeepsThePendingPair)
{
    ScriptedHost host;
    ModeGame game(host);
    game.currentUpdate = game.pendingUpdate = game.A();
    game.SetMode(static_cast<GameMode>(9), 0);
    EXPECT_EQ(static_cast<int>(game.mode), 9);
    EXPECT_EQ(game.modeDelay, -1);
    EXPECT_EQ(game.currentUpdate, game.A());
}

TEST(GameMode, SwitchingLeavesTickLengthAndFadesAlone)
{
    ScriptedHost host;
    Game game(host);
    game.tickLength = 0.05f;
    game.tickCount = 12;
    game.fades.push_back(std::make_shared<Fade>(Fade::Black(1.0f, 0.0f, 1.0f, 0)));
    game.SetMode(GameMode::Credits, 0);
    EXPECT_EQ(game.tickLength, 0.05f);
    EXPECT_EQ(game.tickCount, 12);
    EXPECT_EQ(game.fades.size(), 1u);
}
