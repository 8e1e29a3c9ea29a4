#include "Debris.h"
#include "ParticleSystem.h"
#include "PlayMode.h"
#include "PlayModeFixture.h"
#include "ResourceTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace {

std::string PlayOf(SampleId id) { return "PlayChannelTimed(-1,chunk#" + std::to_string(Index(id)) + ",0,-1)"; }

int Count(const std::vector<std::string>& calls, const std::string& call)
{
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

// A level 2000 wide with the camera so the view covers x -100..540: the
// wrap images at -W and 0 see cells, the one at +W none.
struct LevelPlay : PlayFixture {
    LevelPlay()
    {
        LoadFakeSamples();
        StartFlatLevel(2000.0f, 8);
        game.player->zoom = 1.0f;
        PlaceCamera(-100.0f, 800.0f);
        QueryPlaySectors(game);
        host.audio.calls.clear();
    }

    // An actor by the left edge: its circle reaches across the wrap, so it
    // stands in cells of the first and the last column.
    std::shared_ptr<CountingActor::Counts> AddActorAcrossTheWrap()
    {
        auto* actor = new CountingActor();
        actor->Spawn(10.0f, 1000.0f, 0.0f);
        actor->shapes = {HullCircle(50.0f, 10.0f, 1000.0f)};
        actor->EnterSectors();
        game.entities.Append(actor);
        return actor->counts;
    }

    std::set<const Beam*> BeamsOfImage(int image) const
    {
        std::set<const Beam*> beams;
        for (const Sector* sector : game.visibleSectors[image])
            beams.insert(sector->beams.begin(), sector->beams.end());
        return beams;
    }

    void Press(ButtonIndex button) { game.input.Button(button).key.state = KeyState::Pressed; }
    void Release(ButtonIndex button) { game.input.Button(button).key.state = KeyState::Up; }
};

} // namespace

TEST(PlayMode, PauseOpensThePauseMenuFreezesTheLevelAndClosingItResumes)
{
    LevelPlay f;
    f.game.tickLength = 0.05f;

    // A running fade blocks the key.
    f.game.fades.push_back(std::make_shared<Fade>(Fade::Black(1, 0, 1, 0)));
    f.Press(ButtonPause);
    f.game.UpdatePlay();
    EXPECT_FALSE(f.game.paused);
    EXPECT_TRUE(f.game.menus.empty());
    f.game.fades.clear();
    const int bonus = f.game.bonusTime;

    f.game.UpdatePlay();
    EXPECT_TRUE(f.game.paused);
    ASSERT_EQ(f.game.menus.size(), 1u);
    EXPECT_EQ(f.game.tickLength, 0.02f);
    EXPECT_EQ(f.game.savedTickLength, 0.05f);
    EXPECT_EQ(Count(f.host.audio.calls, "Pause(-1)"), 1);
    EXPECT_EQ(Count(f.host.audio.calls, "PauseMusic()"), 1);

    // Held key, no new press: nothing of the level moves.
    const Star star = f.game.starLayers[0][0];
    f.Release(ButtonPause);
    for (int i = 0; i < 10; ++i) {
        f.game.tickCount = i * 2;
        f.game.UpdatePlay();
    }
    EXPECT_TRUE(f.game.paused);
    EXPECT_EQ(f.game.bonusTime, bonus);
    EXPECT_EQ(f.game.starLayers[0][0].t, star.t);

    // Once the opening fade is over, escape closes the menu; when its
    // closing fade has ended the game runs on at its old pace.
    f.game.AdvanceFades(1.0f);
    f.game.AdvanceFades(0.0f);
    f.Press(ButtonEscape);
    f.game.UpdatePlay();
    EXPECT_TRUE(f.game.paused);
    f.Release(ButtonEscape);
    f.game.AdvanceFades(0.5f);
    f.game.UpdatePlay(); // the menu sees its closing fade end
    EXPECT_EQ(f.game.tickLength, 0.05f);
    EXPECT_TRUE(f.game.paused);
    f.game.UpdatePlay(); // the menu is deleted: play resumes
    EXPECT_TRUE(f.game.menus.empty());
    EXPECT_FALSE(f.game.paused);
    EXPECT_EQ(Count(f.host.audio.calls, "Resume(-1)"), 1);
    f.game.tickCount = 0;
    f.game.UpdatePlay();
    EXPECT_EQ(f.game.bonusTime, bonus - 1);
}

