// The shared particle steps, the visibility tests and the owning list.
#include "ExplosionParticles.h"
#include "JetParticles.h"
#include "ParticleList.h"
#include "ParticleRef.h"
#include "ParticleTerrain.h"
#include "ParticleTestFixture.h"
#include "SmokeParticles.h"
#include "SparkParticles.h"
#include "ThrustParticles.h"

#include "testing/RecordingDrawSink.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

namespace {

class ParticleSystemTest : public ::testing::Test, public ParticleFixture {};

TEST_F(ParticleSystemTest, AParticleIsRemovedOnceItsLifeReachesZero)
{
    ThrustParticles thrust(0, 0, 0, 0);
    thrust.particles.push_back(MakeParticle(100, 100, 0, 0, 0.02f));
    thrust.particles.push_back(MakeParticle(200, 100, 0, 0, 0.021f));
    thrust.Update();
    ASSERT_EQ(thrust.particles.size(), 1u);
    EXPECT_EQ(thrust.particles[0].position.x, 200.0f);
    EXPECT_GT(thrust.particles[0].life, 0.0f);
    thrust.Update();
    EXPECT_TRUE(thrust.particles.empty());
    EXPECT_FALSE(thrust.finished); // the exhaust waits for the next thrust
}

TEST_F(ParticleSystemTest, SwapRemovalVisitsTheMovedParticleInTheSameTick)
{
    ThrustParticles thrust(0, 0, 0, 0);
    thrust.particles.push_back(MakeParticle(10, 100, 0, 0, 0.01f));
    thrust.particles.push_back(MakeParticle(20, 100, 1, 0, 1.0f));
    thrust.particles.push_back(MakeParticle(30, 100, 2, 0, 1.0f));
    thrust.Update();
    ASSERT_EQ(thrust.particles.size(), 2u);
    const Particle& moved = thrust.particles[0];
    EXPECT_EQ(moved.previousPosition.x, 30.0f);
    EXPECT_FLOAT_EQ(moved.position.x, 30.0f + 2.0f * 0.985f);
    EXPECT_FLOAT_EQ(moved.life, 0.98f);
    EXPECT_FLOAT_EQ(thrust.particles[1].position.x, 20.0f + 0.985f);

    // Removing the last particle ends the walk.
    ThrustParticles last(0, 0, 0, 0);
    last.particles.push_back(MakeParticle(10, 100, 1, 0, 1.0f));
    last.particles.push_back(MakeParticle(20, 100, 0, 0, 0.01f));
    last.Update();
    ASSERT_EQ(last.particles.size(), 1u);
    EXPECT_FLOAT_EQ(last.particles[0].position.x, 10.985f);
}

TEST_F(ParticleSystemTest, WrapMovesBothPositionsOneStepAcrossTheSeam)
{
    game.sectorGrid.worldWidth = 1000.0f;
    struct Case {
        float x, vx;
        float expectX, expectPrevX;
    } cases[] = {
        {1000.0f, 0.0f, 0.0f, 0.0f},            // exactly W wraps to 0
        {0.0f, 0.0f, 0.0f, 0.0f},               // exactly 0 stays
        {999.0f, 10.0f, 8.85f, -1.0f},          // across W
        {1.0f, -10.0f, 991.15f, 1001.0f},       // across 0
        {2500.0f, 0.0f, 1500.0f, 1500.0f},      // one step only
    };
    for (const Case& c : cases) {
        ThrustParticles thrust(0, 0, 0, 0);
        thrust.particles.push_back(MakeParticle(c.x, 50, c.vx, 0, 1.0f));
        thrust.Update();
        ASSERT_EQ(thrust.particles.size(), 1u);
        EXPECT_NEAR(thrust.particles[0].position.x, c.expectX, 1e-3f) << c.x;
        EXPECT_NEAR(thrust.particles[0].previousPosition.x, c.expectPrevX, 1e-3f) << c.x;
    }
}

TEST_F(ParticleSystemTest, ParticlesMirrorOffTheTerrain)
{
    std::vector<Beam> beams(1);
    beams[0].a = {0, 0};
    beams[0].b = {2000, 0};
    beams[0].normal = {0, -1};
    beams[0].direction = {1, 0};
    game.map.liveBeams = beams;
    game.sectorGrid.Build(game.map.liveBeams, game.entities);
    const float ground = game.map.liveBeams[0].a.y;
    LookAt(500, ground);

    // A spark falling onto the flat beam leaves it going up at the same speed.
    SparkParticles spark(500, ground - 30, 0, 0);
    spark.particles.clear();
    spark.particles.push_back(MakeParticle(500, ground - 2, 1.0f / 0.985f, 2.0f / 0.985f, 2.0f));
    spark.Update();
    ASSERT_EQ(spark.particles.size(), 1u);
    EXPECT_NEAR(spark.particles[0].velocity.x, 1.0f, 1e-5f);
    EXPECT_NEAR(spark.particles[0].velocity.y, -2.0f, 1e-5f);
    EXPECT_NEAR(spark.particles[0].position.y, ground, 1e-3f); // not pushed out

    // Far from the beam nothing changes but the damping.
    SmokeParticles smoke(500, ground - 30, 0, 0);
    smoke.particles.clear();
    smoke.particles.push_back(MakeParticle(500, ground - 50, 0, 2, 2.0f));
    smoke.Update();
    EXPECT_FLOAT_EQ(smoke.particles[0].velocity.y, 2.0f * 0.985f);
}

// The bounce's beam search against the grid's own point query, on random
// beams and points near them (many within a unit or two).
TEST_F(ParticleSystemTest, BounceFindsTheSameBeamAsThePointQuery)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> coord(0.0f, 250.0f);
    std::uniform_real_distribution<float> near(-3.0f, 3.0f);
    for (int round = 0; round < 200; ++round) {
        std::vector<Beam> beams(6);
        Sector sector;
        for (Beam& b : beams) {
            b.a = {coord(rng), coord(rng)};
            b.b = round % 4 == 0 ? b.a : Vec2{coord(rng), coord(rng)}; // some of zero length
            sector.beams.push_back(&b);
        }
        for (int i = 0; i < 50; ++i) {
            const Beam& on = beams[static_cast<std::size_t>(i) % beams.size()];
            const float t = coord(rng) / 250.0f;
            const float x = on.a.x + (on.b.x - on.a.x) * t + near(rng);
            const float y = on.a.y + (on.b.y - on.a.y) * t + near(rng);
            std::vector<BeamHit> hits;
            const bool hit = sector.PointOnBeam(x, y, hits);
            const Beam* found = ParticleBeamAt(sector, x, y);
            ASSERT_EQ(found, hit ? hits[0].beam : nullptr) << round << " " << i;
        }
    }
}

