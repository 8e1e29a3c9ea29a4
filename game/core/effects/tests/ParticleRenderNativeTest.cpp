// An explosion, an air jet and a shock ring drawn through the OpenGL sink
// land in the frame as the additive squares and the band they are. Needs a
// display (the test command runs under Xvfb); skipped without one.
#include "ExplosionParticles.h"
#include "GlDrawSink.h"
#include "JetParticles.h"
#include "ParticleList.h"
#include "ParticleTestFixture.h"
#include "Ribbons.h"
#include "ShockRing.h"

#include "../../engine/tests/support/SdlVideoInit.h"

#include "testing/GlReadback.h"
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL.h>

#include <cstdlib>
#include <memory>

namespace {

constexpr int kSize = 128;

Pixel ReadPixel(int x, int y) { return ::ReadPixel(x, y, kSize); }

class ParticleRenderTest : public ::testing::Test, public ParticleFixture {};

TEST_F(ParticleRenderTest, ExplosionJetAndShockRingShowInAFrameGrab)
{
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0')
        GTEST_SKIP() << "no DISPLAY";
    [[maybe_unused]] DriverAllocations untracked;
    ASSERT_TRUE(InitSdlVideoWithRetry(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE)) << SDL_GetError();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    ASSERT_NE(SDL_SetVideoMode(kSize, kSize, 32, SDL_OPENGL), nullptr) << SDL_GetError();

    SetUpPixelView(kSize);

    ParticleList particles;
    auto* boom = particles.Add(std::make_unique<ExplosionParticles>(32, 32, 0, 0));
    boom->Start(32, 32, 0, 0, 1, 0, 0, 1, 0, 0, 30); // red throughout
    auto* jet = particles.Add(std::make_unique<JetParticles>(80, 32, 1, 0));
    jet->Emit(80, 32, 1, 0, 3);
    particles.Update();
    ASSERT_FALSE(boom->particles.empty());
    ASSERT_FALSE(jet->particles.empty());

    ParticleList ribbons;
    auto ring = std::make_unique<ShockRing>(64, 96, 0, 0, 1);
    ring->speed = 24;
    ring->Emit(64, 96, 0, 0, 1); // blue, half width 24 round a radius of 12
    ribbons.Add(std::move(ring));

    GlSink().Begin(DrawSink::Primitive::Quads);
    particles.Draw(GlSink(), 1.0f);
    GlSink().End();
    DrawRibbons(ribbons, GlSink(), 1.0f);
    glFinish();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    const Pixel burst = ReadPixel(32, 32);
    EXPECT_GT(burst.r, 200);
    EXPECT_EQ(burst.g + burst.b, 0);

    // The jet's squares sit a few units downstream of the nozzle, green.
    const Vec2 puff = jet->particles[0].position;
    const Pixel air = ReadPixel(static_cast<int>(puff.x), static_cast<int>(puff.y));
    EXPECT_GT(air.g, 100);
    EXPECT_GT(air.g, air.r);

    const Pixel band = ReadPixel(64 + 30, 96); // 18 units out on the band
    EXPECT_GT(band.b, 200);
    EXPECT_EQ(band.r, 0);
    const Pixel beyond = ReadPixel(64 + 40 + 4, 96);
    EXPECT_EQ(beyond.b, 0);
    const Pixel corner = ReadPixel(120, 120);
    EXPECT_EQ(corner.r + corner.g + corner.b, 0);

    SDL_Quit();
}

} // namespace
