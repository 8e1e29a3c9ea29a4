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

constexpr float kRadiansToDegrees = 57.2957763671875f;
constexpr float kLandingTolerance = 0.2f; // |N . F| below this fits the beam
constexpr float kNearGroundReach = 50.0f;
constexpr int kImpactLimit = 10;

void Sparks(const Beam& beam, Vec2 hitPoint)
{
    const Vec2 n = beam.normal;
    theGame->particles.Add(std::make_unique<SparkParticles>(hitPoint.x + n.x, hitPoint.y + n.y, n.x, n.y));
}

Line LineOf(const Beam& beam) { return Line(beam.a, beam.b); }

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
    std::vector<BeamHit> hits;
    for (std::size_t sector = 0; sector < sectors.size(); ++sector) {
        for (std::size_t circle = 0; circle < shapes.size(); ++circle) {
            hits.clear();
            if (!sectors[sector]->CollideCircle(shapes[circle], hits))
                continue;
            if (Length(velocity) == 0.0f)
                velocity = s;
            const Vec2 u = velocity * (1.0f / Length(velocity));
            for (const BeamHit& hit : hits) {
                Beam& beam = *hit.beam;
                const Vec2 n = beam.normal;
                if (Dot(n, u) <= 0.0f)
                    velocity -= 2.0f * Dot(velocity, n) * n;
                const Line line = LineOf(beam);
                const float length = Length(beam.b - beam.a);
                const float theta = line.AngleTo(Line(beam.a, beam.a - length * f)) * kRadiansToDegrees;
                if (std::isnan(theta)) {
                    NanEvent(beam, hit.point);
                    continue;
                }
                const float across = Dot(line.normal, f);
                if (landed && landedBeam == &beam) {
                    velocity = {};
                    continue;
                }
                if (across <= -kLandingTolerance || across >= kLandingTolerance) {
                    Crash(beam, hit.point);
                    continue;
                }
                Vec2 f2;
                Vec2 s2;
                AngleToVectors(angle, f2, s2);
                const Vec2 left = position - 14.0f * f2 + 9.0f * s2;
                const Vec2 right = position + 14.0f * f2 + 9.0f * s2;
                if (PointNearSegment(line, HullCircle(8.0f, left.x, left.y)) &&
                    PointNearSegment(line, HullCircle(8.0f, right.x, right.y))) {
                    Land(beam, axesAngle);
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
    ImpactSound();
}

void Player::Scrape(const Beam& beam, Vec2 hitPoint)
{
    Sparks(beam, hitPoint);
    landed = false;
    landedBeam = nullptr;
    Damage(Length(velocity) + 3.0f);
    hitsThisTick += 1;
    ImpactSound();
}

void Player::NanEvent(const Beam& beam, Vec2 hitPoint)
{
    if (landed) {
        hitCooldown = 0;
        Damage(100.0f);
    }
    Log::Instance().Write("Got a NaN angle!\n");
    Sparks(beam, hitPoint);
    Damage(Length(velocity));
    hitsThisTick += 1;
    ImpactSound();
}

void Player::Land(Beam& beam, float axesAngle)
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
    position = ClosestPointOnSegment(position.x, position.y, LineOf(beam)) + 13.0f * beam.normal;
    Log::Instance().Write("Landed!\n");
    Game& game = *theGame;
    const SampleId sound = Random() % 2 == 0 ? SampleId::PlayerLand2 : SampleId::PlayerLand;
    const int channel = game.audio.PlaySample(game.resources.Sample(sound), false);
    game.audio.SetChannelPosition(channel, 0, 0);
}
