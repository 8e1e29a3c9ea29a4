// The whole start-up load on a real OpenGL context (the test command runs
// under Xvfb) with the demo data set; skipped without a display or data.
#include "GlTextureLoader.h"
#include "ImageLibrary.h"
#include "MixerAudioBackend.h"
#include "ResourceStore.h"

#include "support/DemoData.h"
#include "support/ScratchDir.h"
#include "support/VideoTestSupport.h"

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <IL/il.h>
#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libX11.so\n";
}

namespace {

class GlResourceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HasDisplay())
            GTEST_SKIP() << "no DISPLAY";
        const std::string missing = FirstMissingResourceFile(DemoDataRoot());
        if (!missing.empty())
            GTEST_SKIP() << "demo data set incomplete, no " << missing;
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        untracked = std::make_unique<DriverAllocations>();
        std::string text;
        ASSERT_TRUE(InitVideoForTest(dir.File("video.txt"), text, 64, 64, 32, 0)) << text;
        started = true;
        InitImageLibrary(captured.log);
        ASSERT_TRUE(audio.InitAudio(128)) << captured.Text();
        audio.ReserveChannels(2);
        captured.start = captured.console.str().size();
    }
    void TearDown() override
    {
        if (started) {
            store.FreeSamples();
            audio.ShutdownAudio();
            ilShutDown();
            SDL_Quit();
        }
    }

    ScratchDir dir;
    CapturedLog captured{dir.File("Logfile.txt")};
    std::unique_ptr<DriverAllocations> untracked;
    MixerAudioBackend mixer;
    Audio audio{mixer, captured.log};
    GlTextureLoader textures{captured.log};
    ResourceStore store{textures, audio, captured.log};
    bool started = false;
};

TEST_F(GlResourceTest, LoadResourcesFillsEveryMemberFromTheDemoData)
{
    ASSERT_TRUE(store.LoadResources(DemoDataRoot())) << captured.Text();
    std::set<unsigned> names;
    for (std::size_t i = 0; i < kTextureCount; ++i) {
        const unsigned texture = store.textures[i];
        EXPECT_EQ(glIsTexture(texture), GL_TRUE) << TextureTable()[i].name;
        names.insert(texture);
        GLint filter = 0;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
        EXPECT_EQ(filter, TextureTable()[i].filter == TextureFilter::Linear ? GL_LINEAR : GL_NEAREST);
        GLint wrap = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
        EXPECT_EQ(wrap, GL_REPEAT);
    }
    EXPECT_EQ(names.size(), kTextureCount);
    GLint shading = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shading);
    EXPECT_EQ(shading, GL_SMOOTH);

    const std::string logged = captured.Text();
    EXPECT_NE(logged.find("Image Loaded: " + DemoDataRoot() + "/Data/Gfx/BeamParticle.png\n"), std::string::npos);
    for (std::size_t i = 0; i < kModelCount; ++i)
        EXPECT_FALSE(store.models[i].beams.empty()) << ModelTable()[i].name;
    for (std::size_t i = 0; i < kSampleCount; ++i)
        EXPECT_NE(store.samples[i], nullptr) << SampleFiles()[i];
}

TEST_F(GlResourceTest, MissingHudBarPictureEndsTheLoadAtTheTextures)
{
    CopyResourceFolders(DemoDataRoot(), dir.Path() / "copy");
    ASSERT_TRUE(std::filesystem::remove(dir.Path() / "copy" / "Data" / "Gfx" / "HUDBar.png"));
    const std::string root = (dir.Path() / "copy").string();

    EXPECT_FALSE(store.LoadResources(root));
    EXPECT_EQ(glIsTexture(store.Texture(TextureId::fuel)), GL_TRUE);
    EXPECT_EQ(store.Texture(TextureId::HUDBar), 0u);
    for (const ObjectModel& model : store.models)
        EXPECT_TRUE(model.beams.empty());
    for (Mix_Chunk* sample : store.samples)
        EXPECT_EQ(sample, nullptr);
    const std::string logged = captured.Text();
    const std::string failure = "Failed to load image: " + root + "/Data/Gfx/HUDBar.png!\n";
    ASSERT_GE(logged.size(), failure.size());
    EXPECT_EQ(logged.substr(logged.size() - failure.size()), failure);
}

} // namespace
