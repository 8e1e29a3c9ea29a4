#include "ConfirmDialog.h"
#include "FrontendFixture.h"
#include "LoadFailedDialog.h"
#include "MainMenu.h"
#include "MissingMapPackDialog.h"
#include "OverwriteDialog.h"
#include "PauseMenu.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// A menu whose one item covers its whole box; it keeps the answers it gets
// in a record that outlives it (the stack deletes a finished menu).
class ProbeMenu : public Menu {
public:
    ProbeMenu() : Menu(200, 200, 320, 240, 0.5f) {}
    void Update() override
    {
        if (!RunHead())
            return;
        HitTest({{1, Top(), Bottom()}});
    }
    void Draw(float, ScreenCanvas& canvas) override { DrawLabel(canvas, "PROBE", Top(), 1); }
    void OnChildResult(std::int32_t code) override { answers->push_back(code); }
    std::shared_ptr<std::vector<std::int32_t>> answers = std::make_shared<std::vector<std::int32_t>>();
};

template <typename T>
T* Push(Game& game, std::unique_ptr<T> menu)
{
    T* raw = menu.get();
    game.menus.push_back(std::move(menu));
    return raw;
}

// A confirmation at the screen centre answering parent with code.
ConfirmDialog* PushConfirm(Game& game, Menu* parent, std::int32_t code)
{
    auto* dialog = Push(game, std::make_unique<ConfirmDialog>(150, 35, 320, 240));
    dialog->parent = parent;
    dialog->resultCode = code;
    return dialog;
}

} // namespace

TEST(MenuStack, OpeningFadesRiseOverTheClassTimeAndFinishOnce)
{
    struct Case {
        const char* name;
        std::function<std::unique_ptr<Menu>(Game&)> make;
        float seconds;
    };
    const Case cases[] = {
        {"PauseMenu", [](Game& g) { return std::make_unique<PauseMenu>(100, 150, g.screenCentre.x, g.screenCentre.y); }, 1.0f},
        {"ConfirmDialog", [](Game& g) { return std::make_unique<ConfirmDialog>(150, 35, g.screenCentre.x, g.screenCentre.y); }, 0.5f},
    };
    for (const Case& c : cases) {
        Frontend f;
        f.game.EnterTitle();
        Menu* menu = Push(f.game, c.make(f.game));
        EXPECT_EQ(menu->alpha, 0.0f) << c.name;
        EXPECT_EQ(f.Calls(PlayOf(SampleId::MenuOpen)), 1) << c.name;
        EXPECT_EQ(f.game.input.cursorVisible, 1) << c.name;
        const int frames = static_cast<int>(c.seconds / 0.02f + 0.5f);
        std::vector<float> alphas;
        int finishedAt = 0;
        for (int k = 1; k <= frames + 2; ++k) {
            f.Frame();
            alphas.push_back(menu->alpha);
            if (menu->fade == nullptr && finishedAt == 0)
                finishedAt = k;
        }
        for (int k = 1; k < frames; ++k)
            EXPECT_NEAR(alphas[static_cast<std::size_t>(k - 1)], 0.02f * static_cast<float>(k) / c.seconds, 1e-4f)
                << c.name << " frame " << k;
        EXPECT_GE(finishedAt, frames) << c.name;
        EXPECT_LE(finishedAt, frames + 1) << c.name;
        EXPECT_EQ(alphas.back(), 1.0f) << c.name;
        EXPECT_FALSE(menu->closing) << c.name;
    }
}

