// The eleven particle kinds: what each emits, how it moves and fades, and
// when it finishes.
#include "DebrisParticles.h"
#include "Entity.h"
#include "ExplosionParticles.h"
#include "FuelPod.h"
#include "FuelStreamParticles.h"
#include "JetParticles.h"
#include "LanderParticles.h"
#include "MathUtil.h"
#include "ParticleList.h"
#include "ParticleRef.h"
#include "ParticleTestFixture.h"
#include "PuffParticles.h"
#include "SmokeParticles.h"
#include "SmokeTrailParticles.h"
#include "SparkParticles.h"
#include "SpawnInParticles.h"
#include "ThrustParticles.h"
#include "Timer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

class ParticleKindsTest : public ::testing::Test, public ParticleFixture {};

// ---- Explosions and landers -------------------------------------------------

TEST_F(ParticleKindsTest, ExplosionRingSpacingUsesWholeDegrees)
{
    ExplosionParticles boom(300, 200, 0, 0);
    boom.Start(300, 200, 0, 0, 1, 0.5f, 0, 0, 0, 1, 7);
    ASSERT_EQ(boom.particles.size(), 7u);
    EXPECT_EQ(boom.particles.capacity(), 105u);
    const float radius = 7 * 0.2f;
    for (int i = 0; i < 7; ++i) {
        const Particle& p = boom.particles[i];
        const float rho = static_cast<float>(i * 51) * kDegToRad;
        EXPECT_NEAR(p.position.x, 300 + std::sin(rho) * radius, 1e-4f) << i;
        EXPECT_NEAR(p.position.y, 200 + std::cos(rho) * radius, 1e-4f) << i;
        EXPECT_EQ(p.previousPosition, p.position);
        // Outward at 1 to 2 units a tick.
        const float speed = std::hypot(p.velocity.x, p.velocity.y);
        EXPECT_GE(speed, 1.0f);
        EXPECT_LT(speed, 2.0f);
        EXPECT_NEAR(p.velocity.x, std::sin(rho) * speed, 1e-5f);
        EXPECT_NEAR(p.velocity.y, std::cos(rho) * speed, 1e-5f);
        EXPECT_GE(p.life, 2.0f);
        EXPECT_LT(p.life, 3.0f);
        EXPECT_EQ(p.maxLife, p.life);
        EXPECT_EQ(p.size, 16.0f);
        EXPECT_EQ(p.colour[1], 0.5f);
    }

    ExplosionParticles big(300, 200, 0, 0);
    big.Start(300, 200, 0, 0, 1, 1, 1, 0, 0, 0, 30);
    ASSERT_EQ(big.particles.size(), 30u);
    for (const Particle& p : big.particles)
        EXPECT_NEAR(std::hypot(p.position.x - 300, p.position.y - 200), 6.0f, 1e-4f);
}

TEST_F(ParticleKindsTest, ExplosionWithoutAPositiveCountEmitsNothing)
{
    for (int count : {0, -3}) {
        ParticleList list;
        auto* boom = list.Add(std::make_unique<ExplosionParticles>(300, 200, 0, 0));
        boom->Start(300, 200, 0, 0, 1, 1, 1, 0, 0, 0, count);
        EXPECT_TRUE(boom->particles.empty()) << count;
        boom->Emit(300, 200, 0, 0, 5);
        EXPECT_TRUE(boom->particles.empty()) << count;
        list.Update();
        EXPECT_TRUE(list.Empty()) << count;
    }
}

