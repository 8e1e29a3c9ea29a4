#include "MissionFixture.h"

#include "FuelPod.h"
#include "FuelStreamParticles.h"

#include <gtest/gtest.h>

namespace {

struct PodLevel : MissionFixture {
    FuelPod* pod = nullptr;
    FuelStreamParticles* stream = nullptr;

    explicit PodLevel(float angle = 0.0f)
    {
        pod = Place<FuelPod>(EntityTypes::FuelPod, {1000, 900}, angle);
        stream = pod->stream.Get();
        ship.fuel = 0.0f;
        host.audio.calls.clear();
    }

    // The ship hovering (not moved) at p, able to refuel.
    void Hover(Vec2 p) { PlaceShip(p, 0.0f); }

    // One tick of the pod and its stream, in list order.
    void Tick()
    {
        if (!pod->dead)
            pod->Update();
        stream->Update();
    }

    int Bursts(std::int32_t count) const
    {
        int n = 0;
        for (const ExplosionParticles* e : Systems<ExplosionParticles>(game.particles))
            n += e->count == count ? 1 : 0;
        return n;
    }

    int HissStarts() const { return CallsStartingWith("PlayChannelTimed(-1,chunk#" + std::to_string(Index(SampleId::FuelPod)) + ",-1"); }
    int Halts() const { return CallsStartingWith("HaltChannel("); }
};

TEST(FuelPod, SpawnGivesAFullStoreAndAStreamThatKnowsThePod)
{
    PodLevel f;
    ASSERT_NE(f.stream, nullptr);
    EXPECT_EQ(f.stream->pod.Get(), f.pod);
    EXPECT_EQ(f.pod->fuelStore, 100.0f);
    EXPECT_EQ(f.pod->health, 3.0f);
    EXPECT_EQ(f.pod->points, 25);
    EXPECT_FALSE(f.pod->soundOn);
    EXPECT_EQ(f.pod->Nozzle().x, 1000.0f);
    EXPECT_NEAR(f.pod->Nozzle().y, 875.0f, 1e-4f) << "25 units up";
}

TEST(FuelPod, FeedsAShipBelowOneHundredUnitsFromTheNozzle)
{
    for (float gap : {99.9f, 100.0f}) {
        PodLevel f;
        f.Hover({1000, 875.0f - gap});
        f.Tick();
        f.Tick();
        const bool fed = gap < 100.0f;
        EXPECT_EQ(f.pod->fuelStore, fed ? 99.0f : 100.0f) << gap;
        EXPECT_EQ(f.pod->soundOn, fed) << gap;
        EXPECT_EQ(f.HissStarts(), fed ? 1 : 0) << gap;
    }
}

TEST(FuelPod, TheHissStartsOnceAndStopsOutOfRange)
{
    PodLevel f;
    f.Hover({1000, 850});
    for (int i = 0; i < 10; ++i)
        f.Tick();
    EXPECT_EQ(f.HissStarts(), 1);
    EXPECT_EQ(f.Halts(), 0);
    f.Hover({1000, 500});
    f.Tick();
    EXPECT_FALSE(f.pod->soundOn);
    EXPECT_EQ(f.Halts(), 1);
    f.Tick();
    EXPECT_EQ(f.Halts(), 1);
}

TEST(FuelPod, HoveringTwoHundredTicksEmptiesItAndDeliversOneHundredFuel)
{
    PodLevel f;
    f.Hover({1000, 850});
    const std::int32_t score = f.ship.score;
    int ticks = 0;
    while (!f.pod->dead && ticks < 1000) {
        f.Tick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 200);
    EXPECT_EQ(f.Bursts(40), 1);
    EXPECT_EQ(f.Bursts(30), 1);
    EXPECT_EQ(f.ship.score, score + 25);
    EXPECT_FALSE(f.pod->soundOn);
    EXPECT_EQ(f.Halts(), 1);
    EXPECT_EQ(f.stream->pod.Get(), nullptr);
    for (int i = 0; i < 500; ++i)
        f.stream->Update();
    EXPECT_TRUE(f.stream->particles.empty());
    EXPECT_NEAR(f.ship.fuel, 100.0f, 1e-3f);
    f.pod->Die();
    EXPECT_EQ(f.ship.score, score + 25);
}

TEST(FuelPod, TheShipKeepsAtMostThreeHundredFuel)
{
    PodLevel f;
    f.Hover({1000, 850});
    f.ship.fuel = 250.0f;
    for (int i = 0; i < 700; ++i)
        f.Tick();
    ASSERT_TRUE(f.pod->dead);
    EXPECT_NEAR(f.ship.fuel, 350.0f, 1e-3f) << "the stream itself delivers every unit";
    f.game.gravity = {};
    f.ShipTick();
    EXPECT_EQ(f.ship.fuel, 300.0f);
}

TEST(FuelPod, ASpawningOrDyingShipGetsNothing)
{
    for (bool dying : {false, true}) {
        PodLevel f;
        f.Hover({1000, 850});
        if (dying)
            f.ship.dying = true;
        else
            f.ship.spawnTimer = 40;
        for (int i = 0; i < 10; ++i)
            f.Tick();
        EXPECT_EQ(f.pod->fuelStore, 100.0f) << dying;
        EXPECT_EQ(f.HissStarts(), 0) << dying;
    }
}

TEST(FuelPod, AnUpsideDownPodFeedsAShipBelowIt)
{
    // 90 below the centre: 65 from the turned nozzle, 115 from an upright one.
    for (float angle : {0.0f, 180.0f}) {
        PodLevel f(angle);
        f.Hover({1000, 990});
        f.Tick();
        f.Tick();
        EXPECT_EQ(f.pod->fuelStore, angle == 180.0f ? 99.0f : 100.0f) << angle;
    }
}

TEST(FuelPod, TwoHitsKeepItFeedingTheThirdEndsIt)
{
    PodLevel f;
    f.Hover({1000, 850});
    f.Tick();
    f.pod->Damage(1.0f);
    f.pod->Damage(1.0f);
    EXPECT_FALSE(f.pod->dead);
    f.Tick();
    EXPECT_EQ(f.pod->fuelStore, 99.0f);
    f.pod->Damage(1.0f);
    EXPECT_TRUE(f.pod->dead);
    EXPECT_EQ(f.Halts(), 1);
    f.Tick();
    f.Tick();
    EXPECT_EQ(f.pod->fuelStore, 99.0f) << "a dead pod pours no more";
}

TEST(FuelPod, EmptiedAndShotInOneTickExplodesOnce)
{
    PodLevel f;
    f.Hover({1000, 850});
    const std::int32_t score = f.ship.score;
    f.pod->fuelStore = 1.0f;
    f.pod->Damage(2.0f);
    f.Tick();
    f.Tick(); // the last emission
    ASSERT_TRUE(f.pod->dead);
    f.pod->Damage(1.0f);
    EXPECT_EQ(f.Bursts(40), 1);
    EXPECT_EQ(f.ship.score, score + 25);
}

} // namespace
