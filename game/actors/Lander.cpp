#include "Lander.h"

#include "ActorDraw.h"
#include "Collision.h"
#include "EnemyActions.h"
#include "Game.h"
#include "LanderParticles.h"
#include "Line.h"
#include "Log.h"
#include "MathUtil.h"
#include "Player.h"
#include "Random.h"
#include "Sector.h"
#include "SmokeParticles.h"
#include "Wreckage.h"

#include <cmath>
#include <memory>

namespace {

void AddLanderBurst(Vec2 at, Rgb colour)
{
    auto burst = std::make_unique<LanderParticles>(at.x, at.y, 0.0f, 0.0f);
    burst->Start(at.x, at.y, 0.0f, 0.0f, colour.r, colour.g, colour.b, 0.0f, 0.0f, 0.0f, 20);
    theGame->particles.Add(std::move(burst));
}

} // namespace

Lander::Lander()
{
    type = EntityTypes::Lander;
}

void Lander::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Lander Spawned!\n");
    health = 1.0f;
    velocity = {};
    abducting = carrying = mutating = false;
    driftRight = Random() % 2 != 0;
    phase = RandomFloat(100.0f);
    target = nullptr;
    ticks = 0;
    searchTimer = (Random() % 30 + 5) * 50;
    // A mutant may fire on its first carrying tick.
    fireTimer = 0;
}

bool Lander::TerrainContact(Vec2* normalOut) const
{
    return BeamNormalMet(sectors, kHullRadius, position, normalOut);
}

bool Lander::Search()
{
    if (theGame == nullptr)
        return false;
    const SectorGrid& grid = theGame->sectorGrid;
    Vec2 q{position.x, position.y - 10.0f};
    float best = kGroundSearch;
    bool found = false;
    Vec2 ground;
    while (grid.SectorAt(q.x, q.y) != nullptr) {
        const Line probe(Vec2{position.x, position.y + 5.0f}, q);
        for (float i : {-kSectorSize, 0.0f, kSectorSize}) {
            for (float j : {-kSectorSize, 0.0f, kSectorSize}) {
                const Sector* cell = grid.SectorAt(q.x + i, q.y + j);
                if (cell == nullptr)
                    continue;
                if (NearerBeamCrossing(*cell, probe, position, best, ground))
                    found = true;
                if (found && Choose(*cell, ground))
                    return true;
            }
        }
        if (found)
            return false;
        q.y += 125.0f;
        if (!(Length(q - position) <= kGroundSearch))
            return false;
    }
    return false;
}

bool Lander::Choose(const Sector& cell, Vec2 ground)
{
    const Line column(position, ground);
    for (Entity* entity : cell.Entities()) {
        if (entity->type != EntityTypes::Scientist)
            continue;
        auto* scientist = static_cast<Scientist*>(entity);
        if (scientist->claimed ||
            !PointNearSegment(column, HullCircle(kColumnRadius, scientist->position.x, scientist->position.y)))
            continue;
        abducting = true;
        target = scientist;
        scientist->claimed = true;
        return true;
    }
    return false;
}

void Lander::Abduct()
{
    Scientist* scientist = target.Get();
    if (scientist != nullptr) {
        const Vec2 u = Normalize(scientist->position.x - position.x, scientist->position.y - position.y);
        velocity.x += u.x * 0.25f * 1.9f;
        velocity.y = u.y * 0.25f * 3.5f;
        const Vec2 s = scientist->position;
        if (position.x - 5.0f < s.x && s.x < position.x + 5.0f && Length(s - position) < kCaptureDistance)
            Capture(*scientist);
    }
    // A handle that reads null: the scientist is gone, so dead too.
    if (scientist == nullptr || scientist->dead) {
        abducting = false;
        target = nullptr;
        searchTimer = (Random() % 10 + 5) * 50;
    }
}

void Lander::Capture(Scientist& scientist)
{
    carrying = true;
    mutating = true;
    mutateTicks = 0;
    velocity = {};
    // Swallowed: gone from its list without its own death.
    scientist.dead = true;
    if (theGame != nullptr) {
        AddLanderBurst(position, {1.0f, 0.75f, 0.0f});
        AddLanderBurst(position, {1.0f, 0.0f, 0.0f});
        theGame->particles.Add(std::make_unique<SmokeParticles>(position.x, position.y, 0.0f, 0.0f));
    }
    PlaySampleAt(SampleId::Mutant, position);
}