TEST_F(ParticleKindsTest, ExplosionFadesBetweenItsColoursAndLaysTrailsEveryThirdTick)
{
    ExplosionParticles boom(300, 200, 0, 0);
    boom.Start(300, 200, 0, 0, 1, 0.5f, 0.25f, 0, 0.5f, 1, 30);
    boom.Update();
    const Particle& first = boom.particles[0];
    const float age = first.maxLife - first.life;
    EXPECT_FLOAT_EQ(first.colour[0], Interpolate(1, 0, 0, first.maxLife, age));
    EXPECT_EQ(first.colour[1], 0.5f);
    EXPECT_FLOAT_EQ(first.colour[2], Interpolate(0.25f, 1, 0, first.maxLife, age));
    boom.Update();
    EXPECT_EQ(boom.particles.size(), 30u);
    const Particle before = boom.particles[4];
    boom.Update(); // the third tick: one trail particle per moving particle
    ASSERT_EQ(boom.particles.size(), 60u);
    const Particle& trail = boom.particles[30 + 4];
    EXPECT_EQ(trail.position, before.position); // where the particle was before this move
    EXPECT_EQ(trail.velocity, Vec2{});
    EXPECT_FLOAT_EQ(trail.maxLife, 0.15f * boom.particles[4].life);
    EXPECT_FLOAT_EQ(trail.life, trail.maxLife - 0.02f); // aged in the same walk

    // Never more than 15 per particle, and the array never moves.
    std::size_t most = 0;
    ParticleList list;
    auto* owned = list.Add(std::make_unique<ExplosionParticles>(300, 200, 0, 0));
    owned->Start(300, 200, 0, 0, 1, 1, 1, 0, 0, 0, 30);
    const Particle* start = owned->particles.data();
    int ticks = 0;
    while (!list.Empty() && ticks < 1000) {
        most = std::max(most, owned->particles.size());
        EXPECT_EQ(owned->particles.data(), start);
        list.Update();
        ++ticks;
    }
    EXPECT_TRUE(list.Empty());
    EXPECT_LE(most, 450u);
    EXPECT_GT(most, 60u);
    EXPECT_GE(ticks, 100); // the burst lives 2 to 3 s
    EXPECT_LE(ticks, 151);
}

TEST_F(ParticleKindsTest, LanderRingConvergesThroughItsCentre)
{
    LanderParticles lander(320, 240, 0, 0);
    lander.Start(320, 240, 0, 0, 0, 1, 0, 1, 0, 0, 10);
    ASSERT_EQ(lander.particles.size(), 10u);
    std::vector<Vec2> outward;
    for (int i = 0; i < 10; ++i) {
        const Particle& p = lander.particles[i];
        const Vec2 d{p.position.x - 320, p.position.y - 240};
        EXPECT_NEAR(std::hypot(d.x, d.y), 40.0f, 1e-3f);
        EXPECT_NEAR(std::atan2(d.x, d.y) / kDegToRad, i * 36.0f > 180.0f ? i * 36.0f - 360.0f : i * 36.0f,
                    1e-2f);
        EXPECT_LT(Dot(p.velocity, d), 0.0f); // inward
        EXPECT_GE(p.life, 1.0f);
        EXPECT_LT(p.life, 2.0f);
        outward.push_back(d);
    }
    std::vector<int> crossed(10, 0);
    for (int tick = 1; tick <= 40; ++tick) {
        lander.Update();
        for (int i = 0; i < 10; ++i) { // the first ten slots keep the ring's particles
            const Particle& p = lander.particles[i];
            const Vec2 d{p.position.x - 320, p.position.y - 240};
            if (crossed[i] == 0 && Dot(d, outward[i]) <= 0.0f)
                crossed[i] = tick;
        }
    }
    for (int i = 0; i < 10; ++i) {
        EXPECT_GE(crossed[i], 15) << i;
        EXPECT_LE(crossed[i], 25) << i;
    }
}

// ---- Fuel stream ---------------------------------------------------------------

struct ParticleFuelTest : ParticleKindsTest {
    std::unique_ptr<FuelPod> pod = std::make_unique<FuelPod>();
    FuelStreamParticles stream{500, 1000, 0, 0};
    ParticleFuelTest()
    {
        game.sectorGrid.worldWidth = 4000.0f;
        pod->position = {500, 1000};
        pod->angle = 0; // the nozzle points up: at (500, 975)
        pod->fuelStore = 100;
        stream.pod = pod.get();
        ship.position = {500, 975 - 99.9f};
        ship.spawnTimer = 0;
        ship.dying = false;
    }
};