TEST(PlayMode, CountdownTicksOncePerWholeSecondWhileShakingUntilTheMissionEnds)
{
    LevelPlay f;
    f.game.selfDestruct.running = true;
    f.game.selfDestruct.secondsLeft = 60.99f;
    f.game.selfDestruct.lastWholeSecond = 60;
    for (int i = 0; i < 150; ++i) {
        f.game.UpdatePlay();
        EXPECT_GE(f.game.shakeOffset.x, -2.5f);
        EXPECT_LT(f.game.shakeOffset.x, 2.5f);
        EXPECT_GE(f.game.shakeOffset.y, -2.5f);
        EXPECT_LT(f.game.shakeOffset.y, 2.5f);
    }
    // 60.99 -> 57.99: the whole second changed three times.
    EXPECT_EQ(Count(f.host.audio.calls, PlayOf(SampleId::ClockTick)), 3);
    EXPECT_EQ(f.game.selfDestruct.lastWholeSecond, 57);
    EXPECT_EQ(f.CallsStartingWith("SetPosition"), 3);
    for (const std::string& call : f.host.audio.calls)
        if (call.rfind("SetPosition", 0) == 0) {
            EXPECT_EQ(call.substr(call.find(',')), ",0,0)"); // centred
        }
    EXPECT_NE(f.game.shakeOffset, (Vec2{}));

    f.game.missionState.completed = true;
    f.host.audio.calls.clear();
    for (int i = 0; i < 150; ++i)
        f.game.UpdatePlay();
    EXPECT_EQ(Count(f.host.audio.calls, PlayOf(SampleId::ClockTick)), 0);
    EXPECT_EQ(f.game.shakeOffset, (Vec2{}));
    EXPECT_NEAR(f.game.selfDestruct.secondsLeft, 54.99f, 1e-3f);

    // A level start stops the countdown and the shake.
    f.game.shakeOffset = {2, 2};
    f.game.StartLevel();
    EXPECT_FALSE(f.game.selfDestruct.running);
    EXPECT_EQ(f.game.shakeOffset, (Vec2{}));
}

