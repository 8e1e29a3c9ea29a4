// Video mode and 2D view on a real display (the test command runs under
// Xvfb); skipped without one. Each case runs in its own process under CTest,
// so each may start and stop SDL video.
#include "GlState.h"
#include "Joysticks.h"
#include "Video.h"

#include "support/ScratchDir.h"
#include "support/VideoTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <GL/gl.h>
#include <SDL.h>

#include <cstdlib>
#include <string>

extern "C" const char* __lsan_default_suppressions()
{
    // libX11 keeps a few start-up strings for the life of the process.
    return "leak:libX11.so\n";
}

namespace {

struct ModeCase {
    int width, height;
};

class VideoModeTest : public ::testing::TestWithParam<ModeCase> {};

TEST_P(VideoModeTest, OpensTheWindowAndLogsTheMode)
{
    if (!HasDisplay())
        GTEST_SKIP() << "no DISPLAY";
    [[maybe_unused]] DriverAllocations untracked;
    ScratchDir dir;
    const ModeCase mode = GetParam();
    std::string text;
    ASSERT_TRUE(InitVideoForTest(dir.File("Logfile.txt"), text, mode.width, mode.height, 32, 0)) << text;

    EXPECT_EQ(text, "\n[Initializing Video Settings]\n"
                    "Anti-Aliasing not requested!\nResolution Set: " +
                        std::to_string(mode.width) + "x" + std::to_string(mode.height) +
                        "x32\n"
                        "Complete...\n\n");
    const SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->w, mode.width);
    EXPECT_EQ(screen->h, mode.height);
    EXPECT_NE(screen->flags & SDL_OPENGL, 0u);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    const char* centred = std::getenv("SDL_VIDEO_CENTERED");
    ASSERT_NE(centred, nullptr);
    EXPECT_STREQ(centred, "center");

    int doubleBuffer = 0;
    int depth = 0;
    int alpha = 0;
    SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &doubleBuffer);
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth);
    SDL_GL_GetAttribute(SDL_GL_ALPHA_SIZE, &alpha);
    EXPECT_EQ(doubleBuffer, 1);
    EXPECT_GE(depth, 16);
    EXPECT_GE(alpha, 8);
    SDL_Quit();
}