TEST_F(ParticleFuelTest, StreamPoursOnEvenTicksWhileTheShipIsNearAndAble)
{
    struct Case {
        float distance;
        bool dying;
        int spawnTimer;
        bool pours;
    } cases[] = {
        {99.9f, false, 0, true},
        {100.0f, false, 0, false},
        {50.0f, true, 0, false},
        {50.0f, false, 1, false},
    };
    for (const Case& c : cases) {
        FuelStreamParticles s(500, 1000, 0, 0);
        s.pod = pod.get();
        pod->fuelStore = 100;
        ship.position = {500, 975 - c.distance};
        ship.dying = c.dying;
        ship.spawnTimer = c.spawnTimer;
        s.Update();
        EXPECT_TRUE(s.particles.empty()) << "odd tick";
        s.Update();
        EXPECT_EQ(s.particles.size(), c.pours ? 2u : 0u) << c.distance;
        EXPECT_EQ(pod->fuelStore, c.pours ? 99.0f : 100.0f);
        EXPECT_FALSE(s.finished);
    }
}

TEST_F(ParticleFuelTest, EmittedParticlesLeaveTheNozzleTintedByTheirIndex)
{
    stream.Update();
    stream.Update();
    ASSERT_EQ(stream.particles.size(), 2u);
    // Emitted 35 up from the pod with jitter, then aged and moved once.
    for (int i = 0; i < 2; ++i) {
        const Particle& p = stream.particles[i];
        EXPECT_EQ(p.maxLife, static_cast<float>(i));
        EXPECT_GE(p.previousPosition.x, 490.0f);
        EXPECT_LT(p.previousPosition.x, 510.0f);
        EXPECT_GE(p.previousPosition.y, 955.0f);
        EXPECT_LT(p.previousPosition.y, 975.0f);
        EXPECT_LT(p.position.y, p.previousPosition.y); // leaving upward
        EXPECT_FLOAT_EQ(p.size, 31.75f);
    }
    const Particle& cyan = stream.particles[0];
    const float m0 = std::min(cyan.life, 1.0f);
    EXPECT_FLOAT_EQ(cyan.colour[0], 0.5f * m0);
    EXPECT_FLOAT_EQ(cyan.colour[1], m0);
    EXPECT_FLOAT_EQ(cyan.colour[2], m0);
    const Particle& magenta = stream.particles[1];
    const float m1 = std::min(magenta.life, 1.0f);
    EXPECT_FLOAT_EQ(magenta.colour[0], m1);
    EXPECT_FLOAT_EQ(magenta.colour[1], 0.5f * m1);
    EXPECT_FLOAT_EQ(magenta.colour[2], m1);

    // Fresh from Emit (before any update): the colours at birth.
    FuelStreamParticles fresh(0, 0, 0, 0);
    fresh.Emit(0, 0, 1, 0, 3);
    EXPECT_EQ(fresh.particles[0].colour[0], 0.5f);
    EXPECT_EQ(fresh.particles[1].colour[1], 0.5f);
    EXPECT_EQ(fresh.particles[2].colour[1], 0.5f);
    EXPECT_EQ(fresh.particles[2].maxLife, 2.0f);
}

TEST_F(ParticleFuelTest, PodDiesOnTheEmissionThatEmptiesItsStore)
{
    pod->fuelStore = 3;
    for (int tick = 1; tick <= 6; ++tick) {
        EXPECT_FALSE(pod->dead) << tick;
        stream.Update();
    }
    EXPECT_TRUE(pod->dead);
    EXPECT_EQ(pod->fuelStore, 0.0f);
    EXPECT_EQ(stream.particles.size(), 6u);
    stream.Update();
    stream.Update();
    EXPECT_EQ(stream.particles.size(), 6u); // a dead pod pours no more
}