TEST_F(ParticleSystemTest, GravityPullsSparksOnly)
{
    game.gravity = {0.0f, 0.04f};
    SparkParticles spark(100, 100, 0, 0);
    spark.particles.assign(1, MakeParticle(100, 100, 0, 0, 2.0f));
    SmokeParticles smoke(100, 100, 0, 0);
    smoke.particles.assign(1, MakeParticle(100, 100, 0, 0, 2.0f));
    spark.Update();
    smoke.Update();
    EXPECT_FLOAT_EQ(spark.particles[0].velocity.y, 0.04f);
    EXPECT_EQ(smoke.particles[0].velocity.y, 0.0f);
}

// Which visits dim a fading spark: the counter rises once per particle visit.
TEST_F(ParticleSystemTest, BlinkFollowsTheVisitCountParity)
{
    // One fading particle: lit, dark, lit on successive ticks.
    SparkParticles one(100, 100, 0, 0);
    one.particles.assign(1, MakeParticle(100, 100, 0, 0, 1.0f));
    std::vector<bool> dark;
    for (int tick = 0; tick < 4; ++tick) {
        one.Update();
        dark.push_back(one.particles[0].colour[0] == 0.0f);
    }
    EXPECT_EQ(dark, (std::vector<bool>{false, true, false, true}));

    // Two: the first always lit, the second always dark.
    SparkParticles two(100, 100, 0, 0);
    two.particles.assign(2, MakeParticle(100, 100, 0, 0, 1.0f));
    for (int tick = 0; tick < 3; ++tick) {
        two.Update();
        EXPECT_GT(two.particles[0].colour[0], 0.0f);
        EXPECT_EQ(two.particles[1].colour[0], 0.0f);
    }

    // Above 1.5 s left nothing blinks; the colour is half the life.
    SparkParticles young(100, 100, 0, 0);
    young.particles.assign(2, MakeParticle(100, 100, 0, 0, 2.5f));
    young.Update();
    EXPECT_FLOAT_EQ(young.particles[1].colour[0], 0.5f * 2.48f);
}

