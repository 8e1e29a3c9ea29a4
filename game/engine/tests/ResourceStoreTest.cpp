// The resource store over a generated fixture of model files, a stand-in
// texture loader and a recording mixer: the load order, scale factors and
// circle-list sharing, and where a failure stops loading.
#include "ResourceStore.h"

#include "ModelFile.h"

#include "support/FakeTextureLoader.h"
#include "testing/RecordingAudioBackend.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <filesystem>
#include <sstream>

namespace {

// The models in loading order as the game needs them: scale factor and
// where the circles end up. circlesFrom names the model whose file circles
// the model holds after loading ("" for none).
struct ExpectedModel {
    const char* name;
    float scale;
    const char* circlesFrom;
};

const ExpectedModel kExpectedModels[] = {
    {"Player", 0.275f, "Player"},
    {"Player_Fly", 0.275f, ""},
    {"Player_Leg", 0.275f, ""},
    {"PlayerBullet01", 1, "PlayerBullet01"},
    {"EnemyBullet01", 1, "EnemyBullet02"},
    {"EnemyBullet02", 1, "EnemyBullet02"},
    {"Seeker", 1, "Seeker"},
    {"BlueTurret", 0.6f, "BlueTurret"},
    {"RedTurret", 0.6f, "RedTurret"},
    {"BlueTank_01", 0.6f, "BlueTank_01"},
    {"BlueTank_02", 0.6f, "BlueTank_02"},
    {"BlueTank_03", 0.6f, "BlueTank_03"},
    {"FuelPod", 0.5f, "FuelPod"},
    {"Scientist_01", 0.135f, "Scientist_01"},
    {"Scientist_02", 0.135f, "Scientist_02"},
    {"Scientist_03", 0.135f, "Scientist_03"},
    {"Scientist_04", 0.135f, "Scientist_04"},
    {"Generator", 0.5f, "Generator"},
    {"Button01", 0.3f, "Button01"},
    {"Button02", 0.3f, "Button02"},
    {"Laser", 1, "Laser"},
    {"Tree01", 0.5f, "Tree01"},
    {"Tree02", 0.5f, "Tree02"},
    {"Tree03", 0.5f, "Tree03"},
    {"Tree04", 0.5f, "Tree04"},
    {"Tree05", 0.5f, "Tree05"},
    {"Tree06", 0.5f, "Tree06"},
    {"CheckPoint01", 0.5f, "CheckPoint01"},
    {"CheckPoint02", 0.5f, "CheckPoint02"},
    {"CheckPoint03", 0.5f, "CheckPoint03"},
    {"CheckPoint04", 0.5f, "CheckPoint04"},
    {"ParticleEmitter", 1, "ParticleEmitter"},
    {"RedShield", 0.75f, "PlayerShield"},
    {"PlayerShield", 0.75f, "PlayerShield"},
    {"BrokenShip1", 0.275f, "BrokenShip1"},
    {"BrokenShip2", 0.275f, "BrokenShip2"},
    {"BrokenShip3", 0.275f, "BrokenShip3"},
    {"BrokenShip4", 0.275f, "BrokenShip4"},
    {"BrokenShip5", 0.275f, "BrokenShip5"},
    {"BrokenShip6", 0.275f, "BrokenShip6"},
    {"BrokenShip7", 0.275f, "BrokenShip7"},
    {"Mine", 0.75f, "Mine"},
    {"Missile", 0.75f, "Missile"},
    {"Flea", 0.5f, "Flea"},
    {"Lander", 1, "Lander"},
    {"Mutant", 1, "Mutant"},
    {"MineLayer", 1, "MineLayer"},
    {"game_over", 1, ""},
    {"hiscores", 1, ""},
    {"SuperTurret", 0.6f, "SuperTurret"},
    {"Station", 0.5f, "Station2"},
    {"Station2", 0.5f, "Station2"},
};
constexpr int kModels = static_cast<int>(sizeof kExpectedModels / sizeof kExpectedModels[0]);

// Model number i of the fixture: origin (i + 1, -2(i + 1)); one beam from
// origin + (10, 20) to origin + (10 + 7(i + 1), 23); i % 3 + 1 circles, circle
// k at origin + (i + 1, k) with radius 2 + i + k / 2. Every model differs in
// size and circle count, so a swapped, missing or doubly scaled list shows.
Vec2 OriginOf(int i) { return {float(i + 1), -2.0f * float(i + 1)}; }
Vec2 FileA(int) { return {10, 20}; }
Vec2 FileB(int i) { return {10.0f + 7.0f * float(i + 1), 23}; }
int CircleCount(int i) { return i % 3 + 1; }
Vec2 CircleOffset(int i, int k) { return {float(i + 1), float(k)}; }
float CircleRadius(int i, int k) { return 2.0f + float(i) + 0.5f * float(k); }

int IndexOf(const std::string& name)
{
    for (int i = 0; i < kModels; ++i) {
        if (name == kExpectedModels[i].name)
            return i;
    }
    return -1;
}

void WriteFixtureModel(const std::string& path, int i)
{
    const Vec2 origin = OriginOf(i);
    Beam beam;
    beam.a = origin + FileA(i);
    beam.b = origin + FileB(i);
    beam.colourA = {1, 0.5f, 0.25f};
    beam.colourB = {0, 1, 0};
    beam.direction = {1, 0};
    beam.normal = {0, -1};
    std::vector<HullCircle> circles;
    for (int k = 0; k < CircleCount(i); ++k) {
        HullCircle circle;
        circle.offsetX = origin.x + CircleOffset(i, k).x;
        circle.offsetY = origin.y + CircleOffset(i, k).y;
        circle.radius = CircleRadius(i, k);
        circles.push_back(circle);
    }
    ASSERT_TRUE(WriteObjectModel(path, origin, {beam}, circles)) << path;
}

struct ResourceStoreFixture : ::testing::Test {
    ScratchDir dir;
    std::string root = dir.Path().string();
    std::ostringstream console;
    Log log{dir.File("Logfile.txt"), console};
    RecordingAudioBackend mixer;
    Audio audio{mixer, log};
    FakeTextureLoader textureLoader;
    ResourceStore store{textureLoader, audio, log};