TEST_F(ParticleFuelTest, APodCarriesAHundredUnitsOfFuel)
{
    ship.fuel = 0;
    int ticks = 0;
    while ((!pod->dead || !stream.particles.empty()) && ticks < 1000) {
        stream.Update();
        ++ticks;
    }
    EXPECT_TRUE(pod->dead);
    EXPECT_TRUE(stream.particles.empty());
    EXPECT_FLOAT_EQ(ship.fuel, 100.0f); // 200 half units, each kept to hundredths
    EXPECT_FALSE(stream.finished); // stays until the list is cleared
}

TEST_F(ParticleFuelTest, AParticleDeliversWhereverItsLifeEnds)
{
    stream.pod = nullptr;
    ship.fuel = 10;
    stream.particles.push_back(MakeParticle(3000, 100, 0, 0, 0.02f, 0));
    stream.particles.push_back(MakeParticle(3000, 100, 0, 0, 0.5f, 1));
    stream.Update();
    EXPECT_FLOAT_EQ(ship.fuel, 10.5f);
    ASSERT_EQ(stream.particles.size(), 1u);
    // It homed toward the ship on the way (the nearest image, across the seam).
    EXPECT_GT(stream.particles[0].velocity.x, 0.0f);
}

TEST_F(ParticleFuelTest, ADeletedPodLeavesTheStreamRunning)
{
    stream.Update();
    stream.Update();
    ASSERT_EQ(stream.particles.size(), 2u);
    pod.reset();
    EXPECT_EQ(stream.pod.Get(), nullptr);
    ship.fuel = 0;
    for (int tick = 0; tick < 200; ++tick)
        stream.Update();
    EXPECT_TRUE(stream.particles.empty());
    EXPECT_FLOAT_EQ(ship.fuel, 1.0f);
}

// ---- The rest ----------------------------------------------------------------

TEST_F(ParticleKindsTest, ThrustFansAlongItsDirectionAndWaitsEmptyForTheNextThrust)
{
    ParticleList list;
    ParticleRef<ThrustParticles> exhaust = list.Add(std::make_unique<ThrustParticles>(0, 0, 0, 0));
    exhaust->Emit(100, 100, 0, 1, 5);
    ASSERT_EQ(exhaust->particles.size(), 5u);
    for (const Particle& p : exhaust->particles) {
        EXPECT_GE(p.velocity.y, 0.5f); // t along (0, 1)
        EXPECT_LT(p.velocity.y, 2.0f);
        EXPECT_GE(p.velocity.x, -0.9f); // s along (-1, 0)
        EXPECT_LE(p.velocity.x, 0.9f);
        EXPECT_EQ(p.colour[2], 0.0f);
        EXPECT_EQ(p.size, 8.0f);
    }
    for (int tick = 0; tick < 101; ++tick)
        list.Update();
    ASSERT_TRUE(exhaust);
    EXPECT_TRUE(exhaust->particles.empty());
    exhaust->Emit(100, 100, 0, 1, 3);
    list.Update();
    EXPECT_EQ(exhaust->particles.size(), 3u);
    EXPECT_FLOAT_EQ(exhaust->particles[0].size, 8.2f);
}

TEST_F(ParticleKindsTest, JetWorksOnlyNearTheViewAndNeverFinishes)
{
    JetParticles far(5000, 5000, 1, 0);
    far.Emit(5000, 5000, 1, 0, 10);
    EXPECT_TRUE(far.particles.empty());
    EXPECT_EQ(far.particles.capacity(), 350u);

    JetParticles jet(300, 200, 1, 0);
    jet.Emit(300, 200, 1, 0, 10);
    ASSERT_EQ(jet.particles.size(), 10u);
    for (const Particle& p : jet.particles) {
        EXPECT_GE(p.velocity.x, 1.5f);
        EXPECT_LT(p.velocity.x, 3.0f);
        EXPECT_GE(p.velocity.y, -0.5f);
        EXPECT_LT(p.velocity.y, 0.5f);
    }
    jet.Update();
    const Particle& p = jet.particles[0];
    EXPECT_FLOAT_EQ(p.colour[0], 0.1f * p.life);
    EXPECT_FLOAT_EQ(p.colour[1], 0.5f * p.life);
    for (int tick = 0; tick < 200; ++tick)
        jet.Update();
    EXPECT_TRUE(jet.particles.empty());
    EXPECT_FALSE(jet.finished);
}