TEST_F(ParticleSystemTest, VisibilityBoxesSpanFromTheCameraAcrossTheWrap)
{
    game.sectorGrid.worldWidth = 4000.0f;
    // A 100-unit box: the wide test reaches 1/8 view before the camera corner
    // (80 units) and 11/8 beyond it; the narrow one none before, 1.25 beyond.
    struct Case {
        float x;
        bool wide, narrow;
    } cases[] = {
        {-140.0f, false, false},
        {-100.0f, true, false},  // box edge at -50 meets -80
        {-40.0f, true, true},    // box reaches 10 past the corner
        {840.0f, true, true},    // edge 790 < 800
        {900.0f, true, false},   // edge 850 < 880
        {940.0f, false, false},
        {4000.0f + 300.0f, true, true},  // seen through the -W image
        {-4000.0f + 300.0f, true, true}, // through +W
    };
    for (const Case& c : cases) {
        SmokeParticles smoke(c.x, 200, 0, 0);
        smoke.UpdateVisibility();
        EXPECT_EQ(smoke.onScreenWide, c.wide) << c.x;
        EXPECT_EQ(smoke.onScreen, c.narrow) << c.x;
    }
}

TEST_F(ParticleSystemTest, AnExplosionOffTheWideAreaWaitsEmptyUntilTheCameraComes)
{
    ParticleList list;
    auto* boom = list.Add(std::make_unique<ExplosionParticles>(5000, 5000, 0, 0));
    boom->Start(5000, 5000, 0, 0, 1, 1, 1, 0, 0, 0, 30);
    EXPECT_TRUE(boom->particles.empty());
    for (int tick = 0; tick < 5; ++tick)
        list.Update();
    ASSERT_EQ(list.Size(), 1u);
    EXPECT_FALSE(boom->finished);
    EXPECT_EQ(boom->tickCount, 0); // frozen

    LookAt(5000, 5000);
    list.Update();
    EXPECT_TRUE(list.Empty());
}

// A system that appends another system to its list in its update, the way a
// fuel pod dying inside its stream's update makes an explosion.
class Spawner : public ParticleKind {
public:
    Spawner(ParticleList& list, bool makesChild) : list(list), makesChild(makesChild) {}
    void Emit(float, float, float, float, std::int32_t) override {}
    void Update() override
    {
        ++updates;
        if (updates == 1 && makesChild)
            child = list.Add(std::make_unique<Spawner>(list, false));
        finished = updates >= 2;
    }
    ParticleList& list;
    bool makesChild;
    int updates = 0;
    Spawner* child = nullptr;
};

TEST_F(ParticleSystemTest, TheListUpdatesAppendedSystemsAndReapsFinishedOnesInOnePass)
{
    ParticleList list;
    auto* first = list.Add(std::make_unique<Spawner>(list, true));
    for (int i = 0; i < 40; ++i) // enough appends to move the list's storage
        list.Add(std::make_unique<ThrustParticles>(0, 0, 0, 0));
    list.Update();
    ASSERT_EQ(list.Size(), 42u);
    ASSERT_NE(first->child, nullptr);
    EXPECT_EQ(first->child->updates, 1); // updated in the pass that made it
    EXPECT_EQ(list.At(0), first);
    EXPECT_EQ(list.At(41), first->child);

    ParticleRef<Spawner> handle = first;
    list.Update(); // both finish
    EXPECT_EQ(handle.Get(), nullptr);
    EXPECT_EQ(list.Size(), 40u);
    for (std::size_t i = 0; i < 40; ++i)
        EXPECT_NE(dynamic_cast<ThrustParticles*>(list.At(i)), nullptr) << "order kept";
}

