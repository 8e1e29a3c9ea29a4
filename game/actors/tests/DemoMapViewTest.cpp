// The demo maps as the player sees them, headless with the real models and
// maps: every laser's beam ends on a line within a screen and every jet
// blows from its floor into open air; with the camera held at its lowest,
// the lowest floor of every pack map is drawn above the HUD's score strip,
// on every view the game offers.
#include "BeamDraw.h"
#include "Collision.h"
#include "Emitter.h"
#include "DemoGame.h"
#include "Game.h"
#include "Laser.h"
#include "MathUtil.h"
#include "Player.h"
#include "Random.h"
#include "testing/HeadlessHost.h"
#include "testing/ScreenPlacement.h"
#include "../../core/world/tests/support/MapTestDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::string kMaps = std::string(ZELV_DEMO_DATA_DIR) + "/Data/Maps/";

// The ship's zoom once a spawn has settled.
constexpr float kSettledZoom = 0.75f;

std::vector<std::string> PackMaps()
{
    std::ifstream in(kMaps + "Default.rota");
    std::vector<std::string> names;
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            names.push_back(line);
    return names;
}

struct DemoView : DemoLevel {
    explicit DemoView(const std::string& name) : DemoLevel(name, true) {}

    // Distance from p to the nearest line of the level.
    float ToNearestLine(Vec2 p) const
    {
        float nearest = 1e9f;
        for (const Beam& b : game.map.liveBeams)
            nearest = std::min(nearest, DistancePointToSegment(p.x, p.y, Line(b.a, b.b)));
        return nearest;
    }

    bool LineCrosses(Vec2 from, Vec2 to) const
    {
        for (const Beam& b : game.map.liveBeams)
            if (SegmentsIntersect(Line(from, to), Line(b.a, b.b), nullptr))
                return true;
        return false;
    }
};

// The axis both mechanisms fire along is -U.
Vec2 AxisU(float angle)
{
    Vec2 forward;
    Vec2 side;
    AngleToVectors(angle, forward, side);
    return side;
}

std::vector<std::string> DemoMaps()
{
    // The title's backdrop as well as the pack; the benchmark world is
    // generated for load, not play.
    std::vector<std::string> names = PackMaps();
    names.push_back("Splash");
    return names;
}

TEST(DemoMapView, EveryLaserBeamEndsOnALineWithinAScreenAndEveryJetBlowsIntoOpenAir)
{
    const std::vector<std::string> maps = DemoMaps();
    ASSERT_GE(maps.size(), 5u);
    int lasers = 0;
    int jets = 0;
    for (const std::string& name : maps) {
        SCOPED_TRACE(name);
        DemoView level(name);
        // The height of the view at the ship's settled zoom.
        const float screen = level.game.screenSize.y / kSettledZoom;
        for (Laser* laser : level.All<Laser>()) {
            ++lasers;
            SCOPED_TRACE(laser->name);
            const Vec2 u = AxisU(laser->angle);
            EXPECT_LE(level.ToNearestLine(laser->position + 8.0f * u), 2.0f) << "the housing stands on a line";
            laser->on = true;
            laser->Update();
            ASSERT_TRUE(laser->on);
            ASSERT_TRUE(laser->hasBeam);
            const Beam& beam = laser->beam;
            EXPECT_LE(level.ToNearestLine(beam.b), 0.05f)
                << "the beam from " << beam.a.x << "," << beam.a.y << " strikes nothing; it ends at " << beam.b.x
                << "," << beam.b.y;
            EXPECT_LE(Length(beam.b - beam.a), screen) << "the beam runs past a screen";
        }
        for (Emitter* jet : level.All<Emitter>()) {
            ++jets;
            const Vec2 u = AxisU(jet->angle);
            EXPECT_LE(level.ToNearestLine(jet->position), 2.0f) << "the jet at " << jet->position.x << " stands on a line";
            // Its push reaches 150 units along the axis.
            EXPECT_FALSE(level.LineCrosses(jet->position - 10.0f * u, jet->position - 150.0f * u))
                << "the jet at " << jet->position.x << " blows into rock";
        }
    }
    EXPECT_GE(lasers, 8);
    EXPECT_GE(jets, 5);
}