// A bare actor to own a smoke trail.
class Owner : public Entity {
public:
    void Spawn(float, float, float) override {}
    void Update() override {}
    void Draw(float) override {}
    void Die() override { MarkDead(); }
    Entity* Clone() const override { return new Owner(*this); }
};

TEST_F(ParticleKindsTest, SmokeTrailIsHeldOpenOnlyWhileItsOwnerLives)
{
    auto missile = std::make_unique<Owner>();
    SmokeTrailParticles smoke(0, 0, 0, 0);
    smoke.owner = missile.get();
    smoke.Emit(100, 100, 1, 0, 2);
    for (int tick = 0; tick < 150; ++tick)
        smoke.Update();
    EXPECT_TRUE(smoke.particles.empty());
    EXPECT_FALSE(smoke.finished);

    missile->Die(); // flagged dead, not yet deleted
    smoke.Update();
    EXPECT_TRUE(smoke.finished);

    SmokeTrailParticles orphan(0, 0, 0, 0);
    orphan.owner = missile.get();
    orphan.Emit(100, 100, 1, 0, 1);
    missile.reset();
    orphan.Update();
    EXPECT_FALSE(orphan.finished); // a particle is still out
    for (int tick = 0; tick < 150 && !orphan.finished; ++tick)
        orphan.Update();
    EXPECT_TRUE(orphan.finished);
}

TEST_F(ParticleKindsTest, BurstKindsEmitTheirCountOnlyInTheWideArea)
{
    struct Made {
        std::unique_ptr<ParticleKind> near, far;
        std::size_t count;
        float size;
    };
    std::vector<Made> kinds;
    kinds.push_back({std::make_unique<SparkParticles>(300, 200, 1, 0),
                     std::make_unique<SparkParticles>(3000, 200, 1, 0), 5, 8});
    kinds.push_back({std::make_unique<PuffParticles>(300, 200, 1, 0),
                     std::make_unique<PuffParticles>(3000, 200, 1, 0), 5, 8});
    kinds.push_back({std::make_unique<SmokeParticles>(300, 200, 1, 0),
                     std::make_unique<SmokeParticles>(3000, 200, 1, 0), 25, 32});
    kinds.push_back({std::make_unique<DebrisParticles>(300, 200, 1, 0),
                     std::make_unique<DebrisParticles>(3000, 200, 1, 0), 3, 16});
    for (Made& m : kinds) {
        EXPECT_EQ(m.near->particles.size(), m.count);
        EXPECT_EQ(m.near->particles.capacity(), m.count);
        EXPECT_EQ(m.near->particles[0].size, m.size);
        EXPECT_TRUE(m.far->particles.empty());
        m.far->Update();
        EXPECT_FALSE(m.far->finished); // waits for the camera
        for (int tick = 0; tick < 200 && !m.near->finished; ++tick)
            m.near->Update();
        EXPECT_TRUE(m.near->finished);
    }
}

TEST_F(ParticleKindsTest, SmokeDarkensWithItsLife)
{
    SmokeParticles smoke(300, 200, 0, 0);
    for (const Particle& p : smoke.particles) {
        EXPECT_EQ(p.colour[1], 0.75f);
        EXPECT_LE(std::fabs(p.velocity.x), 1.0f);
    }
    smoke.Update();
    for (const Particle& p : smoke.particles) {
        EXPECT_FLOAT_EQ(p.colour[0], 0.5f * p.life);
        EXPECT_FLOAT_EQ(p.colour[1], 0.375f * p.life);
        EXPECT_EQ(p.colour[2], 0.0f);
    }
}