TEST(PlayMode, DetonationFlashesThenKillsEveryVisibleActorOnceAndBreaksTheVisibleBeams)
{
    LevelPlay f;
    const auto actor = f.AddActorAcrossTheWrap();
    f.game.selfDestruct.running = true;
    f.game.selfDestruct.secondsLeft = 0.02f;
    f.game.selfDestruct.lastWholeSecond = 0;

    // Exactly 0 left does not detonate.
    f.game.UpdatePlay();
    EXPECT_EQ(f.game.selfDestruct.secondsLeft, 0.0f);
    EXPECT_FALSE(f.game.selfDestruct.detonated);

    f.game.UpdatePlay();
    EXPECT_TRUE(f.game.selfDestruct.detonated);
    EXPECT_FLOAT_EQ(f.game.selfDestruct.flashTimer, 0.48f); // counted down on the same tick
    EXPECT_EQ(Count(f.host.audio.calls, PlayOf(SampleId::PlanetExplosion)), 1);
    EXPECT_EQ(f.game.shakeOffset, (Vec2{})); // the shaking has stopped

    // The flash: the frame clears a second time in the flash colour.
    f.state.calls.clear();
    f.game.DrawPlay(0.0f, f.sink, f.state);
    const FlashColour& flash = DetonationFlashColour(f.game.selfDestruct.flashColour);
    ASSERT_GE(f.state.calls.size(), 2u);
    EXPECT_EQ(f.state.calls[0], "Clear(0,0,0,0)");
    EXPECT_EQ(f.state.calls[1], "Clear(" + std::to_string(static_cast<int>(flash.r)) + "," +
                                    std::to_string(static_cast<int>(flash.g)) + "," +
                                    std::to_string(static_cast<int>(flash.b)) + ",0)");

    // Count what the blast will meet: the visible cells right before it.
    std::set<const Beam*> visibleBeams;
    int flashTicks = 0;
    std::set<int> colours;
    while (!f.game.selfDestruct.detonationDone && flashTicks < 100) {
        visibleBeams.clear();
        for (int image = 0; image < 3; ++image)
            for (const Beam* beam : f.BeamsOfImage(image))
                visibleBeams.insert(beam);
        f.game.UpdatePlay();
        colours.insert(f.game.selfDestruct.flashColour);
        ++flashTicks;
    }
    // About half a second after the detonation tick.
    EXPECT_GE(flashTicks, 24);
    EXPECT_LE(flashTicks, 26);
    EXPECT_GT(colours.size(), 3u);
    ASSERT_FALSE(visibleBeams.empty());

    EXPECT_EQ(actor->dies, 1); // registered in two images, killed once
    EXPECT_TRUE(f.game.player->dying);
    int debris = 0;
    std::set<std::pair<float, float>> debrisStarts;
    for (Entity* entity : f.game.entities) {
        if (entity->type == EntityTypes::Debris) {
            ++debris;
            const auto* piece = static_cast<const Debris*>(entity);
            // The piece's position is where it was made; its line may already
            // have drifted in the entity pass of the same tick.
            debrisStarts.insert({piece->position.x, piece->position.y});
        }
    }
    EXPECT_EQ(debris, static_cast<int>(visibleBeams.size()));
    for (const Beam* beam : visibleBeams)
        EXPECT_EQ(debrisStarts.count({beam->a.x, beam->a.y}), 1u);
    for (int image = 0; image < 3; ++image)
        for (const Sector* sector : f.game.visibleSectors[image])
            EXPECT_TRUE(sector->beams.empty());
    EXPECT_EQ(f.game.map.liveBeams.size(), 8u); // the beams themselves stay

    // The next tick deletes the dead actor; the blast does not repeat.
    f.game.UpdatePlay();
    int debrisAfter = 0;
    for (Entity* entity : f.game.entities)
        debrisAfter += entity->type == EntityTypes::Debris ? 1 : 0;
    EXPECT_LE(debrisAfter, debris);
    for (Entity* entity : f.game.entities)
        EXPECT_NE(entity->type, 0);
}

TEST(PlayMode, DeathSlowMotionGrowsFivePercentToATenthThenShrinksBackOnlyWhileDying)
{
    LevelPlay f;
    f.game.tickLength = 0.05f;
    f.game.UpdatePlay();
    EXPECT_EQ(f.game.tickLength, 0.05f); // not dying: left alone

    f.game.tickLength = 0.02f;
    f.game.player->dying = true;
    std::vector<float> lengths;
    for (int i = 0; i < 80; ++i) {
        f.game.player->endTimer = 300 - i;
        f.game.UpdatePlay();
        lengths.push_back(f.game.tickLength);
    }
    EXPECT_FLOAT_EQ(lengths[0], 0.021f);
    EXPECT_FLOAT_EQ(lengths[1], 0.02205f);
    EXPECT_FLOAT_EQ(lengths[2], 0.0231525f);
    for (int i = 1; i < 50; ++i)
        EXPECT_GE(lengths[static_cast<size_t>(i)], lengths[static_cast<size_t>(i - 1)]);
    EXPECT_EQ(lengths[49], 0.1f); // capped
    EXPECT_FLOAT_EQ(lengths[50], 0.09f);
    for (int i = 51; i < 80; ++i)
        EXPECT_LE(lengths[static_cast<size_t>(i)], lengths[static_cast<size_t>(i - 1)]);
    EXPECT_EQ(lengths.back(), 0.02f); // floored
    const auto firstFloor = std::find(lengths.begin() + 50, lengths.end(), 0.02f) - lengths.begin();
    EXPECT_EQ(firstFloor, 50 + 15);
}