TEST(MenuStack, OnlyTheTopPulsesFadesAndTakesThePointer)
{
    Frontend f;
    f.game.EnterTitle();
    ProbeMenu* lower = Push(f.game, std::make_unique<ProbeMenu>());
    f.PointAt(320, 240);
    f.Frames(10);
    EXPECT_EQ(lower->selected, 1);
    const float alpha = lower->alpha;
    const float pulse = lower->pulse;
    EXPECT_GT(alpha, 0.0f);
    EXPECT_LT(alpha, 1.0f);

    auto* dialog = Push(f.game, std::make_unique<ConfirmDialog>(150, 35, 320, 240));
    f.PointAt(320, 205 + 40); // on YES
    f.Frames(10);
    EXPECT_EQ(dialog->selected, 1);
    EXPECT_GT(dialog->alpha, 0.0f);
    // The lower menu keeps what it had when the dialog came up.
    EXPECT_EQ(lower->alpha, alpha);
    EXPECT_EQ(lower->pulse, pulse);
    EXPECT_EQ(lower->selected, 1);
    f.PointAt(0, 0);
    f.Frame();
    EXPECT_EQ(dialog->selected, 0);
    EXPECT_EQ(lower->selected, 1);
}

// Every band of every class at the three view widths, upright and turned:
// a pointer exactly on a band's or the box's edge selects nothing, one unit
// inside selects the item.
TEST(MenuStack, BandsAreOpenIntervalsInsideTheBoxForEveryClass)
{
    struct Band {
        int item;
        float lower;
        float upper;
    };
    struct Layout {
        const char* name;
        std::function<std::unique_ptr<Menu>(Game&)> make;
        std::function<std::vector<Band>(const Menu&)> bands;
    };
    const auto top = [](const Menu& m) { return m.centre.y - static_cast<float>(m.halfHeight); };
    const auto bottom = [](const Menu& m) { return m.centre.y + static_cast<float>(m.halfHeight); };
    const Layout layouts[] = {
        {"PauseMenu",
         [](Game& g) { return std::make_unique<PauseMenu>(100, 150, g.screenCentre.x, g.screenCentre.y); },
         [&](const Menu& m) {
             const float t = top(m);
             const float b = bottom(m);
             return std::vector<Band>{{2, t, t + 20},        {5, t + 20, t + 40},      {0, t + 40, t + 60},
                                      {9, t + 60, t + 80},   {7, b - 100, b - 80},     {0, b - 80, b - 60},
                                      {4, b - 60, b - 40},   {8, b - 40, b - 20},      {1, b - 20, b}};
         }},
        {"ConfirmDialog",
         [](Game& g) { return std::make_unique<ConfirmDialog>(150, 35, g.screenCentre.x, g.screenCentre.y); },
         [&](const Menu& m) {
             return std::vector<Band>{{0, top(m), top(m) + 30}, {1, top(m) + 30, top(m) + 50}, {2, bottom(m) - 20, bottom(m)}};
         }},
        {"MainMenu",
         [](Game& g) { return std::make_unique<MainMenu>(320, 100, g.screenCentre.x, g.screenCentre.y + 170); },
         [](const Menu& m) {
             const float cy = m.centre.y;
             return std::vector<Band>{{0, cy - 60, cy - 40}, {1, cy - 40, cy - 20}, {2, cy - 20, cy},
                                      {0, cy, cy + 20},      {5, cy + 20, cy + 40}, {4, cy + 40, cy + 60}};
         }},
        {"OverwriteDialog",
         [](Game& g) { return std::make_unique<OverwriteDialog>(170, 45, g.screenCentre.x, g.screenCentre.y); },
         [&](const Menu& m) {
             return std::vector<Band>{{0, top(m), top(m) + 50}, {1, top(m) + 50, top(m) + 70}, {2, top(m) + 70, top(m) + 90}};
         }},
        {"LoadFailedDialog",
         [](Game& g) { return std::make_unique<LoadFailedDialog>(200, 35, g.screenCentre.x, g.screenCentre.y); },
         [&](const Menu& m) { return std::vector<Band>{{0, top(m), bottom(m) - 20}, {1, bottom(m) - 20, bottom(m)}}; }},
        {"MissingMapPackDialog",
         [](Game& g) { return std::make_unique<MissingMapPackDialog>(170, 50, g.screenCentre.x, g.screenCentre.y); },
         [&](const Menu& m) { return std::vector<Band>{{0, top(m), bottom(m) - 20}, {1, bottom(m) - 20, bottom(m)}}; }},
    };

    for (const int width : {640, 720, 854}) {
        for (const bool rotated : {false, true}) {
            Frontend f(width, rotated);
            for (const Layout& layout : layouts) {
                f.game.menus.clear();
                Menu& menu = *Push(f.game, layout.make(f.game));
                const auto selectedAt = [&](float x, float y) {
                    f.PointAt(x, y);
                    f.game.UpdateMenus();
                    return menu.selected;
                };
                const std::string where =
                    std::string(layout.name) + " at " + std::to_string(width) + (rotated ? " turned" : "");
                const float left = menu.centre.x - static_cast<float>(menu.halfWidth);
                const float right = menu.centre.x + static_cast<float>(menu.halfWidth);
                for (const Band& band : layout.bands(menu)) {
                    const float middle = band.lower + 10.0f;
                    EXPECT_EQ(selectedAt(menu.centre.x, band.lower), 0) << where << " item " << band.item;
                    EXPECT_EQ(selectedAt(menu.centre.x, band.upper), 0) << where << " item " << band.item;
                    EXPECT_EQ(selectedAt(menu.centre.x, band.lower + 1), band.item) << where;
                    EXPECT_EQ(selectedAt(menu.centre.x, band.upper - 1), band.item) << where;
                    EXPECT_EQ(selectedAt(left, middle), 0) << where << " item " << band.item;
                    EXPECT_EQ(selectedAt(right, middle), 0) << where << " item " << band.item;
                    EXPECT_EQ(selectedAt(left + 1, middle), band.item) << where;
                    EXPECT_EQ(selectedAt(right - 1, middle), band.item) << where;
                }
            }
        }
    }
}

