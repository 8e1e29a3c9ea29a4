// The resource store on the generated demo data set, with the real mixer on
// SDL's dummy audio driver and a texture stand-in that checks the picture
// files exist (the upload itself is tested under a display elsewhere).
#include "ModelFile.h"
#include "MixerAudioBackend.h"
#include "ResourceStore.h"

#include "support/DemoData.h"
#include "support/FakeTextureLoader.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace {

int CountOf(const std::string& text, const std::string& part)
{
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

class DemoResourceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string missing = FirstMissingResourceFile(DemoDataRoot());
        if (!missing.empty())
            GTEST_SKIP() << "demo data set incomplete, no " << missing;
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        log.SetEnabled(true);
        ASSERT_TRUE(audio.InitAudio(128));
        opened = true;
        audio.ReserveChannels(2);
        console.str("");
    }
    void TearDown() override
    {
        store.FreeSamples();
        if (opened)
            audio.ShutdownAudio();
        SDL_Quit();
    }

    // A private copy of the data set without one file.
    std::string CopyWithout(const std::string& relative)
    {
        CopyResourceFolders(DemoDataRoot(), dir.Path() / "copy");
        EXPECT_TRUE(std::filesystem::remove(dir.Path() / "copy" / relative)) << relative;
        return (dir.Path() / "copy").string();
    }

    // The model exactly as its file holds it (relative to the file's origin).
    static ObjectModel FromFile(const std::string& root, const char* name)
    {
        ObjectModel model;
        std::ostringstream quiet;
        Log fileLog{"", quiet};
        EXPECT_TRUE(LoadObjectModelFile(model.beams, model.circles, root + "/Data/Objects/" + name + ".obj", name,
                                        fileLog));
        return model;
    }

    static void ExpectScaled(const ObjectModel& loaded, const std::vector<Beam>& fileBeams,
                             const std::vector<HullCircle>& fileCircles, float scale)
    {
        ASSERT_EQ(loaded.beams.size(), fileBeams.size());
        for (std::size_t i = 0; i < fileBeams.size(); ++i) {
            EXPECT_FLOAT_EQ(loaded.beams[i].a.x, fileBeams[i].a.x * scale);
            EXPECT_FLOAT_EQ(loaded.beams[i].a.y, fileBeams[i].a.y * scale);
            EXPECT_FLOAT_EQ(loaded.beams[i].b.x, fileBeams[i].b.x * scale);
            EXPECT_FLOAT_EQ(loaded.beams[i].b.y, fileBeams[i].b.y * scale);
            EXPECT_EQ(loaded.beams[i].normal, fileBeams[i].normal);
            EXPECT_EQ(loaded.beams[i].direction, fileBeams[i].direction);
        }
        ASSERT_EQ(loaded.circles.size(), fileCircles.size());
        for (std::size_t i = 0; i < fileCircles.size(); ++i) {
            EXPECT_FLOAT_EQ(loaded.circles[i].radius, fileCircles[i].radius * scale);
            EXPECT_FLOAT_EQ(loaded.circles[i].offsetX, fileCircles[i].offsetX * scale);
            EXPECT_FLOAT_EQ(loaded.circles[i].offsetY, fileCircles[i].offsetY * scale);
        }
    }

    ScratchDir dir;
    std::ostringstream console;
    Log log{dir.File("Logfile.txt"), console};
    MixerAudioBackend mixer;
    Audio audio{mixer, log};
    FakeTextureLoader textures;
    ResourceStore store{textures, audio, log};
    bool opened = false;
};

