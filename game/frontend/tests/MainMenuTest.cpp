#include "FrontendFixture.h"
#include "LoadFailedDialog.h"
#include "MainMenu.h"
#include "MissingMapPackDialog.h"
#include "OverwriteDialog.h"

#include <gtest/gtest.h>

#include <typeinfo>

namespace {

// The main menu at 640 x 480: its centre y is 410; rows by their middle.
constexpr float kX = 320;
constexpr float kCy = 410;
constexpr float kNewGameY = kCy - 30;
constexpr float kLoadGameY = kCy - 10;
constexpr float kHiScoresY = kCy + 30;
constexpr float kQuitY = kCy + 50;
// The overwrite warning at the screen centre.
constexpr float kOkY = 195 + 60;
constexpr float kCancelY = 195 + 80;

enum class Saved { None, Valid, TamperedDigest, MissingPack, MissingMap, EmptyPack };
enum class Choice { NewGameOk, NewGameCancel, LoadGame };
enum class SaveAfter { Kept, Rewritten, Absent };

const char* Name(Saved s)
{
    switch (s) {
    case Saved::None: return "no save";
    case Saved::Valid: return "valid save";
    case Saved::TamperedDigest: return "tampered digest";
    case Saved::MissingPack: return "missing pack";
    case Saved::MissingMap: return "missing map";
    case Saved::EmptyPack: return "empty pack";
    }
    return "?";
}
const char* Name(Choice c)
{
    switch (c) {
    case Choice::NewGameOk: return "NEW GAME, OK";
    case Choice::NewGameCancel: return "NEW GAME, CANCEL";
    case Choice::LoadGame: return "LOAD GAME";
    }
    return "?";
}

struct Row {
    Saved saved;
    Choice choice;
    const std::type_info* dialog; // on top right after the menu click, or null
    bool selectSound;             // UI3 for the menu click
    bool leaves;                  // darkening fade, close and music fade
    GameMode modeAfter;
    const char* mapAfter;
    SaveAfter saveAfter;
    bool loadFailedAfter;         // the title came back with the load message
};

const Row kRows[] = {
    {Saved::None, Choice::NewGameOk, nullptr, false, true, GameMode::Play, "Landfall", SaveAfter::Rewritten, false},
    {Saved::None, Choice::LoadGame, &typeid(LoadFailedDialog), true, false, GameMode::Title, "Splash", SaveAfter::Absent, false},
    {Saved::Valid, Choice::NewGameOk, &typeid(OverwriteDialog), true, true, GameMode::Play, "Landfall", SaveAfter::Rewritten, false},
    {Saved::Valid, Choice::NewGameCancel, &typeid(OverwriteDialog), true, false, GameMode::Title, "Splash", SaveAfter::Kept, false},
    {Saved::Valid, Choice::LoadGame, nullptr, true, true, GameMode::Play, "Foundry", SaveAfter::Kept, false},
    {Saved::TamperedDigest, Choice::NewGameOk, &typeid(OverwriteDialog), true, true, GameMode::Play, "Landfall", SaveAfter::Rewritten, false},
    {Saved::TamperedDigest, Choice::NewGameCancel, &typeid(OverwriteDialog), true, false, GameMode::Title, "Splash", SaveAfter::Kept, false},
    {Saved::TamperedDigest, Choice::LoadGame, &typeid(LoadFailedDialog), true, false, GameMode::Title, "Splash", SaveAfter::Kept, false},
    {Saved::MissingPack, Choice::NewGameOk, &typeid(OverwriteDialog), true, true, GameMode::Play, "Landfall", SaveAfter::Rewritten, false},
    {Saved::MissingPack, Choice::NewGameCancel, &typeid(OverwriteDialog), true, false, GameMode::Title, "Splash", SaveAfter::Kept, false},
    {Saved::MissingPack, Choice::LoadGame, &typeid(MissingMapPackDialog), true, false, GameMode::Title, "Splash", SaveAfter::Kept, false},
    {Saved::MissingMap, Choice::NewGameOk, &typeid(OverwriteDialog), true, true, GameMode::Play, "Landfall", SaveAfter::Rewritten, false},
    {Saved::MissingMap, Choice::NewGameCancel, &typeid(OverwriteDialog), true, false, GameMode::Title, "Splash", SaveAfter::Kept, false},
    {Saved::MissingMap, Choice::LoadGame, nullptr, true, true, GameMode::Title, "Splash", SaveAfter::Kept, true},
    {Saved::EmptyPack, Choice::NewGameOk, &typeid(OverwriteDialog), true, true, GameMode::Title, "Splash", SaveAfter::Absent, true},
    {Saved::EmptyPack, Choice::NewGameCancel, &typeid(OverwriteDialog), true, false, GameMode::Title, "Splash", SaveAfter::Kept, false},
    {Saved::EmptyPack, Choice::LoadGame, &typeid(LoadFailedDialog), true, false, GameMode::Title, "Splash", SaveAfter::Kept, false},
};

void Prepare(Frontend& f, Saved saved)
{
    switch (saved) {
    case Saved::None:
        break;
    case Saved::Valid:
    case Saved::EmptyPack:
        f.WriteSave("Default", 2, "Foundry", 4321, 2);
        break;
    case Saved::TamperedDigest: {
        f.WriteSave("Default", 2, "Foundry", 4321, 2);
        std::vector<char> bytes = f.SaveBytes();
        bytes[kSaveScoreDigestOffset] = bytes[kSaveScoreDigestOffset] == 'a' ? 'b' : 'a';
        std::ofstream(f.data.root / "Data" / "SaveGame.sav", std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        break;
    }
    case Saved::MissingPack:
        f.WriteSave("Nowhere", 0, "Landfall", 10, 3);
        break;
    case Saved::MissingMap:
        f.WriteSave("Default", 1, "Gone", 10, 3);
        break;
    }
    if (saved == Saved::EmptyPack)
        f.game.packMaps.clear();
}

} // namespace

TEST(MainMenu, EveryWayOutForEverySavedGame)
{
    for (const Row& row : kRows) {
        const std::string where = std::string(Name(row.saved)) + " / " + Name(row.choice);
        Frontend f;
        Prepare(f, row.saved);
        const std::vector<char> before = f.SaveBytes();
        f.EnterTitleAndOpenMenu();
        MainMenu* menu = f.TopAs<MainMenu>();
        ASSERT_NE(menu, nullptr) << where;
        f.host.audio.calls.clear();
        f.host.grabbed = false;

        f.PointAt(kX, row.choice == Choice::LoadGame ? kLoadGameY : kNewGameY);
        f.PushButton(SDL_BUTTON_LEFT, true);
        f.Frame();
        f.PushButton(SDL_BUTTON_LEFT, false);
        if (row.dialog != nullptr) {
            ASSERT_NE(f.Top(), menu) << where;
            EXPECT_EQ(typeid(*f.Top()), *row.dialog) << where;
        } else {
            EXPECT_EQ(f.Top(), menu) << where;
        }
        EXPECT_EQ(f.Calls(PlayOf(SampleId::UI3)), row.selectSound ? 1 : 0) << where;

        if (row.dialog == &typeid(OverwriteDialog)) {
            EXPECT_FALSE(menu->closing) << where;
            f.Frames(25);
            f.ClickAt(kX, row.choice == Choice::NewGameOk ? kOkY : kCancelY);
            EXPECT_EQ(f.Calls(PlayOf(SampleId::UI3)), 2) << where;
            // Nothing is deleted while the dialog fades out.
            f.Frames(10);
            EXPECT_EQ(f.SaveBytes(), before) << where;
        }
        if (row.leaves) {
            f.FramesUntil([&] { return menu->closing; }, 50);
            ASSERT_TRUE(menu->closing) << where;
            EXPECT_EQ(f.Calls("FadeOutMusic(500)"), 1) << where;
            // The main menu's close, after the warning's own.
            EXPECT_EQ(f.Calls(PlayOf(SampleId::MenuClose)), row.dialog != nullptr ? 2 : 1) << where;
            bool darkening = false;
            for (const auto& fade : f.game.fades)
                darkening |= fade->hidden == 0 && fade->startAlpha == 0.0f && fade->endAlpha == 1.0f &&
                             fade->duration == 0.5f;
            EXPECT_TRUE(darkening) << where;
            EXPECT_EQ(f.SaveBytes(), before) << where;
        } else {
            EXPECT_EQ(f.Calls("FadeOutMusic(500)"), 0) << where;
            EXPECT_EQ(f.Calls(PlayOf(SampleId::MenuClose)), row.choice == Choice::NewGameCancel ? 1 : 0) << where;
            for (const auto& fade : f.game.fades)
                EXPECT_NE(fade->hidden, 0) << where; // only the dialog's own
        }

        f.Frames(60);
        EXPECT_EQ(f.game.mode, row.modeAfter) << where;
        EXPECT_STREQ(f.game.mapName, row.mapAfter) << where;
        switch (row.saveAfter) {
        case SaveAfter::Kept: EXPECT_EQ(f.SaveBytes(), before) << where; break;
        case SaveAfter::Absent: EXPECT_FALSE(f.SaveExists()) << where; break;
        case SaveAfter::Rewritten: {
            const auto fresh = EncodeSaveGame("Default", 0, "Landfall", 0, 3);
            EXPECT_EQ(f.SaveBytes(), std::vector<char>(fresh.begin(), fresh.end())) << where;
            break;
        }
        }
        if (row.modeAfter == GameMode::Play) {
            EXPECT_TRUE(f.host.grabbed) << where;
            EXPECT_EQ(f.game.input.cursorVisible, 0) << where;
            EXPECT_EQ(f.Calls("LoadMusic(Data/Sound/Dizura Zeve.mp3)"), 1) << where;
            EXPECT_TRUE(f.game.menus.empty()) << where;
        } else {
            EXPECT_FALSE(f.host.grabbed) << where;
            EXPECT_EQ(f.game.input.cursorVisible, 1) << where;
        }
        if (row.loadFailedAfter) {
            EXPECT_NE(f.TopAs<LoadFailedDialog>(), nullptr) << where;
            EXPECT_EQ(f.game.music[0], nullptr) << where; // the title starts its music again
        }
        if (row.saved == Saved::MissingPack && row.choice == Choice::LoadGame) {
            EXPECT_STREQ(f.game.packName, "Default");
        }
        if (row.saved == Saved::Valid && row.choice == Choice::LoadGame) {
            EXPECT_EQ(f.game.mapIndex, 2);
            EXPECT_EQ(f.game.player->score, 4321);
            EXPECT_EQ(f.game.player->lives, 2);
        }
        if (row.modeAfter == GameMode::Title && !row.loadFailedAfter && row.dialog != nullptr) {
            // The dialog's answer leaves the main menu usable.
            f.ClickAt(kX, row.dialog == &typeid(MissingMapPackDialog) ? 280.0f : 265.0f);
            f.FramesUntil([&] { return f.Top() == menu; }, 60);
            EXPECT_EQ(f.Top(), menu) << where;
            EXPECT_FALSE(menu->closing) << where;
        }
    }
}

TEST(MainMenu, ClicksBetweenRowsAndOnTheMapPackRowDoNothing)
{
    Frontend f;
    f.EnterTitleAndOpenMenu();
    MainMenu* menu = f.TopAs<MainMenu>();
    f.host.audio.calls.clear();
    for (const float y : {kCy - 20, kCy, kCy + 20, kCy + 40, kCy + 10}) {
        f.ClickAt(kX, y);
        EXPECT_EQ(menu->selected, 0) << y;
    }
    EXPECT_EQ(f.game.menus.size(), 1u);
    EXPECT_FALSE(menu->closing);
    // Nothing is played or stopped; the level behind the title keeps placing
    // its platforms' loops.
    for (const std::string& call : f.host.audio.calls)
        EXPECT_EQ(call.rfind("SetPosition(", 0), 0u) << call;
}

// A click whose press and release reach the game in one tick (a quick finger,
// xdotool's click) chooses like a held one.
TEST(MainMenu, AClickShorterThanATickChoosesTheRow)
{
    Frontend f;
    f.EnterTitleAndOpenMenu();
    MainMenu* menu = f.TopAs<MainMenu>();
    f.host.audio.calls.clear();
    f.QuickClickAt(kX, kQuitY);
    EXPECT_EQ(menu->selected, 4); // QUIT
    f.Frame();
    EXPECT_TRUE(menu->closing);
    EXPECT_EQ(f.Calls("FadeOutMusic(500)"), 1);
    EXPECT_EQ(f.game.input.Button(ButtonMenuClick).key.state, KeyState::Up);
}

TEST(MainMenu, HiScoresLeavesTheMusicPlayingAndQuitEndsInTheCredits)
{
    {
        Frontend f;
        f.EnterTitleAndOpenMenu();
        f.host.audio.calls.clear();
        f.ClickAt(kX, kHiScoresY);
        // The menu closes under the download dialog.
        EXPECT_TRUE(f.game.menus.front()->closing);
        EXPECT_EQ(f.CallsStartingWith("FadeOutMusic"), 0);
        EXPECT_EQ(f.Calls(PlayOf(SampleId::UI3)), 0);
        f.FramesUntil([&] { return f.game.menus.empty(); }, 200);
        f.Frames(30);
        EXPECT_EQ(f.game.mode, GameMode::HiScores);
        EXPECT_TRUE(f.game.hiScoreViewOnly);
        EXPECT_NE(f.game.music[0], nullptr);
    }
    {
        Frontend f;
        f.EnterTitleAndOpenMenu();
        f.host.audio.calls.clear();
        f.ClickAt(kX, kQuitY);
        EXPECT_EQ(f.Calls("FadeOutMusic(500)"), 1);
        EXPECT_EQ(f.Calls(PlayOf(SampleId::UI3)), 0);
        f.Frames(30);
        EXPECT_EQ(f.game.mode, GameMode::Credits);
        f.Frames(350);
        EXPECT_TRUE(f.game.quitRequested);
    }
}

TEST(MainMenu, TheHighlightBarSpansTheScreenUnderTheLabelAndThePackRowIsRed)
{
    Frontend f(854);
    f.EnterTitleAndOpenMenu();
    f.PointAt(427, kLoadGameY);
    f.Frame();
    f.game.DrawMenus(1.0f, f.canvas);
    ASSERT_FALSE(f.sink.batches.empty());
    const auto& bar = f.sink.batches[0].vertices;
    ASSERT_EQ(bar.size(), 4u);
    EXPECT_EQ(bar[0].x, 0.0f);
    EXPECT_EQ(bar[1].x, 854.0f);
    EXPECT_EQ(bar[0].y, kCy - 20);
    EXPECT_EQ(bar[2].y, kCy - 5);
    EXPECT_EQ(bar[0].b, 0.5f);
    const auto* pack = f.text.Find("MAP PACK:  Default");
    ASSERT_NE(pack, nullptr);
    EXPECT_EQ(pack->y, kCy);
    EXPECT_EQ(pack->r, 1.0f);
    EXPECT_EQ(pack->g, 0.0f);
    EXPECT_EQ(f.text.Find("LOAD GAME")->b, 0.0f);
    EXPECT_EQ(f.text.Find("NEW GAME")->b, 1.0f);
}