TEST(MenuStack, ADialogAnswersItsParentOnceAfterItsClosingFadeAndGoesAtTheNextPass)
{
    Frontend f;
    f.game.EnterTitle();
    ProbeMenu* parent = Push(f.game, std::make_unique<ProbeMenu>());
    auto* dialog = PushConfirm(f.game, parent, 7);
    f.Frames(30); // opened
    f.ClickAt(320, 205 + 40); // YES
    ASSERT_TRUE(dialog->closing);
    EXPECT_EQ(f.Calls(PlayOf(SampleId::UI3)), 1);
    EXPECT_EQ(f.Calls(PlayOf(SampleId::MenuClose)), 1);

    int frames = 1; // the release frame already ran
    while (dialog->active && frames < 100) {
        EXPECT_TRUE(parent->answers->empty()) << "answered before its fade ended, frame " << frames;
        f.Frame();
        ++frames;
    }
    EXPECT_GE(frames, 25);
    EXPECT_LE(frames, 27);
    EXPECT_EQ(*parent->answers, (std::vector<std::int32_t>{7}));
    // Finished: still on the stack and drawn at alpha 0 in this frame.
    ASSERT_EQ(f.game.menus.size(), 2u);
    EXPECT_EQ(dialog->alpha, 0.0f);
    f.game.DrawMenus(1.0f, f.canvas);
    ASSERT_NE(f.text.Find("YES"), nullptr);
    EXPECT_EQ(f.text.Find("YES")->a, 0.0f);
    f.Frame();
    EXPECT_EQ(f.game.menus.size(), 1u);
    EXPECT_EQ(parent->answers->size(), 1u);
}

TEST(MenuStack, NoOnADialogAnswersZero)
{
    Frontend f;
    f.game.EnterTitle();
    ProbeMenu* parent = Push(f.game, std::make_unique<ProbeMenu>());
    PushConfirm(f.game, parent, 1);
    f.Frames(30);
    f.ClickAt(320, 275 - 10); // NO
    f.Frames(30);
    EXPECT_EQ(*parent->answers, (std::vector<std::int32_t>{0}));
    EXPECT_EQ(f.Top(), parent);
}

