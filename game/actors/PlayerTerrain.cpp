// The ship against the terrain: bouncing, crashing, scraping and landing,
// the near-ground test of the legs and the limit on impacts per tick.
#include "Player.h"

#include "Collision.h"
#include "Game.h"
#include "Line.h"
#include "Log.h"
#include "MathUtil.h"
#include "Random.h"
#include "Sector.h"
#include "SparkParticles.h"

#include <cmath>
#include <memory>

namespace {

constexpr float kLandingTolerance = 0.2f; // |N . F| below this fits the beam
constexpr float kNearGroundReach = 50.0f;
constexpr int kImpactLimit = 10;

void Sparks(const Beam& beam, Vec2 hitPoint)
{
    const Vec2 n = beam.normal;
    theGame->particles.Add(std::make_unique<SparkParticles>(hitPoint.x + n.x, hitPoint.y + n.y, n.x, n.y));
}

Line LineOf(const Beam& beam) { return Line(beam.a, beam.b); }

// The ship stands upright on a beam when its cross axis F runs along the
// beam's direction to within the landing tolerance: its tail then faces the
// rock. Both measures are dot products of unit vectors, so they are finite
// for every beam (a zero-length one fits nothing) and do not depend on where
// in the world the beam lies.
bool FitsUpright(const Line& line, Vec2 f)
{
    const float across = Dot(line.normal, f);
    return across > -kLandingTolerance && across < kLandingTolerance && Dot(line.direction, f) > 0.0f;
}

// A beam met across the world's seam lies one world width from the ship
// (the sector tested it against the ship's circle moved by that width): the
// offset that brings the ship's points next to it.
Vec2 SeamOffset(Vec2 hitPoint, Vec2 position, float worldWidth)
{
    const float dx = hitPoint.x - position.x;
    if (dx > 0.5f * worldWidth)
        return {worldWidth, 0.0f};
    if (dx < -0.5f * worldWidth)
        return {-worldWidth, 0.0f};
    return {};
}

// Whether a foot circle touches a beam of the ship's cells that the ship
// fits upright on; the foot is first taken round the seam into the world.
bool OnUprightBeam(const std::vector<Sector*>& sectors, HullCircle foot, Vec2 f, float worldWidth)
{
    if (worldWidth > 0.0f) {
        foot.x = std::fmod(foot.x, worldWidth);
        if (foot.x < 0.0f)
            foot.x += worldWidth;
    }
    std::vector<BeamHit> hits;
    for (Sector* sector : sectors)
        sector->CollideCircle(foot, hits);
    for (const BeamHit& hit : hits)
        if (FitsUpright(LineOf(*hit.beam), f))
            return true;
    return false;
}

} // namespace

void Player::ImpactSound()
{
    static const SampleId crashes[] = {SampleId::PlayerCrash1, SampleId::PlayerCrash2, SampleId::PlayerCrash3};
    Game& game = *theGame;
    const int channel = game.audio.PlaySample(game.resources.Sample(crashes[Random() % 3]), false);
    game.audio.SetChannelPosition(channel, 0, 0);
}

