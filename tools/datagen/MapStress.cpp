#include "MapStress.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace datagen {

namespace {

// A small fixed generator (not the game's Random) so the map never changes
// when the game's generator does.
class Lcg {
public:
    explicit Lcg(std::uint32_t seed) : state(seed ? seed : 1u) {}
    std::uint32_t Next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    float Range(float lo, float hi) { return lo + (hi - lo) * static_cast<float>(Next() % 10001u) / 10000.0f; }

private:
    std::uint32_t state;
};

constexpr float kStep = 12.0f;        // ground segment length along x
constexpr float kGroundY = 1000.0f;   // mean ground height
constexpr float kPadLength = 240.0f;  // flat landing pad at the left edge

const Rgb kGround{0.2f, 0.8f, 0.4f};
const Rgb kRock{0.7f, 0.5f, 0.2f};
const Rgb kPlatform{0.3f, 0.6f, 1.0f};

float GroundHeight(float x, float phase)
{
    if (x < kPadLength)
        return kGroundY;
    return kGroundY - 120.0f * std::sin((x + phase) * 0.0021f) - 50.0f * std::sin(x * 0.011f);
}

// A closed polygon of n sides, clockwise on screen (y grows downward), so
// every normal faces out.
void Island(MapContents& map, Vec2 centre, float radius, int sides, Rgb colour)
{
    Vec2 previous;
    for (int i = 0; i <= sides; ++i) {
        const float a = 6.2831853f * static_cast<float>(i % sides) / static_cast<float>(sides);
        const Vec2 p{centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)};
        if (i > 0)
            map.beams.push_back(MakeTerrainBeam(previous, p, colour, colour));
        previous = p;
    }
}

}  // namespace

void BuildStressMap(const MapStressRecipe& recipe, MapContents& map)
{
    Lcg rng(recipe.seed);
    const int islandSides = 8;
    const int islands = 60 + recipe.beams / 40;
    const int groundBeams = recipe.beams > islands * islandSides ? recipe.beams - islands * islandSides : 0;
    // The pad is one beam in place of padSegments short ones.
    const int padSegments = static_cast<int>(kPadLength / kStep);
    const int segments = std::max(600, groundBeams + padSegments - 1);
    const float width = kStep * static_cast<float>(segments);
    const float phase = rng.Range(0.0f, 1000.0f);

    const std::size_t groundStart = map.beams.size();
    // One ground line across the whole world, left to right, beginning with
    // the landing pad below the spawn; its two ends are at the same height so
    // the wrap is seamless.
    Vec2 previous{kStep * static_cast<float>(padSegments), kGroundY};
    map.beams.push_back(MakeTerrainBeam({0.0f, kGroundY}, previous, kGround, kGround));
    for (int i = padSegments + 1; i <= segments; ++i) {
        const float x = kStep * static_cast<float>(i);
        Vec2 p{x, i == segments ? kGroundY : GroundHeight(x, phase)};
        map.beams.push_back(MakeTerrainBeam(previous, p, kGround, kGround));
        previous = p;
    }

    // Floating rocks; every sixth one rides a platform.
    int rotators = 0;
    int movers = 0;
    for (int i = 0; i < islands; ++i) {
        const float x = width * (static_cast<float>(i) + 0.5f) / static_cast<float>(islands);
        const float y = kGroundY - 420.0f - rng.Range(0.0f, 160.0f);
        const bool platform = i % 6 == 3;
        Island(map, {x, y}, platform ? 40.0f : rng.Range(30.0f, 60.0f), islandSides,
               platform ? kPlatform : kRock);
        if (!platform)
            continue;
        if ((rotators + movers) % 2 == 0) {
            MapRotator r;
            r.position = {x, y};
            r.radius = 50.0f;
            r.name = "SPIN" + std::to_string(rotators);
            r.targetName = "PIVOT" + std::to_string(rotators);
            r.stepAngle = 90;
            r.speed = 1.5f;
            r.pauseTime = 1.0f;
            map.rotators.push_back(r);
            // Its pivot, at its centre: it turns where it is built.
            map.targets.push_back({{x, y}, r.targetName});
            ++rotators;
        } else {
            const std::string n = std::to_string(movers);
            MapMover m;
            m.position = {x, y};
            m.halfWidth = 50.0f;
            m.halfHeight = 50.0f;
            m.name = "LIFT" + n;
            m.targetNameA = "LIFTA" + n;
            m.targetNameB = "LIFTB" + n;
            m.travelTime = 4.0f;
            m.waitTime = 1.0f;
            map.movers.push_back(m);
            map.targets.push_back({{x, y + 100.0f}, m.targetNameA});  // outside the box, or it would ride along
            map.targets.push_back({{x, y - 180.0f}, m.targetNameB});
            MapTrigger t;
            t.position = {x, y - 90.0f};
            t.halfWidth = 60.0f;
            t.halfHeight = 20.0f;
            t.activateName = m.name;
            map.triggers.push_back(t);
            ++movers;
        }
    }

    // Actors on the ground, cycling through every placeable type.
    static const std::int32_t kTypes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12,
                                          13, 14, 15, 16, 17, 18, 19, 20, 22, 24, 25};
    const int typeCount = static_cast<int>(sizeof kTypes / sizeof kTypes[0]);
    const int actors = recipe.actors;
    for (int i = 0; i < actors; ++i) {
        const float x = kPadLength + 200.0f +
                        (width - kPadLength - 400.0f) * static_cast<float>(i) / static_cast<float>(actors);
        // On the ground line itself: the point of the segment under x.
        const int segment = static_cast<int>(x / kStep) - padSegments + 1;  // x lies past the pad
        const Beam& ground = map.beams[groundStart + static_cast<std::size_t>(segment)];
        const float t = (x - ground.a.x) / (ground.b.x - ground.a.x);
        const float y = ground.a.y + t * (ground.b.y - ground.a.y);
        MapActor a;
        a.type = kTypes[i % typeCount];
        a.position = {x, y};
        switch (a.type) {
        case 19: case 20: case 22: a.position.y -= 150.0f; break;  // fliers and jumpers start aloft
        case 17: a.position.y -= 250.0f; break;
        case 16: a.position.y -= 200.0f; a.halfWidth = 48.0f; a.halfHeight = 32.0f; break;
        case 6: a.name = "LASER" + std::to_string(i / typeCount % 4); break;
        case 7:
            a.position.y -= 8.0f;  // the housing's base on the ground, its beam upward
            a.name = "LASER" + std::to_string(i / typeCount % 4);  // its switch shares the name
            a.onTime = 2.0f;
            a.offTime = 2.0f;
            a.startDelay = static_cast<float>(i % 3);
            a.startsOn = true;
            break;
        case 15:
            a.name = "JET" + std::to_string(i);
            a.onTime = 3.0f;
            a.offTime = 2.0f;
            a.startsOn = true;
            break;
        default: break;
        }
        map.actors.push_back(a);
    }
}

}  // namespace datagen