void Lander::Update()
{
    ticks += 1;
    SavePose();
    if (!carrying && !abducting) {
        phase += 0.01f;
        velocity.x += driftRight ? 0.025f : -0.025f;
        velocity.y += 0.035f * std::sin(3.5f * phase);
        searchTimer -= 1;
        const Player* ship = TheShip();
        if (searchTimer < 0 && ship != nullptr && ship->spawnTimer <= 0)
            Search();
    } else if (!carrying) {
        Abduct();
    }
    if (carrying) {
        if (!mutating) {
            const Vec2 d = ToShip(position);
            phase += 0.1f;
            velocity.x += 0.3f * d.x;
            velocity.y += 3.9f * std::sin(9.5f * phase) + 0.075f * d.y;
        }
        mutateTicks += 1;
        if (mutateTicks > 75)
            mutating = false;
    }
    velocity = velocity * 0.9875f;
    position += velocity;
    Vec2 n;
    if (TerrainContact(&n)) {
        velocity = velocity - 1.3f * Dot(velocity, n) * n;
        position = previousPosition + velocity + n;
    }
    WrapAcrossSeam(position, previousPosition);
    fireTimer -= 1;
    if (carrying && fireTimer <= 0) {
        fireTimer = (Random() % 4 + 1) * 25;
        if (ShipDistance(position) < kGunRange)
            FireEnemyBullet(*this, position, 4.0f * ToShip(position));
    }
    Reregister();
}

bool Lander::BeamShows() const
{
    const Scientist* scientist = target.Get();
    return !carrying && abducting && scientist != nullptr && ticks % 7 == 1 &&
           Length(scientist->position - position) < kBeamReach;
}

void Lander::Draw(float alpha)
{
    const ActorCanvas canvas = CurrentCanvas();
    if (!canvas)
        return;
    DrawActorModel(*this, carrying ? "Mutant" : "Lander", alpha, false);
    canvas.state->PushMatrix();
    const Vec2 p = Lerp2(position, previousPosition, alpha);
    canvas.state->Translate(p.x, p.y);
    DrawSink& sink = *canvas.sink;
    sink.Begin(DrawSink::Primitive::Quads);
    if (BeamShows()) {
        struct Corner {
            float s, t, x, y;
        };
        static const Corner kQuads[8] = {{0.5f, 0.5f, 0, 5},  {0.1f, 0.5f, 5, 5},  {0.2f, 0.1f, 25, 70},
                                         {0.5f, 0.1f, 0, 70}, {0.5f, 0.5f, 0, 5},  {0.1f, 0.5f, -5, 5},
                                         {0.2f, 0.1f, -25, 70}, {0.5f, 0.1f, 0, 70}};
        // Five layers over one another brighten the additive beam.
        for (int layer = 0; layer < 5; ++layer) {
            sink.Colour(1.0f, 1.0f, 1.0f);
            for (const Corner& c : kQuads) {
                sink.TexCoord(c.s, c.t);
                sink.Vertex(c.x, c.y);
            }
        }
    }
    sink.End();
    canvas.state->PopMatrix();
}

void Lander::Damage(float amount)
{
    DamageWhileAlive(amount);
}

void Lander::Die()
{
    if (dead)
        return;
    AddExplosion(position, 1.0f, 1.0f, 0.0f, 20);
    const Rgb second = carrying ? Rgb{1.0f, 0.0f, 0.0f} : Rgb{0.0f, 1.0f, 0.0f};
    AddExplosion(position, second.r, second.g, second.b, 20);
    AddShockRing(position, 30.0f, carrying ? Rgb{1.0f, 0.0f, 0.0f} : Rgb{1.0f, 1.0f, 0.0f});
    // The points are known only now: read after the kill by bonus payers.
    points = carrying ? kMutantPoints : kPoints;
    MarkDead();
    if (Scientist* scientist = target.Get())
        scientist->claimed = false;
    if (theGame != nullptr)
        theGame->PlayMediumExplosionAt(position.x, position.y);
}

Entity* Lander::Clone() const
{
    return new Lander(*this);
}
