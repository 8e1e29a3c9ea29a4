#include "Fade.h"
#include "PlayModeFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

TEST(Fade, OneSecondAtFiftyFramesEndsAfterFiftyFramesAndIsDrawnOnceMoreAtItsEnd)
{
    PlayFixture f;
    auto fade = std::make_shared<Fade>(Fade::Black(1.0f, 0.0f, 1.0f, 0));
    f.game.fades.push_back(fade);
    int frames = 0;
    while (!fade->finished && frames < 100) {
        f.game.AdvanceFades(0.02f);
        ++frames;
        if (frames == 25) {
            EXPECT_NEAR(fade->alpha, 0.5f, 1e-4f);
        }
    }
    EXPECT_TRUE(frames == 50 || frames == 51) << frames;
    EXPECT_EQ(fade->alpha, 0.0f);
    // Still listed and drawn this frame, at its end values.
    ASSERT_EQ(f.game.fades.size(), 1u);
    f.game.DrawFades(f.sink, f.state);
    ASSERT_EQ(f.sink.batches.size(), 1u);
    EXPECT_EQ(f.sink.batches[0].vertices.size(), 4u);
    EXPECT_EQ(f.sink.batches[0].vertices[0].a, 0.0f);
    // Removed at the start of the next frame.
    f.game.AdvanceFades(0.02f);
    EXPECT_TRUE(f.game.fades.empty());
}

TEST(Fade, ZeroDurationAndStallsFinishAtOnceWithTheirEndValues)
{
    const float red[3] = {1, 0, 0};
    const float blue[3] = {0, 0, 1};
    for (float seconds : {0.0f, 1.0f}) {
        Fade fade(red, blue, 0.0f, 1.0f, seconds, 0);
        // A zero fade with a frame of 0 s, and a 3 s stall on a 1 s fade.
        fade.Update(seconds == 0.0f ? 0.0f : 3.0f);
        EXPECT_TRUE(fade.finished) << seconds;
        EXPECT_EQ(fade.alpha, 1.0f) << seconds;
        EXPECT_FALSE(std::isnan(fade.alpha));
        EXPECT_EQ(fade.colour[0], 0.0f);
        EXPECT_EQ(fade.colour[2], 1.0f);
    }
}

TEST(Fade, VisibleFadesCoverTheUnitViewBlendedAndHiddenOnesDrawNothing)
{
    PlayFixture f;
    const float grey[3] = {0.5f, 0.5f, 0.5f};
    f.game.fades.push_back(std::make_shared<Fade>(grey, grey, 0.25f, 0.25f, 1.0f, 0));
    f.game.fades.push_back(std::make_shared<Fade>(Fade::Black(0.0f, 1.0f, 0.5f, 1)));
    f.game.DrawFades(f.sink, f.state);
    ASSERT_EQ(f.sink.batches.size(), 1u);
    const auto& v = f.sink.batches[0].vertices;
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(v[0].r, 0.5f);
    EXPECT_EQ(v[0].a, 0.25f);
    EXPECT_EQ(v[2].x, 1.0f);
    EXPECT_EQ(v[2].y, 1.0f);
    const std::vector<std::string> expected = {"Setup2DView(1,1)", "SetBlend(770,771)", "DisableBlend()"};
    EXPECT_EQ(f.state.calls, expected);
}

TEST(Fade, AMenuReadsItsFadeAfterTheListHasDroppedIt)
{
    PlayFixture f;
    std::shared_ptr<Fade> menuFade = std::make_shared<Fade>(Fade::Black(0.0f, 1.0f, 0.5f, 1));
    f.game.fades.push_back(menuFade);
    for (int i = 0; i < 40 && !f.game.fades.empty(); ++i)
        f.game.AdvanceFades(0.02f);
    EXPECT_TRUE(f.game.fades.empty());
    // The menu's own reference keeps the record alive with its end values.
    EXPECT_TRUE(menuFade->finished);
    EXPECT_EQ(menuFade->alpha, 1.0f);
    EXPECT_EQ(menuFade.use_count(), 1);
}