TEST_F(DemoResourceTest, LoadsSixTexturesFiftyTwoModelsAndFortySevenSamples)
{
    const std::string root = DemoDataRoot();
    ASSERT_TRUE(store.LoadResources(root)) << console.str();
    const std::string logged = console.str();

    EXPECT_EQ(textures.requests.size(), kTextureCount);
    for (unsigned texture : store.textures)
        EXPECT_NE(texture, 0u);
    EXPECT_EQ(CountOf(logged, "\nLoaded ") + (logged.rfind("Loaded ", 0) == 0 ? 1 : 0), 52);
    EXPECT_EQ(CountOf(logged, "Failed"), 0) << logged;
    for (std::size_t i = 0; i < kModelCount; ++i)
        EXPECT_FALSE(store.models[i].beams.empty()) << ModelTable()[i].name;
    EXPECT_EQ(CountOf(logged, "Loading sample: "), 47);
    for (std::size_t i = 0; i < kSampleCount; ++i)
        EXPECT_NE(store.samples[i], nullptr) << SampleFiles()[i];

    // Player: 0.275 times its file, circles included.
    const ObjectModel player = FromFile(root, "Player");
    ExpectScaled(store.Model(ModelId::Player), player.beams, player.circles, 0.275f);

    // Pairs hold the circles of one of their files, scaled once.
    const ObjectModel bullet2 = FromFile(root, "EnemyBullet02");
    ExpectScaled(store.Model(ModelId::EnemyBullet01), FromFile(root, "EnemyBullet01").beams, bullet2.circles, 1.0f);
    const ObjectModel playerShield = FromFile(root, "PlayerShield");
    ExpectScaled(store.Model(ModelId::RedShield), FromFile(root, "RedShield").beams, playerShield.circles, 0.75f);
    ExpectScaled(store.Model(ModelId::PlayerShield), playerShield.beams, playerShield.circles, 0.75f);
    const ObjectModel station2 = FromFile(root, "Station2");
    ExpectScaled(store.Model(ModelId::Station), FromFile(root, "Station").beams, station2.circles, 0.5f);
    ExpectScaled(store.Model(ModelId::Station2), station2.beams, station2.circles, 0.5f);

    // Models without a list keep none whatever their files hold.
    for (ModelId id : {ModelId::Player_Fly, ModelId::Player_Leg, ModelId::game_over, ModelId::hiscores})
        EXPECT_TRUE(store.Model(id).circles.empty()) << ModelTable()[Index(id)].name;

    // Samples play on the real mixer.
    EXPECT_GE(audio.PlaySample(store.Sample(SampleId::ui1), false), 2);
}

TEST_F(DemoResourceTest, MissingHudBarTextureLoadsNoModelOrSample)
{
    const std::string root = CopyWithout("Data/Gfx/HUDBar.png");
    EXPECT_FALSE(store.LoadResources(root));
    EXPECT_NE(store.Texture(TextureId::fuel), 0u);
    EXPECT_EQ(store.Texture(TextureId::HUDBar), 0u);
    for (const ObjectModel& model : store.models)
        EXPECT_TRUE(model.beams.empty() && model.circles.empty());
    for (Mix_Chunk* sample : store.samples)
        EXPECT_EQ(sample, nullptr);
    EXPECT_EQ(console.str().find("Loaded "), std::string::npos);
    EXPECT_EQ(console.str().find("Loading sample"), std::string::npos);
}

TEST_F(DemoResourceTest, MissingTree03LeavesPlayerToTree02LoadedAndUnscaled)
{
    const std::string root = CopyWithout("Data/Objects/Tree03.obj");
    EXPECT_FALSE(store.LoadResources(root));
    const std::size_t tree03 = Index(ModelId::Tree03);
    for (std::size_t i = 0; i < kModelCount; ++i) {
        const ModelEntry& entry = ModelTable()[i];
        SCOPED_TRACE(entry.name);
        if (i >= tree03) {
            EXPECT_TRUE(store.models[i].beams.empty());
            EXPECT_TRUE(store.models[i].circles.empty());
            continue;
        }
        const ObjectModel file = FromFile(root, entry.name);
        if (entry.circles == CircleList::Own)
            ExpectScaled(store.models[i], file.beams, file.circles, 1.0f);
        else
            EXPECT_EQ(store.models[i].beams.size(), file.beams.size());
    }
    ExpectScaled(store.Model(ModelId::Player), FromFile(root, "Player").beams, FromFile(root, "Player").circles,
                 1.0f);
    for (Mix_Chunk* sample : store.samples)
        EXPECT_EQ(sample, nullptr);
    EXPECT_NE(console.str().find("Failed to load Tree03.obj!\n"), std::string::npos);
}

TEST_F(DemoResourceTest, MissingUi2SampleOnlyLeavesThatSampleNull)
{
    const std::string root = CopyWithout("Data/Sound/ui2.wav");
    EXPECT_TRUE(store.LoadResources(root));
    for (std::size_t i = 0; i < kSampleCount; ++i) {
        if (i == Index(SampleId::ui2))
            EXPECT_EQ(store.samples[i], nullptr);
        else
            EXPECT_NE(store.samples[i], nullptr) << SampleFiles()[i];
    }
    EXPECT_NE(console.str().find("Loading sample: " + root + "/Data/Sound/ui2.wav\nFailed to load sample, reason:\n"),
              std::string::npos);
    EXPECT_EQ(audio.PlaySample(store.Sample(SampleId::ui2), false), -1);
}

} // namespace