TEST(MenuStack, TheMainMenuIsDrawnOnceAtAlphaZeroBeforeItsFirstUpdate)
{
    Frontend f;
    f.game.EnterTitle();
    f.FramesUntil([&] { return !f.game.menus.empty(); });
    ASSERT_NE(f.TopAs<MainMenu>(), nullptr);
    f.game.DrawTitle(1.0f, f.canvas);
    ASSERT_NE(f.text.Find("NEW GAME"), nullptr);
    EXPECT_EQ(f.text.Find("NEW GAME")->a, 0.0f);
    f.Frame();
    EXPECT_GT(f.Top()->alpha, 0.0f);
}

TEST(MenuStack, AMenuReadsItsFinishedFadeAfterTheListDroppedIt)
{
    Frontend f;
    f.game.EnterTitle();
    // The level's own fade-in (the ship's spawn) runs out first: the list
    // then holds the dialog's fade alone.
    f.FramesUntil([&] { return f.game.fades.empty(); }, 100);
    ASSERT_TRUE(f.game.menus.empty());
    auto* dialog = Push(f.game, std::make_unique<LoadFailedDialog>(200, 35, 320, 240));
    const std::weak_ptr<Fade> opening = dialog->fade;
    // Frames as the loop runs them: the fade pass, then the tick's menu pass.
    while (!opening.lock()->finished) {
        f.game.AdvanceFades(0.02f);
        if (!opening.lock()->finished)
            f.game.UpdateMenus();
    }
    // The frame that finished the fade had no tick; the next frame's pass
    // drops it before its tick ...
    f.game.AdvanceFades(0.02f);
    EXPECT_TRUE(f.game.fades.empty());
    ASSERT_NE(dialog->fade, nullptr);
    // ... and the menu still reads its end.
    f.game.UpdateMenus();
    EXPECT_EQ(dialog->fade, nullptr);
    EXPECT_EQ(dialog->alpha, 1.0f);
    EXPECT_TRUE(opening.expired());
}

TEST(MenuStack, AClosedMenuUnderADialogActsOnceTheDialogIsGone)
{
    Frontend f;
    f.EnterTitleAndOpenMenu();
    auto* menu = f.TopAs<MainMenu>();
    ASSERT_NE(menu, nullptr);
    f.host.grabbed = false;
    menu->Close(); // nothing chosen: its closing action only takes the grab
    auto* dialog = Push(f.game, std::make_unique<LoadFailedDialog>(200, 35, 320, 240));
    f.Frames(60); // the menu's closing fade ends and leaves the list meanwhile
    EXPECT_TRUE(menu->active);
    EXPECT_FALSE(f.host.grabbed);
    f.ClickAt(320, 275 - 10); // DONE
    EXPECT_TRUE(dialog->closing);
    f.FramesUntil([&] { return f.game.menus.size() == 1; });
    f.Frame();
    EXPECT_FALSE(menu->active);
    EXPECT_TRUE(f.host.grabbed);
    EXPECT_EQ(f.game.input.cursorVisible, 0);
    f.Frame();
    EXPECT_TRUE(f.game.menus.empty());
}

TEST(MenuStack, ClosingTwicePlaysTwoCloseSoundsAndRestartsTheFade)
{
    Frontend f;
    f.game.EnterTitle();
    auto* menu = Push(f.game, std::make_unique<ProbeMenu>());
    f.Frames(30);
    menu->Close();
    f.Frames(10);
    EXPECT_LT(menu->alpha, 1.0f);
    const float halfway = menu->alpha;
    menu->Close();
    f.Frame();
    EXPECT_GT(menu->alpha, halfway);
    EXPECT_EQ(f.Calls(PlayOf(SampleId::MenuClose)), 2);
}

