// The OpenGL sink on a real context: a two-colour beam drawn through it lands
// where the beam table puts it. Needs a display (the test command runs under
// Xvfb); skipped without one.
#include "BeamDraw.h"
#include "GlDrawSink.h"

#include "support/SdlVideoInit.h"

#include "testing/GlReadback.h"
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL.h>

#include <cstdlib>

namespace {

constexpr int kSize = 64;

Pixel ReadPixel(int x, int y) { return ::ReadPixel(x, y, kSize); }

TEST(GlDrawSinkTest, BeamQuadsLandOnTheExpectedPixels)
{
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0')
        GTEST_SKIP() << "no DISPLAY";
    [[maybe_unused]] DriverAllocations untracked;
    ASSERT_TRUE(InitSdlVideoWithRetry(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE)) << SDL_GetError();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    ASSERT_NE(SDL_SetVideoMode(kSize, kSize, 32, SDL_OPENGL), nullptr) << SDL_GetError();

    SetUpPixelView(kSize);

    // Drawn mirrored about x = 0 and moved back, so the mirror path runs on GL too.
    Beam beam;
    beam.a = {-16, 32};
    beam.b = {-48, 32};
    beam.colourA = {1, 0, 0};
    beam.colourB = {0, 0, 1};
    beam.direction = {-1, 0};
    beam.normal = {0, -1};
    DrawObject(GlSink(), {beam}, true);
    glFinish();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    const Pixel startCap = ReadPixel(4, 32);
    const Pixel nearA = ReadPixel(18, 32);
    const Pixel nearB = ReadPixel(46, 32);
    const Pixel outside = ReadPixel(32, 8);
    EXPECT_GT(startCap.r, 200);
    EXPECT_LT(startCap.b, 40);
    EXPECT_GT(nearA.r, nearA.b);
    EXPECT_GT(nearB.b, nearB.r);
    EXPECT_GT(nearB.b, 180);
    EXPECT_EQ(outside.r + outside.g + outside.b, 0);

    SDL_Quit();
}

} // namespace