INSTANTIATE_TEST_SUITE_P(Modes, VideoModeTest, ::testing::Values(ModeCase{640, 480}, ModeCase{854, 480}),
                         [](const ::testing::TestParamInfo<ModeCase>& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

TEST(VideoTest, MultisamplingReportsWhatTheContextGot)
{
    if (!HasDisplay())
        GTEST_SKIP() << "no DISPLAY";
    [[maybe_unused]] DriverAllocations untracked;
    ScratchDir dir;
    std::string text;
    // The display offers 4 samples per pixel (a request for 2 may come back as 4).
    ASSERT_TRUE(InitVideoForTest(dir.File("Logfile.txt"), text, 640, 480, 32, 4)) << text;
    GLint buffers = -1;
    GLint samples = -1;
    glGetIntegerv(GL_SAMPLE_BUFFERS, &buffers);
    glGetIntegerv(GL_SAMPLES, &samples);
    EXPECT_EQ(buffers, 1);
    EXPECT_GE(samples, 4);
    EXPECT_EQ(text, "\n[Initializing Video Settings]\n"
                    "Resolution Set: 640x480x32\n"
                    "Anti-Aliasing: Buffers:1 Samples:" +
                        std::to_string(samples) +
                        "\n"
                        "Complete...\n\n");
    SDL_Quit();
}

TEST(VideoTest, RefusedModeShutsSdlDownAndLogsOnlyTheHeader)
{
    if (!HasDisplay())
        GTEST_SKIP() << "no DISPLAY";
    [[maybe_unused]] DriverAllocations untracked;
    ScratchDir dir;
    // No visual of the display offers this many samples; a zero-sized mode is
    // refused before SDL sees it.
    for (const auto& [width, samples] : {std::pair{640, 64}, std::pair{0, 0}}) {
        std::string text;
        EXPECT_FALSE(InitVideoForTest(dir.File("Logfile.txt"), text, width, 480, 32, samples));
        EXPECT_EQ(text, "\n[Initializing Video Settings]\n");
        EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
    }
}

TEST(VideoTest, FailedStartUpLogsTheFailure)
{
    // A video driver that does not exist: SDL_Init fails with or without a display.
    ScratchDir dir;
    const char* previous = std::getenv("SDL_VIDEODRIVER");
    const std::string saved = previous != nullptr ? previous : "";
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    CapturedLog captured(dir.File("Logfile.txt"));
    const bool ok = InitVideo("Zelvorant2", 640, 480, 32, false, 0, captured.log);
    if (previous != nullptr)
        setenv("SDL_VIDEODRIVER", saved.c_str(), 1);
    else
        unsetenv("SDL_VIDEODRIVER");
    EXPECT_FALSE(ok);
    EXPECT_EQ(captured.Text(), "\n[Initializing Video Settings]\n\n[Failed to initialize Video Settings]\n");
    SDL_Quit();
}

TEST(VideoTest, IconFileIsOptionalAndMayBeGarbage)
{
    if (!HasDisplay())
        GTEST_SKIP() << "no DISPLAY";
    [[maybe_unused]] DriverAllocations untracked;
    ScratchDir dir;
    WriteWholeFile(dir.File("icon.bmp"), "BM not really a bitmap");
    // A real 2x2 bitmap as well.
    const std::string bmp = std::string("BM") + std::string("\x46\0\0\0\0\0\0\0\x36\0\0\0", 12) +
                            std::string("\x28\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\x18\0\0\0\0\0\x10\0\0\0", 24) +
                            std::string(16, '\0') + std::string(16, '\x7f');
    WriteWholeFile(dir.File("good.bmp"), bmp);
    // A pipe would block the loader for ever: it is never opened.
    ASSERT_EQ(mkfifo(dir.File("pipe.bmp").c_str(), 0600), 0);
    for (const std::string& icon :
         {dir.File("missing.bmp"), dir.File("icon.bmp"), dir.File("good.bmp"), dir.File("pipe.bmp")}) {
        std::string text;
        EXPECT_TRUE(InitVideoForTest(dir.File("Logfile.txt"), text, 64, 64, 32, 0, icon.c_str())) << icon;
        SDL_Quit();
    }
}

struct PointCase {
    float x, y;
    unsigned char r, g, b;
};

// A point drawn at the centre of pixel (x, y) in view units lands on that
// pixel, counted from the top.
TEST(VideoTest, PointsInThe2DViewLandOnTheirPixels)
{
    if (!HasDisplay())
        GTEST_SKIP() << "no DISPLAY";
    [[maybe_unused]] DriverAllocations untracked;
    ScratchDir dir;
    for (const auto& [width, height] : {std::pair{640, 480}, std::pair{854, 480}}) {
        std::string text;
        ASSERT_TRUE(InitVideoForTest(dir.File("Logfile.txt"), text, width, height, 32, 0)) << text;
        glViewport(0, 0, width, height);
        Setup2DView(static_cast<float>(width), static_cast<float>(height));
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);

        const PointCase points[] = {
            {0.5f, 0.5f, 255, 0, 0},
            {100.5f, 50.5f, 0, 255, 0},
            {static_cast<float>(width) - 0.5f, static_cast<float>(height) - 0.5f, 0, 0, 255},
            {static_cast<float>(width) / 2 + 3.5f, 10.5f, 255, 255, 0},
        };
        glBegin(GL_POINTS);
        for (const PointCase& p : points) {
            glColor3ub(p.r, p.g, p.b);
            glVertex3f(p.x, p.y, 0.0f);
        }
        glEnd();
        glFinish();
        ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

        for (const PointCase& p : points) {
            const int px = static_cast<int>(p.x);
            const int py = static_cast<int>(p.y);
            unsigned char rgba[4] = {};
            glReadPixels(px, height - 1 - py, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
            EXPECT_EQ(rgba[0], p.r) << width << ": " << px << "," << py;
            EXPECT_EQ(rgba[1], p.g) << width << ": " << px << "," << py;
            EXPECT_EQ(rgba[2], p.b) << width << ": " << px << "," << py;
            // The neighbour below stays clear: y grows downward, one unit per pixel.
            if (py + 1 < height) {
                glReadPixels(px, height - 2 - py, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
                EXPECT_EQ(rgba[0] + rgba[1] + rgba[2], 0) << width << ": below " << px << "," << py;
            }
        }
        SDL_Quit();
    }
}

TEST(VideoTest, WrappersSetTheBoundTextureAndBlendState)
{
    if (!HasDisplay())
        GTEST_SKIP() << "no DISPLAY";
    [[maybe_unused]] DriverAllocations untracked;
    ScratchDir dir;
    std::string text;
    ASSERT_TRUE(InitVideoForTest(dir.File("Logfile.txt"), text, 64, 64, 32, 0)) << text;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    BindTexture(GL_TEXTURE_2D, static_cast<int>(texture));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture);

    SetTextureWrap(GL_CLAMP_TO_EDGE, GL_REPEAT);
    SetTextureFilter(GL_NEAREST, GL_LINEAR);
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_CLAMP_TO_EDGE);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_REPEAT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_NEAREST);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);

    SetBlend(GL_SRC_ALPHA, GL_ONE);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    glGetIntegerv(GL_BLEND_SRC, &value);
    EXPECT_EQ(value, GL_SRC_ALPHA);
    glGetIntegerv(GL_BLEND_DST, &value);
    EXPECT_EQ(value, GL_ONE);
    glDeleteTextures(1, &texture);
    SDL_Quit();
}

TEST(JoystickTest, NoJoystickIsLoggedAndReported)
{
    // The test machines have no joystick.
    ScratchDir dir;
    CapturedLog captured(dir.File("Logfile.txt"));
    if (SDL_Init(SDL_INIT_JOYSTICK) == 0 && SDL_NumJoysticks() > 0)
        GTEST_SKIP() << "a joystick is attached";
    SDL_Quit();
    EXPECT_FALSE(InitJoysticks(captured.log));
    EXPECT_EQ(captured.Text(), "\n[Searching for Joystick]\nNo joysticks found...\n");
    SDL_Quit();
}

} // namespace