TEST(MenuStack, CloseAllMenusLeavesNoChosenItem)
{
    Frontend f;
    f.game.EnterTitle();
    auto* lower = Push(f.game, std::make_unique<ProbeMenu>());
    auto* dialog = PushConfirm(f.game, lower, 1);
    f.PointAt(320, 245);
    f.Frames(30);
    ASSERT_EQ(dialog->selected, 1);
    const auto answers = lower->answers;
    f.game.CloseAllMenus();
    EXPECT_TRUE(lower->closing);
    EXPECT_TRUE(dialog->closing);
    f.Frames(30);
    EXPECT_EQ(*answers, (std::vector<std::int32_t>{0}));
    EXPECT_TRUE(f.game.menus.empty());
}

TEST(MenuStack, TheStackIsDrawnBottomFirstAndTurnedWithTheScreen)
{
    for (const bool rotated : {false, true}) {
        Frontend f(854, rotated);
        f.game.EnterTitle();
        f.game.DrawMenus(1.0f, f.canvas);
        EXPECT_TRUE(f.state.calls.empty()) << "nothing is drawn for an empty stack";
        Push(f.game, std::make_unique<ProbeMenu>());
        Push(f.game, std::make_unique<ConfirmDialog>(150, 35, 320, 240));
        f.game.DrawMenus(1.0f, f.canvas);
        ASSERT_FALSE(f.state.calls.empty());
        EXPECT_EQ(f.state.calls.front(), "Setup2DView(854,480)");
        EXPECT_EQ(f.state.Has("Rotate(90)"), rotated);
        EXPECT_EQ(f.state.Has("Translate(-480,0)"), rotated);
        ASSERT_EQ(f.text.lines.size(), 4u);
        EXPECT_EQ(f.text.lines[0].text, "PROBE");
        EXPECT_EQ(f.text.lines[1].text, "ARE YOU SURE?");
    }
}

TEST(MenuStack, TheBoxAndItsLabelsFollowTheMenuAlphaAndTheSelection)
{
    Frontend f;
    f.game.EnterTitle();
    auto* dialog = Push(f.game, std::make_unique<ConfirmDialog>(150, 35, 320, 240));
    f.PointAt(320, 245);
    f.Frames(10);
    f.game.DrawMenus(1.0f, f.canvas);
    const float a = dialog->alpha;
    // The shaded fill: blue at the top edge, dark blue at the bottom.
    ASSERT_FALSE(f.sink.batches.empty());
    const auto& fill = f.sink.batches[0];
    ASSERT_EQ(fill.vertices.size(), 4u);
    EXPECT_EQ(fill.vertices[0].x, 170.0f);
    EXPECT_EQ(fill.vertices[0].y, 205.0f);
    EXPECT_EQ(fill.vertices[0].g, 0.3f);
    EXPECT_EQ(fill.vertices[0].a, a);
    EXPECT_EQ(fill.vertices[2].x, 470.0f);
    EXPECT_EQ(fill.vertices[2].y, 275.0f);
    EXPECT_EQ(fill.vertices[2].b, 0.5f);
    // Two white outlines, the second 3 units outside.
    ASSERT_GE(f.sink.batches.size(), 3u);
    EXPECT_EQ(f.sink.batches[2].vertices[0].x, 167.0f);
    EXPECT_EQ(f.sink.batches[2].vertices[0].y, 202.0f);
    EXPECT_EQ(f.sink.batches[2].vertices[0].r, 1.0f);
    // YES under the pointer pulses red to yellow; NO and the question are white.
    const auto* yes = f.text.Find("YES");
    const auto* no = f.text.Find("NO");
    const auto* question = f.text.Find("ARE YOU SURE?");
    ASSERT_TRUE(yes && no && question);
    EXPECT_EQ(yes->g, dialog->pulse);
    EXPECT_EQ(yes->b, 0.0f);
    EXPECT_EQ(no->g, 1.0f);
    EXPECT_EQ(question->y, 205.0f);
    EXPECT_EQ(yes->y, 235.0f);
    EXPECT_EQ(no->y, 255.0f);
    EXPECT_EQ(yes->x, 320.0f);
    EXPECT_EQ(yes->scaleX, 0.5f);
    EXPECT_EQ(yes->align, FontSet::AlignCentre);
    EXPECT_EQ(yes->a, a);
}