TEST(PlayMode, BonusCountsDownOnEvenTicksUntilZeroOrTheMissionIsDone)
{
    PlayFixture f;
    f.game.bonusTime = 1;
    f.game.tickCount = 3;
    CountBonusTime(f.game);
    EXPECT_EQ(f.game.bonusTime, 1);
    f.game.tickCount = 4;
    CountBonusTime(f.game);
    EXPECT_EQ(f.game.bonusTime, 0);
    f.game.tickCount = 6;
    CountBonusTime(f.game);
    EXPECT_EQ(f.game.bonusTime, 0);
    f.game.bonusTime = 10;
    f.game.missionState.completed = true;
    CountBonusTime(f.game);
    EXPECT_EQ(f.game.bonusTime, 10);
}

TEST(PlayMode, StarsDriftAgainstTheCamera)
{
    LevelPlay f;
    const Vec2 before = f.game.parallaxOffset;
    // A ship flying right at the right edge of the camera box drags the camera.
    Player& ship = *f.game.player;
    ship.spawnTimer = 0;
    ship.velocity = {10.0f, 0.0f};
    ship.position = ship.camera + Vec2{0.95f * f.game.screenSize.x, 0.5f * f.game.screenSize.y};
    f.game.UpdatePlay();
    // However the ship's own update moved the camera, the offset moves back
    // by that tick's camera step.
    const Vec2 step = f.game.player->camera - f.game.player->previousCamera;
    EXPECT_NE(step, (Vec2{}));
    EXPECT_EQ(f.game.previousParallaxOffset, before);
    EXPECT_EQ(f.game.parallaxOffset, before - step);
}

TEST(WorldDraw, EachVisibleWrapImageDrawsItsBeamsOnceAndActorsSeenTwiceDrawTwice)
{
    LevelPlay f;
    const auto actor = f.AddActorAcrossTheWrap();
    ASSERT_FALSE(f.game.visibleSectors[0].empty());
    ASSERT_FALSE(f.game.visibleSectors[1].empty());
    ASSERT_TRUE(f.game.visibleSectors[2].empty());
    const size_t beamsLeft = f.BeamsOfImage(0).size();
    const size_t beamsMiddle = f.BeamsOfImage(1).size();
    ASSERT_GT(beamsLeft, 0u);
    ASSERT_GT(beamsMiddle, 0u);

    f.game.starLayers[0].clear(); // no stars: only the level's batches
    f.game.particles.Clear();     // nor the ship's spawn effects
    f.game.DrawWorld(0.0f, f.sink, f.state);

    // The camera, then images -W and 0 translated into place; +W is
    // skipped entirely.
    std::vector<std::string> pushed;
    for (size_t i = 0; i + 1 < f.state.calls.size(); ++i)
        if (f.state.calls[i] == "PushMatrix()")
            pushed.push_back(f.state.calls[i + 1]);
    const std::vector<std::string> places = {"Translate(100,-800)", "Translate(-2000,0)", "Translate(0,0)"};
    EXPECT_EQ(pushed, places);
    EXPECT_EQ(f.state.Count("PushMatrix()"), f.state.Count("PopMatrix()"));

    // Every beam of an image drawn once in it as 12 vertices.
    size_t beamVertices = 0;
    for (const auto& batch : f.sink.batches)
        if (batch.vertices.size() % 12 == 0)
            beamVertices += batch.vertices.size();
    EXPECT_EQ(beamVertices, 12u * (beamsLeft + beamsMiddle));
    EXPECT_EQ(actor->draws, 2);

    // Zoom and shake set up the view before the camera.
    LevelPlay g;
    g.game.player->zoom = 2.0f;
    g.game.shakeOffset = {1.5f, -2.0f};
    g.game.rotatedScreen = true;
    g.game.UpdateScreenSize();
    g.game.DrawWorld(0.0f, g.sink, g.state);
    const std::vector<std::string> head(g.state.calls.begin(), g.state.calls.begin() + 6);
    const std::vector<std::string> expected = {"Setup2DView(640,480)", "Rotate(90)",          "Translate(-480,0)",
                                               "Scale(2,2)",           "Translate(-120,-160)", "Translate(1.5,-2)"};
    EXPECT_EQ(head, expected);
}