// A system whose update clears its own list (and appends afterwards).
class Clearer : public ParticleKind {
public:
    explicit Clearer(ParticleList& list) : list(list) {}
    void Emit(float, float, float, float, std::int32_t) override {}
    void Update() override
    {
        list.Clear();
        list.Add(std::make_unique<ThrustParticles>(0, 0, 0, 0));
    }
    ParticleList& list;
};

TEST_F(ParticleSystemTest, AClearFromInsideAnUpdateEndsThePass)
{
    ParticleList list;
    ParticleRef<ThrustParticles> before = list.Add(std::make_unique<ThrustParticles>(0, 0, 0, 0));
    ParticleRef<Clearer> clearer = list.Add(std::make_unique<Clearer>(list));
    ParticleRef<ThrustParticles> after = list.Add(std::make_unique<ThrustParticles>(0, 0, 0, 0));
    list.Update();
    EXPECT_FALSE(before);
    EXPECT_FALSE(clearer); // deleted with the rest once its update returned
    EXPECT_FALSE(after);
    ASSERT_EQ(list.Size(), 1u);
    EXPECT_NE(dynamic_cast<ThrustParticles*>(list.At(0)), nullptr);
}

TEST_F(ParticleSystemTest, ClearDeletesEverySystemAndNullsTheirHandles)
{
    ParticleList list;
    list.Clear(); // empty: nothing happens
    EXPECT_TRUE(list.Empty());

    ParticleRef<ThrustParticles> exhaust = list.Add(std::make_unique<ThrustParticles>(0, 0, 0, 0));
    ParticleRef<JetParticles> jet = list.Add(std::make_unique<JetParticles>(100, 100, 1, 0));
    ParticleRef<SparkParticles> spark = list.Add(std::make_unique<SparkParticles>(100, 100, 1, 0));
    ASSERT_TRUE(exhaust && jet && spark);
    list.Clear();
    EXPECT_TRUE(list.Empty());
    EXPECT_FALSE(exhaust);
    EXPECT_EQ(jet.Get(), nullptr);
    EXPECT_EQ(spark.operator->(), nullptr);
}

TEST_F(ParticleSystemTest, DrawGivesFourTexturedCornersPerParticleAtTheBlendedPosition)
{
    ParticleList list;
    auto* thrust = list.Add(std::make_unique<ThrustParticles>(0, 0, 0, 0));
    Particle p = MakeParticle(0, 0, 0, 0, 1.0f);
    p.previousPosition = {100, 200};
    p.position = {110, 220};
    p.size = 4;
    p.colour[0] = 0.25f;
    p.colour[1] = 0.5f;
    p.colour[2] = 0.75f;
    thrust->particles.push_back(p);
    auto* hidden = list.Add(std::make_unique<ThrustParticles>(0, 0, 0, 0));
    hidden->particles.push_back(p);
    hidden->onScreen = false;

    RecordingDrawSink sink;
    list.Draw(sink, 0.5f);
    EXPECT_TRUE(sink.batches.empty()); // the caller opens the batch
    ASSERT_EQ(sink.vertices.size(), 4u);
    const float expected[4][4] = {
        {101, 206, 0, 0}, {109, 206, 1, 0}, {109, 214, 1, 1}, {101, 214, 0, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(sink.vertices[i].x, expected[i][0]);
        EXPECT_FLOAT_EQ(sink.vertices[i].y, expected[i][1]);
        EXPECT_EQ(sink.vertices[i].u, expected[i][2]);
        EXPECT_EQ(sink.vertices[i].v, expected[i][3]);
        EXPECT_EQ(sink.vertices[i].r, 0.25f);
        EXPECT_EQ(sink.vertices[i].g, 0.5f);
        EXPECT_EQ(sink.vertices[i].b, 0.75f);
    }
}

TEST_F(ParticleSystemTest, AFinishedSystemIsNotDrawnAgain)
{
    ParticleList list;
    auto* spark = list.Add(std::make_unique<SparkParticles>(100, 100, 1, 0));
    ASSERT_EQ(spark->particles.size(), 5u);
    for (Particle& p : spark->particles)
        p.life = 0.02f;
    list.Update();
    EXPECT_TRUE(list.Empty());
    RecordingDrawSink sink;
    list.Draw(sink, 1.0f);
    EXPECT_TRUE(sink.vertices.empty());
}

} // namespace