TEST_F(ParticleKindsTest, DebrisSparksTakeTheDebrisColourFromTheirFirstUpdate)
{
    DebrisParticles sparks(300, 200, 0, 0);
    sparks.colour[0] = 1.0f;
    sparks.colour[1] = 0.5f;
    ASSERT_EQ(sparks.particles.size(), 3u);
    for (const Particle& p : sparks.particles) {
        EXPECT_EQ(p.colour[0], 0.0f); // black until recoloured
        EXPECT_LE(p.velocity.y, 0.0f);
        EXPECT_GE(p.velocity.y, -0.5f);
    }
    for (Particle& p : sparks.particles)
        p.life = 1.9f; // no blinking yet
    sparks.Update();
    for (const Particle& p : sparks.particles) {
        EXPECT_FLOAT_EQ(p.colour[0], 0.5f * p.life);
        EXPECT_FLOAT_EQ(p.colour[1], 0.25f * p.life);
        EXPECT_EQ(p.colour[2], 0.0f);
    }
}

// ---- Spawn swirl -----------------------------------------------------------------

struct ParticleSpawnTest : ParticleKindsTest {
    FakeClock clock;
    Timer timer{clock};
    ParticleSpawnTest()
    {
        timer.Start();
        ship.position = {300, 300};
        ship.spawnTimer = 100;
    }
};

TEST_F(ParticleSpawnTest, SpawnSwirlEmitsTwentyFourMoreBatchesEachFortyFiveDegreesOn)
{
    SpawnInParticles swirl(300, 300, 0, 0, timer);
    EXPECT_EQ(swirl.countdown, 50);
    EXPECT_EQ(swirl.swirlAngle, 45);
    ASSERT_EQ(swirl.particles.size(), 3u);
    std::vector<int> emittedAt;
    std::vector<int> baseAngles{45};
    // Particle angles of the first batch, taken at birth.
    auto checkBatch = [&](std::size_t from, int base, const std::vector<Vec2>& births) {
        for (std::size_t i = from; i < from + 3; ++i) {
            const Vec2 d{births[i].x - 300, births[i].y - 300};
            EXPECT_NEAR(std::hypot(d.x, d.y), 50.0f, 1e-3f);
            float angle = std::atan2(d.y, d.x) / kDegToRad - static_cast<float>(base % 360);
            while (angle < -1.0f)
                angle += 360.0f;
            EXPECT_GE(angle, -1e-3f) << base;
            EXPECT_LT(angle, 50.0f) << base;
        }
    };
    std::vector<Vec2> births;
    for (const Particle& p : swirl.particles)
        births.push_back(p.previousPosition);
    checkBatch(0, 45, births);
    for (int tick = 0; tick < 60; ++tick) {
        const std::size_t before = swirl.particles.size();
        swirl.Update();
        if (swirl.particles.size() > before) {
            EXPECT_EQ(swirl.particles.size(), before + 3);
            emittedAt.push_back(swirl.countdown);
            for (std::size_t i = before; i < before + 3; ++i)
                births.push_back(swirl.particles[i].previousPosition);
            checkBatch(before, swirl.swirlAngle, births);
            baseAngles.push_back(swirl.swirlAngle);
        }
    }
    std::vector<int> expectedAt;
    for (int c = 48; c >= 2; c -= 2)
        expectedAt.push_back(c);
    EXPECT_EQ(emittedAt, expectedAt);
    EXPECT_EQ(baseAngles.size(), 25u);
    EXPECT_EQ(baseAngles.back(), 1125);
    EXPECT_EQ(swirl.particles.size(), 75u);
}