TEST(WorldDraw, NoVisibleCellsDrawsOnlyTheStars)
{
    LevelPlay f;
    for (auto& list : f.game.visibleSectors)
        list.clear();
    f.PlaceCamera(-100.0f, 300.0f);
    f.game.DrawWorld(0.5f, f.sink, f.state);
    ASSERT_EQ(f.sink.batches.size(), 3u);
    for (const auto& batch : f.sink.batches)
        EXPECT_EQ(batch.vertices.size(), 160u);
    EXPECT_EQ(f.state.calls.back(), "Finish()");
}

namespace {

// A particle system that counts its updates and draws.
class CountingSystem : public ParticleSystem {
public:
    explicit CountingSystem(std::shared_ptr<CountingActor::Counts> counts) : counts(std::move(counts)) {}
    void Update() override { ++counts->updates; }
    void Draw(DrawSink&, float) const override { ++counts->draws; }

private:
    std::shared_ptr<CountingActor::Counts> counts;
};

} // namespace

TEST(WorldDraw, EffectsAndPopupsDrawInEveryVisibleImageAndUpdateOncePerTick)
{
    LevelPlay f;
    auto particleCounts = std::make_shared<CountingActor::Counts>();
    auto ribbonCounts = std::make_shared<CountingActor::Counts>();
    f.game.particles.Append(std::make_unique<CountingSystem>(particleCounts));
    f.game.ribbons.Append(std::make_unique<CountingSystem>(ribbonCounts));
    for (FontSet::Glyph& glyph : f.game.font2.glyphs)
        glyph.width = 16;
    f.game.scorePopups.emplace_back("50", 100.0f, 1000.0f);

    f.game.UpdatePlay();
    EXPECT_EQ(particleCounts->updates, 1);
    EXPECT_EQ(ribbonCounts->updates, 1);
    ASSERT_EQ(f.game.scorePopups.size(), 1u);
    EXPECT_EQ(f.game.scorePopups[0].life, 99);

    // The camera is back where the images -W and 0 are visible.
    f.PlaceCamera(-100.0f, 800.0f);
    QueryPlaySectors(f.game);
    f.game.starLayers[0].clear();
    f.game.DrawWorld(0.0f, f.sink, f.state);
    EXPECT_EQ(particleCounts->draws, 2);
    EXPECT_EQ(ribbonCounts->draws, 2);
    // Two glyphs of the popup, once per image.
    int popupVertices = 0;
    for (const auto& v : f.sink.vertices)
        popupVertices += v.r > 0.98f && v.r < 0.995f ? 1 : 0; // the grey of life 99
    EXPECT_EQ(popupVertices, 2 * 2 * 4);
}

TEST(WorldDraw, AWorldNarrowerThanTheViewDrawsAllThreeImages)
{
    PlayFixture f;
    f.StartFlatLevel(500.0f, 2);
    f.game.player->zoom = 1.0f;
    f.PlaceCamera(-70.0f, 800.0f);
    QueryPlaySectors(f.game);
    for (int image = 0; image < 3; ++image)
        ASSERT_FALSE(f.game.visibleSectors[image].empty()) << image;
    f.game.starLayers[0].clear();
    f.game.particles.Clear();
    f.game.DrawWorld(0.0f, f.sink, f.state);
    EXPECT_EQ(f.state.Count("Translate(-500,0)"), 1);
    EXPECT_EQ(f.state.Count("Translate(500,0)"), 1);
    // Both beams in every image, each once per image.
    size_t beamVertices = 0;
    for (const auto& batch : f.sink.batches)
        if (!batch.vertices.empty() && batch.vertices.size() % 12 == 0)
            beamVertices += batch.vertices.size();
    EXPECT_EQ(beamVertices, 3u * 2u * 12u);
}
