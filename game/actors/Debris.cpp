#include "Debris.h"

#include "BeamDraw.h"
#include "ActorDraw.h"
#include "EntityFactory.h"
#include "ExplosionParticles.h"
#include "DebrisParticles.h"
#include "Game.h"
#include "MathUtil.h"
#include "Random.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr float kRadiansToDegrees = 57.2957763671875f;

// A new half of a splitting piece, spawned and appended.
void AddHalf(Vec2 a, Vec2 b, Rgb colourA, Rgb colourB, const Beam& parent)
{
    Entity* made = CreateEntity(EntityTypes::Debris);
    if (made == nullptr || theGame == nullptr) {
        delete made;
        return;
    }
    auto* half = static_cast<Debris*>(made);
    half->beam = parent;
    half->beam.a = a;
    half->beam.b = b;
    half->beam.colourA = colourA;
    half->beam.colourB = colourB;
    half->beam.normal = {parent.direction.y, -parent.direction.x};
    half->Spawn(a.x, a.y, 0.0f);
    half->waiting = false;
    theGame->entities.Append(half);
}

void AddSpark(Vec2 at, Rgb colour)
{
    auto sparks = std::make_unique<DebrisParticles>(at.x, at.y, 0.0f, 0.0f);
    sparks->colour[0] = colour.r;
    sparks->colour[1] = colour.g;
    sparks->colour[2] = colour.b;
    theGame->particles.Add(std::move(sparks));
}

} // namespace

Debris::Debris()
{
    type = EntityTypes::Debris;
}

void Debris::Spawn(float x, float y, float)
{
    type = EntityTypes::Debris;
    // Facing away from the direction keeps a fresh piece as it was made (the
    // turn lays A on the side the angle points to).
    const Vec2 d = beam.direction;
    const float start = std::atan2(-d.y, -d.x) * kRadiansToDegrees;
    SpawnPose(x, y, start);
    health = 1.0f;
    EnterSectors();
    age = static_cast<std::int32_t>(Random() % 100);
    spin = (RandomFloat(30.0f) - 15.0f) * RandomFloat(1.0f);
    splitTimer = static_cast<std::int32_t>(Random() % 50) + 25;
    splits = Random() % 2 == 1;
    const float r1 = RandomFloat(4.0f);
    const float r2 = RandomFloat(4.0f);
    const float k = RandomFloat(1.0f);
    velocity = {(r2 - 2.0f) * k, (r1 - 2.0f) * k};
    slowShrink = false;
    waiting = Random() % 2 == 1;
    waitTimer = static_cast<std::int32_t>(Random() % 100);
}

void Debris::Update()
{
    splitTimer -= 1;
    if (splits && splitTimer <= 0) {
        Split();
        Die();
        return;
    }
    if (waiting) {
        waitTimer -= 1;
        if (waitTimer <= 0)
            waiting = false;
        return;
    }
    age += 1;
    previousPosition = position;
    previousAngle = angle;
    angle += spin;
    spin *= 0.999875f;

    const float shrink = slowShrink ? 0.075f : 0.25f;
    beam.a += shrink * beam.direction;
    beam.b -= shrink * beam.direction;
    beam.a += velocity;
    beam.b += velocity;
    velocity = velocity * 0.99875f;

    Vec2 f;
    Vec2 s;
    AngleToVectors(angle, f, s);
    const Vec2 c = beam.a + (beam.b - beam.a) * 0.5f;
    const float toA = Length(beam.a - c);
    const float toB = Length(beam.b - c);
    beam.a = c + toA * f;
    beam.b = c - toB * f;
    beam.direction = Normalize(beam.b.x - beam.a.x, beam.b.y - beam.a.y);
    beam.normal = {beam.direction.y, -beam.direction.x};

    if (Length(beam.a - beam.b) < 1.0f) {
        Die();
        return;
    }
    if (age % 10 == 0 && theGame != nullptr) {
        AddSpark(beam.a, beam.colourA);
        AddSpark(beam.b, beam.colourB);
    }
}

void Debris::Split()
{
    const float length = Length(beam.a - beam.b);
    const Vec2 m = 0.5f * (beam.a + beam.b);
    const float mixA[3] = {beam.colourA.r, beam.colourA.g, beam.colourA.b};
    const float mixB[3] = {beam.colourB.r, beam.colourB.g, beam.colourB.b};
    float mixed[3];
    Lerp3(mixA, mixB, 0.5f, mixed);
    const Rgb mc{mixed[0], mixed[1], mixed[2]};
    const Beam parent = beam;
    AddHalf(parent.a, m, parent.colourA, mc, parent);
    AddHalf(m, parent.b, mc, parent.colourB, parent);
    if (theGame == nullptr)
        return;
    const float flash = std::min(std::trunc(length) + 1.0f, 20.0f);
    auto burst = std::make_unique<ExplosionParticles>(m.x, m.y, 0.0f, 0.0f);
    burst->Start(m.x, m.y, 0.0f, 0.0f, mc.r, mc.g, mc.b, 0.0f, 0.0f, 0.0f, static_cast<std::int32_t>(flash));
    theGame->particles.Add(std::move(burst));
    theGame->PlaySmallExplosionAt(m.x, m.y);
}

void Debris::Draw(float)
{
    const ActorCanvas canvas = CurrentCanvas();
    if (!canvas)
        return;
    canvas.sink->Begin(DrawSink::Primitive::Quads);
    EmitBeamQuads(*canvas.sink, beam);
    canvas.sink->End();
}

// Not solid: a contact does not count.
bool Debris::OnContact(Entity*)
{
    return false;
}

void Debris::Die()
{
    dead = true;
}

Entity* Debris::Clone() const
{
    return new Debris(*this);
}

void Debris::BuildHull()
{
    shapes.emplace_back(kDebrisHullRadius, position.x, position.y);
}
