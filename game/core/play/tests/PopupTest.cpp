#include "PlayModeFixture.h"
#include "ScorePopup.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(ScorePopup, LivesAHundredTicksAndRisesForty)
{
    ScorePopup popup("500", 100.0f, 300.0f);
    int ticks = 0;
    bool expired = false;
    while (!expired && ticks < 1000) {
        expired = popup.Update();
        ++ticks;
    }
    EXPECT_EQ(ticks, 100);
    EXPECT_NEAR(popup.position.y, 260.0f, 1e-3f);
    EXPECT_NEAR(popup.previousPosition.y, 260.4f, 1e-3f);
    EXPECT_EQ(popup.position.x, 100.0f);
}

TEST(ScorePopup, TextIsCutToFifteenCharactersAndNullIsEmpty)
{
    ScorePopup longOne("1234567890ABCDEFGHIJ", 0, 0);
    EXPECT_STREQ(longOne.text, "1234567890ABCDE");
    ScorePopup none(nullptr, 0, 0);
    EXPECT_STREQ(none.text, "");
}

TEST(ScorePopup, GreyFallsFromOneOnTheFirstDrawToAHundredthOnTheLast)
{
    PlayFixture f;
    FontSet& font = f.game.font2;
    for (FontSet::Glyph& glyph : font.glyphs)
        glyph.width = 16;
    ScorePopup popup("7", 10.0f, 50.0f);
    popup.Draw(1.0f, font, f.sink, f.state);
    ASSERT_FALSE(f.sink.vertices.empty());
    EXPECT_EQ(f.sink.vertices[0].r, 1.0f);
    EXPECT_EQ(f.sink.vertices[0].a, 1.0f);
    EXPECT_TRUE(f.state.Has("SetBlend(1,1)"));
    EXPECT_FALSE(font.fixedPitch); // switched back off
    EXPECT_EQ(font.blendSource, 770);

    for (int i = 0; i < 99; ++i)
        popup.Update();
    f.sink.vertices.clear();
    // Interpolated halfway between this tick's and last tick's place.
    popup.Draw(0.5f, font, f.sink, f.state);
    ASSERT_FALSE(f.sink.vertices.empty());
    EXPECT_NEAR(f.sink.vertices[0].r, 0.01f, 1e-6f);
    float top = 1e9f;
    for (const auto& v : f.sink.vertices)
        top = std::min(top, v.y);
    EXPECT_NEAR(top, 50.0f - 39.6f + 0.2f, 1e-3f);
}

TEST(ScorePopup, ThePlayTickRemovesExpiredPopupsAndClearingTheLevelEmptiesThem)
{
    PlayFixture f;
    f.StartFlatLevel(2000, 4);
    f.game.scorePopups.emplace_back("100", 0.0f, 0.0f);
    for (int i = 0; i < 50; ++i)
        f.game.UpdatePlay();
    f.game.scorePopups.emplace_back("200", 0.0f, 0.0f);
    for (int i = 0; i < 50; ++i)
        f.game.UpdatePlay();
    ASSERT_EQ(f.game.scorePopups.size(), 1u);
    EXPECT_STREQ(f.game.scorePopups[0].text, "200");
    EXPECT_EQ(f.game.scorePopups[0].life, 50);
    f.game.ClearLevel();
    EXPECT_TRUE(f.game.scorePopups.empty());
}