// A place on the window as the screen's own frame sees it: across and down a
// turned screen too, as fractions.
Vec2 InFrame(Vec2 window, bool turned) { return turned ? Vec2{1.0f - window.y, window.x} : window; }

struct View {
    int width, height;
    bool turned;
};

TEST(DemoMapView, WithTheCameraAtItsLowestTheLowestFloorShowsAboveTheScoreStrip)
{
    const std::vector<std::string> maps = PackMaps();
    ASSERT_GE(maps.size(), 4u);
    // Every ratio the window offers, upright and turned.
    const View views[] = {{640, 480, false}, {720, 480, false}, {854, 480, false}, {640, 480, true}, {854, 480, true}};
    for (const std::string& name : maps) {
        SCOPED_TRACE(name);
        DemoView level(name);
        Game& game = level.game;
        const Beam* floor = nullptr;
        for (const Beam& b : game.map.liveBeams)
            if (b.normal.y < -0.5f && (floor == nullptr || std::max(b.a.y, b.b.y) > std::max(floor->a.y, floor->b.y)))
                floor = &b;
        ASSERT_NE(floor, nullptr);
        const Vec2 middle = (floor->a + floor->b) * 0.5f;
        for (const View& view : views) {
            SCOPED_TRACE(std::to_string(view.width) + (view.turned ? " turned" : " upright"));
            game.viewWidth = game.windowWidth = view.width;
            game.viewHeight = game.windowHeight = view.height;
            game.rotatedScreen = view.turned;
            game.UpdateScreenSize();
            // The ship hovers over the floor (a spawn holds it still); the
            // camera starts far below and its limit pulls it up.
            Player& ship = *game.player;
            ship.spawnTimer = 100;
            ship.zoom = kSettledZoom;
            ship.velocity = {};
            ship.position = ship.previousPosition = middle - Vec2{0.0f, 100.0f};
            const float below = ship.position.y - game.screenCentre.y + 2000.0f;
            ship.camera = ship.previousCamera = {ship.position.x - game.screenCentre.x, below};
            game.UpdatePlay();
            ASSERT_LT(ship.camera.y, below - 1000.0f) << "the camera was not held";

            ScreenPlacementState state;
            ScreenPlacementSink sink(state);
            game.DrawPlay(1.0f, sink, state);

            // The score strip: the HUD's lower translucent band.
            float stripTop = 1.0f;
            int stripCorners = 0;
            for (const auto& v : sink.vertices)
                if (v.r == 0.2f && v.g == 0.0f && v.b == 0.0f && v.a == 0.5f && InFrame(v.window, view.turned).y > 0.5f) {
                    stripTop = std::min(stripTop, InFrame(v.window, view.turned).y);
                    ++stripCorners;
                }
            ASSERT_EQ(stripCorners, 4);
            EXPECT_NEAR(stripTop, 430.0f / 480.0f, 1e-4f);

            // The floor's quads with their glow, as many wrap images as draw it.
            int drawn = 0;
            for (const auto& v : sink.vertices) {
                if (v.r != floor->colourA.r || v.g != floor->colourA.g || v.b != floor->colourA.b ||
                    DistancePointToSegment(v.given.x, v.given.y, Line(floor->a, floor->b)) > 1.5f * kBeamHalfWidth)
                    continue;
                const Vec2 at = InFrame(v.window, view.turned);
                if (at.x < 0.0f || at.x > 1.0f)
                    continue;
                ++drawn;
                EXPECT_GT(at.y, 0.0f);
                EXPECT_LT(at.y, stripTop) << "the floor at y " << floor->a.y << " is drawn " << (at.y - stripTop) * 480.0f
                                          << " rows into the strip";
            }
            EXPECT_GT(drawn, 0) << "the lowest floor is not drawn";
        }
    }
}

} // namespace