TEST_F(ParticleSpawnTest, SwirlReadsTheFrameTimerAndPullsTowardASpawningShip)
{
    clock.now = 1000;
    timer.Update(); // one second elapsed: the swirl angle is 0.5 rad
    SpawnInParticles swirl(300, 300, 0, 0, timer);
    swirl.countdown = 1; // no more batches
    swirl.particles.assign(1, MakeParticle(350, 300, 1, 2, 4.0f, 4.0f));
    ship.spawnTimer = 0;
    swirl.Update();
    const float k = 3.98f * 0.001f;
    EXPECT_FLOAT_EQ(swirl.particles[0].velocity.x, (1 + std::sin(0.5f) * k) * 0.985f);
    EXPECT_FLOAT_EQ(swirl.particles[0].velocity.y, (2 + std::cos(0.5f) * k) * 0.985f);

    ship.spawnTimer = 10;
    swirl.particles.assign(1, MakeParticle(350, 300, 0, 0, 4.0f, 4.0f));
    swirl.Update();
    EXPECT_FLOAT_EQ(swirl.particles[0].velocity.x, (std::sin(0.5f) * k - 0.5f) * 0.985f);
    const float age = 0.02f;
    EXPECT_FLOAT_EQ(swirl.particles[0].colour[0], Interpolate(0.5f, 0, 0, 4.0f, age));
    EXPECT_FLOAT_EQ(swirl.particles[0].colour[2], Interpolate(1, 0, 0, 4.0f, age));
    EXPECT_FLOAT_EQ(swirl.particles[0].size, 8.25f);
}

TEST_F(ParticleSpawnTest, TwoRunsWithTheSameClockAndSeedMatch)
{
    auto run = [&]() {
        SeedRandom(77);
        clock.now = 0;
        timer.Start();
        SpawnInParticles swirl(300, 300, 0, 0, timer);
        for (int tick = 0; tick < 80; ++tick) {
            clock.now += 20;
            timer.Update();
            swirl.Update();
        }
        std::vector<float> xs;
        for (const Particle& p : swirl.particles)
            xs.push_back(p.position.x);
        return xs;
    };
    const std::vector<float> a = run();
    EXPECT_EQ(a.size(), 75u);
    EXPECT_EQ(a, run());
}

// ---- A screen entry clears the list while the owners keep running ----------

// What the emitter, the fuel pod and the missile do with their systems.
struct JetOwner {
    ParticleRef<JetParticles> jet;
    int skipped = 0;
    void Update()
    {
        if (JetParticles* j = jet.Get())
            j->Emit(300, 200, 1, 0, 2);
        else
            ++skipped;
    }
};

TEST_F(ParticleKindsTest, ScreenEntryClearLeavesOwnersRunningWithNullSystems)
{
    ParticleList& list = game.particles;
    JetOwner emitter;
    emitter.jet = list.Add(std::make_unique<JetParticles>(300, 200, 1, 0));
    auto pod = std::make_unique<FuelPod>();
    pod->position = {300, 260};
    pod->fuelStore = 50;
    ParticleRef<FuelStreamParticles> stream =
        list.Add(std::make_unique<FuelStreamParticles>(300, 260, 0, 0));
    stream->pod = pod.get();
    auto missile = std::make_unique<Owner>();
    ParticleRef<SmokeTrailParticles> smoke =
        list.Add(std::make_unique<SmokeTrailParticles>(0, 0, 0, 0));
    smoke->owner = missile.get();
    ship.position = {300, 200};
    ship.spawnTimer = 0;

    for (int tick = 0; tick < 10; ++tick) {
        emitter.Update();
        if (SmokeTrailParticles* s = smoke.Get())
            s->Emit(missile->position.x, missile->position.y, 1, 0, 1);
        list.Update();
    }
    ASSERT_TRUE(emitter.jet && stream && smoke);
    EXPECT_FALSE(stream->particles.empty());
    const float fuel = ship.fuel;

    list.Clear(); // the title screen is entered
    EXPECT_FALSE(emitter.jet);
    EXPECT_FALSE(stream);
    EXPECT_FALSE(smoke);
    for (int tick = 0; tick < 10; ++tick) {
        emitter.Update();
        if (SmokeTrailParticles* s = smoke.Get())
            s->Emit(0, 0, 1, 0, 1);
        list.Update();
    }
    EXPECT_EQ(emitter.skipped, 10);
    EXPECT_EQ(ship.fuel, fuel); // a cleared stream delivers nothing more
    missile.reset();
    pod.reset();
    list.Update();
    EXPECT_TRUE(list.Empty());
}

} // namespace