void Player::TerrainPass(Vec2 f, Vec2 s, float axesAngle)
{
    if (sectors.empty())
        return;
    hitsThisTick = 0;
    const float worldWidth = theGame->WorldWidth();
    std::vector<BeamHit> hits;
    for (std::size_t sector = 0; sector < sectors.size(); ++sector) {
        for (std::size_t circle = 0; circle < shapes.size(); ++circle) {
            hits.clear();
            if (!sectors[sector]->CollideCircle(shapes[circle], hits))
                continue;
            if (Length(velocity) == 0.0f)
                velocity = s;
            for (const BeamHit& hit : hits) {
                Beam& beam = *hit.beam;
                const Vec2 n = beam.normal;
                // Only a velocity that still runs into the beam bounces: two
                // beams meeting in line would otherwise turn it back into both.
                if (Dot(n, velocity) <= 0.0f)
                    velocity -= 2.0f * Dot(velocity, n) * n;
                const Line line = LineOf(beam);
                const bool upright = FitsUpright(line, f);
                // Standing, the beam under the ship and any beam it also
                // stands upright on are the floor.
                if (landed && (landedBeam == &beam || upright)) {
                    velocity = {};
                    continue;
                }
                if (!upright) {
                    Crash(beam, hit.point);
                    continue;
                }
                Vec2 f2;
                Vec2 s2;
                AngleToVectors(angle, f2, s2);
                const Vec2 left = position - 14.0f * f2 + 9.0f * s2;
                const Vec2 right = position + 14.0f * f2 + 9.0f * s2;
                // Both feet on this beam land the ship. A foot off its end
                // may stand on another beam the ship fits upright on: the
                // floor goes on across a joint, or across the seam one world
                // width away.
                const Vec2 offset = SeamOffset(hit.point, position, worldWidth);
                bool onThis[2];
                bool standing = true;
                int foot = 0;
                for (const Vec2 at : {left, right}) {
                    onThis[foot] = PointNearSegment(line, HullCircle(8.0f, at.x + offset.x, at.y + offset.y));
                    standing = standing && (onThis[foot] || OnUprightBeam(sectors, HullCircle(8.0f, at.x, at.y), f,
                                                                          worldWidth));
                    ++foot;
                }
                if ((onThis[0] || onThis[1]) && standing) {
                    Land(beam, axesAngle, offset);
                    break;
                }
                Scrape(beam, hit.point);
            }
            if (!landed) {
                ReleaseCarrier();
                carrier = nullptr;
                landedBeam = nullptr;
                // A ship that hits the terrain cannot turn into it in the same tick.
                if (angle != previousAngle)
                    angle = previousAngle;
            }
        }
    }
    NearGroundPass();
    if (hitsThisTick > kImpactLimit) {
        hitCooldown = 0;
        Damage(100.0f);
    }
    if (TouchBegins(ticksSinceTerrainTouch, hitsThisTick > 0))
        ImpactSound();
}

void Player::NearGroundPass()
{
    nearGround = false;
    std::vector<BeamHit> hits;
    for (Sector* sector : sectors) {
        hits.clear();
        if (!sector->CollideCircle(HullCircle(kNearGroundReach, position.x, position.y), hits))
            continue;
        Vec2 underside;
        Vec2 unused;
        AngleToVectors(angle + 90.0f, underside, unused);
        for (const BeamHit& hit : hits)
            if (Dot(hit.beam->normal, underside) < 0.0f)
                nearGround = true;
    }
}

void Player::Crash(const Beam& beam, Vec2 hitPoint)
{
    ReleaseCarrier();
    carrier = nullptr;
    landed = false;
    landedBeam = nullptr;
    Sparks(beam, hitPoint);
    Damage(Length(velocity) + 3.0f);
    hitsThisTick += 1;
    position += beam.normal;
    velocity += 0.1f * beam.normal;
}

void Player::Scrape(const Beam& beam, Vec2 hitPoint)
{
    Sparks(beam, hitPoint);
    landed = false;
    landedBeam = nullptr;
    Damage(Length(velocity) + 3.0f);
    hitsThisTick += 1;
    // No push, but no deeper either: what this tick moved the ship into the
    // beam is taken back, so a ship resting on a beam it cannot land on
    // never sinks through it under gravity.
    const float into = Dot(position - previousPosition, beam.normal);
    if (into < 0.0f)
        position -= into * beam.normal;
}

void Player::Land(Beam& beam, float axesAngle, Vec2 seamOffset)
{
    velocity = {};
    landed = true;
    legAngle = 0.0f;
    landedBeam = &beam;
    ReleaseCarrier();
    carrier = nullptr;
    // The nearest angle at which the ship's cross axis lies along the beam.
    const Vec2 d = beam.b - beam.a;
    const double along = std::atan2(static_cast<double>(d.y), static_cast<double>(d.x)) * 180.0 / M_PI;
    const float turn = static_cast<float>(std::remainder(along - static_cast<double>(axesAngle), 180.0));
    angle = previousAngle = angle + turn;
    const Vec2 there = position + seamOffset;
    position = ClosestPointOnSegment(there.x, there.y, LineOf(beam)) + 13.0f * beam.normal - seamOffset;
    Log::Instance().Write("Landed!\n");
    Game& game = *theGame;
    const SampleId sound = Random() % 2 == 0 ? SampleId::PlayerLand2 : SampleId::PlayerLand;
    const int channel = game.audio.PlaySample(game.resources.Sample(sound), false);
    game.audio.SetChannelPosition(channel, 0, 0);
}