    void SetUp() override
    {
        log.SetEnabled(true);
        console.str("");
        std::filesystem::create_directories(dir.Path() / "Data" / "Gfx");
        std::filesystem::create_directories(dir.Path() / "Data" / "Objects");
        for (const char* name : {"BeamParticle", "Cursor", "HUD_radar", "shield", "fuel", "HUDBar"})
            WriteWholeFile(Path(std::string("Data/Gfx/") + name + ".png"), "png");
        for (int i = 0; i < kModels; ++i)
            WriteFixtureModel(Path(std::string("Data/Objects/") + kExpectedModels[i].name + ".obj"), i);
    }

    std::string Path(const std::string& relative) const { return (dir.Path() / relative).string(); }
    std::string SamplePath(const char* file) const { return Path(std::string("Data/Sound/") + file); }

    int LoadWavCalls() const
    {
        int count = 0;
        for (const std::string& call : mixer.calls)
            count += call.rfind("LoadWav(", 0) == 0 ? 1 : 0;
        return count;
    }

    // The model as the fixture file holds it, relative to its origin and
    // multiplied by the factor.
    static void ExpectGeometry(const ObjectModel& model, int i, float scale, const std::string& circlesFrom)
    {
        SCOPED_TRACE(kExpectedModels[i].name);
        ASSERT_EQ(model.beams.size(), 1u);
        EXPECT_FLOAT_EQ(model.beams[0].a.x, FileA(i).x * scale);
        EXPECT_FLOAT_EQ(model.beams[0].a.y, FileA(i).y * scale);
        EXPECT_FLOAT_EQ(model.beams[0].b.x, FileB(i).x * scale);
        EXPECT_FLOAT_EQ(model.beams[0].b.y, FileB(i).y * scale);
        EXPECT_EQ(model.beams[0].direction, (Vec2{1, 0}));
        EXPECT_EQ(model.beams[0].normal, (Vec2{0, -1}));
        if (circlesFrom.empty()) {
            EXPECT_TRUE(model.circles.empty());
            return;
        }
        const int from = IndexOf(circlesFrom);
        ASSERT_EQ(model.circles.size(), static_cast<size_t>(CircleCount(from)));
        for (int k = 0; k < CircleCount(from); ++k) {
            const HullCircle& c = model.circles[static_cast<size_t>(k)];
            EXPECT_FLOAT_EQ(c.radius, CircleRadius(from, k) * scale);
            EXPECT_FLOAT_EQ(c.offsetX, CircleOffset(from, k).x * scale);
            EXPECT_FLOAT_EQ(c.offsetY, CircleOffset(from, k).y * scale);
            EXPECT_FLOAT_EQ(c.x, -OriginOf(from).x * scale);
            EXPECT_FLOAT_EQ(c.y, -OriginOf(from).y * scale);
        }
    }
};

TEST_F(ResourceStoreFixture, LoadsEveryModelInOrderScaledWithItsOwnSharedOrNoCircles)
{
    ASSERT_TRUE(store.LoadResources(root)) << console.str();

    std::string expectedLog;
    for (const ExpectedModel& m : kExpectedModels)
        expectedLog += std::string("Loaded ") + m.name + ".obj\n";
    const std::string logged = console.str();
    EXPECT_EQ(logged.substr(0, expectedLog.size()), expectedLog);

    ASSERT_EQ(kModels, static_cast<int>(kModelCount));
    for (int i = 0; i < kModels; ++i)
        ExpectGeometry(store.models[static_cast<size_t>(i)], i, kExpectedModels[i].scale,
                       kExpectedModels[i].circlesFrom);

    // The ids name the same slots.
    EXPECT_EQ(&store.Model(ModelId::Player), &store.models[0]);
    EXPECT_EQ(&store.Model(ModelId::Station2), &store.models[51]);
    EXPECT_EQ(&store.Model(ModelId::Tree03), &store.models[static_cast<size_t>(IndexOf("Tree03"))]);
}

TEST_F(ResourceStoreFixture, TexturesLoadInOrderWithTheirFiltersAndRepeatWrapping)
{
    ASSERT_TRUE(store.LoadResources(root));
    EXPECT_EQ(textureLoader.smoothShadingCalls, 1);
    struct Row {
        const char* name;
        int filter;
    };
    const Row rows[] = {{"BeamParticle", GL_LINEAR}, {"Cursor", GL_LINEAR}, {"HUD_radar", GL_NEAREST},
                        {"shield", GL_NEAREST},      {"fuel", GL_NEAREST},  {"HUDBar", GL_NEAREST}};
    ASSERT_EQ(textureLoader.requests.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        const FakeTextureLoader::Request& r = textureLoader.requests[i];
        EXPECT_EQ(r.path, Path(std::string("Data/Gfx/") + rows[i].name + ".png"));
        EXPECT_EQ(r.minFilter, rows[i].filter) << rows[i].name;
        EXPECT_EQ(r.magFilter, rows[i].filter) << rows[i].name;
        EXPECT_EQ(r.wrapS, GL_REPEAT);
        EXPECT_EQ(r.wrapT, GL_REPEAT);
        EXPECT_EQ(store.textures[i], i + 1);
    }
    EXPECT_EQ(store.Texture(TextureId::HUDBar), 6u);
}

TEST_F(ResourceStoreFixture, SamplesLoadInOrderAndAMissingOneOnlyStaysNull)
{
    const char* expected[] = {
        "PlayerLaser.wav",     "Engine.wav",          "PlayerShield.wav",  "ShieldReflect.wav",
        "PlayerLand.wav",      "PlayerLand2.wav",     "CannonLaser.wav",   "HomingLaunch.wav",
        "ExplosionSmall1.wav", "ExplosionSmall2.wav", "ExplosionMed1.wav", "ExplosionMed2.wav",
        "ExplosionMed3.wav",   "ExplosionBig1.wav",   "ExplosionBig2.wav", "ExplosionBig3.wav",
        "PlanetExplosion.wav", "Hitsound1.wav",       "Hitsound2.wav",     "Activate.wav",
        "DeActivate.wav",      "ClockTick.wav",       "Siren1.wav",        "Air.wav",
        "PlayerCrash1.wav",    "PlayerCrash2.wav",    "PlayerCrash3.wav",  "LaserSpark.wav",
        "ui1.wav",             "ui2.wav",             "LaserBeam.wav",     "LaserDischarge.wav",
        "FleaJump.wav",        "Hydraulic.wav",       "HydraulicStop.wav", "HydraulicStop2.wav",
        "Teleport.wav",        "FuelPod.wav",         "BulletTime.wav",    "Mutant.wav",
        "RocketLaunch.wav",    "Missile.wav",         "Scientist.wav",     "UI3.wav",
        "MenuOpen.wav",        "MenuClose.wav",       "ExtraLife.wav",
    };
    ASSERT_EQ(sizeof expected / sizeof expected[0], kSampleCount);
    mixer.failingPaths.insert(SamplePath("ui2.wav"));

    ASSERT_TRUE(store.LoadResources(root));
    std::vector<std::string> loads;
    for (const std::string& call : mixer.calls) {
        if (call.rfind("LoadWav(", 0) == 0)
            loads.push_back(call);
    }
    ASSERT_EQ(loads.size(), kSampleCount);
    for (size_t i = 0; i < kSampleCount; ++i) {
        EXPECT_EQ(loads[i], "LoadWav(" + SamplePath(expected[i]) + ")");
        if (i == Index(SampleId::ui2))
            EXPECT_EQ(store.samples[i], nullptr);
        else
            EXPECT_NE(store.samples[i], nullptr) << expected[i];
    }
    EXPECT_NE(console.str().find("Loading sample: " + SamplePath("ui2.wav") +
                                 "\nFailed to load sample, reason:\nMix_LoadWAV: mixer error\n"),
              std::string::npos);

    // The store hands its samples back when it goes.
    mixer.calls.clear();
    store.FreeSamples();
    EXPECT_EQ(mixer.calls.size(), kSampleCount - 1);
    for (Mix_Chunk* sample : store.samples)
        EXPECT_EQ(sample, nullptr);
}

TEST_F(ResourceStoreFixture, MissingTextureStopsBeforeAnyModelOrSample)
{
    std::filesystem::remove(Path("Data/Gfx/HUDBar.png"));
    EXPECT_FALSE(store.LoadResources(root));
    for (size_t i = 0; i < 5; ++i)
        EXPECT_NE(store.textures[i], 0u);
    EXPECT_EQ(store.Texture(TextureId::HUDBar), 0u);
    for (const ObjectModel& model : store.models) {
        EXPECT_TRUE(model.beams.empty());
        EXPECT_TRUE(model.circles.empty());
    }
    EXPECT_EQ(LoadWavCalls(), 0);
    EXPECT_EQ(console.str().find("Loaded "), std::string::npos);
}

TEST_F(ResourceStoreFixture, MissingModelLeavesEarlierModelsLoadedButUnscaled)
{
    std::filesystem::remove(Path("Data/Objects/Tree03.obj"));
    EXPECT_FALSE(store.LoadResources(root));
    const int tree03 = IndexOf("Tree03");
    for (int i = 0; i < kModels; ++i) {
        if (i < tree03) {
            ExpectGeometry(store.models[static_cast<size_t>(i)], i, 1.0f, kExpectedModels[i].circlesFrom);
        } else {
            EXPECT_TRUE(store.models[static_cast<size_t>(i)].beams.empty()) << kExpectedModels[i].name;
            EXPECT_TRUE(store.models[static_cast<size_t>(i)].circles.empty()) << kExpectedModels[i].name;
        }
    }
    EXPECT_EQ(LoadWavCalls(), 0);
    const std::string logged = console.str();
    const std::string tail = "Loaded Tree02.obj\nFailed to load Tree03.obj!\n";
    ASSERT_GE(logged.size(), tail.size());
    EXPECT_EQ(logged.substr(logged.size() - tail.size()), tail);
}

TEST_F(ResourceStoreFixture, DamagedModelFileFailsTheLoadWithoutGrowingTheLists)
{
    // A beam count of 0x7FFFFFFF in a 12-byte file.
    WriteWholeFile(Path("Data/Objects/Lander.obj"), std::string("\0\0\0\0\0\0\0\0\xFF\xFF\xFF\x7F", 12));
    EXPECT_FALSE(store.LoadResources(root));
    EXPECT_NE(console.str().find("Failed to load Lander.obj!\n"), std::string::npos);
    EXPECT_TRUE(store.Model(ModelId::Lander).beams.empty());
    EXPECT_EQ(store.Model(ModelId::Flea).beams.size(), 1u);
    EXPECT_EQ(LoadWavCalls(), 0);
}

TEST_F(ResourceStoreFixture, SecondModelOfASharedPairMissingLeavesTheFirstWithItsOwnCircles)
{
    std::filesystem::remove(Path("Data/Objects/EnemyBullet02.obj"));
    EXPECT_FALSE(store.LoadResources(root));
    ExpectGeometry(store.Model(ModelId::EnemyBullet01), IndexOf("EnemyBullet01"), 1.0f, "EnemyBullet01");
    EXPECT_TRUE(store.Model(ModelId::EnemyBullet02).beams.empty());
}

} // namespace
