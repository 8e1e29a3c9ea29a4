#include "BlueTank.h"

#include "Collision.h"
#include "EnemyActions.h"
#include "Line.h"
#include "Log.h"
#include "MathUtil.h"
#include "Random.h"

BlueTank::BlueTank()
{
    type = EntityTypes::BlueTank;
}

void BlueTank::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    frame = 0.0f;
    Log::Instance().Write("BlueTank Spawned!\n");
    towardB = Random() % 2 != 0;
    surface = nullptr;
    speed = 0.0f;
    accelerating = true;
    health = 1.0f;
    fireTimer = (Random() % 2 + 5) * 50;
    shotCount = 0;
    points = kPoints;
}

void BlueTank::PostLoad()
{
    surface = FirstBeamMet(sectors, 5.0f, position);
    Log::Instance().Write(surface != nullptr ? "BlueTank found surface.\n" : "BlueTank without a surface!\n");
}

void BlueTank::Crawl()
{
    const Vec2 u = surface->direction;
    speed += accelerating ? 0.05f : -0.1f;
    if (speed > kTopSpeed)
        speed = kTopSpeed;
    if (speed <= 0.0f) {
        speed = 0.0f;
        towardB = !towardB;
        accelerating = true;
    }
    const float sigma = towardB ? 1.0f : -1.0f;
    position += sigma * speed * u;
    // Brakes once the point 50 ahead leaves the beam shortened by 2 at each end.
    const Vec2 probe = position + sigma * 50.0f * u;
    const Line track(surface->a + 2.0f * u, surface->b - 2.0f * u);
    if (!PointNearSegment(track, HullCircle(2.0f, probe.x, probe.y)))
        accelerating = false;
}

void BlueTank::Update()
{
    SavePose();
    if (surface != nullptr)
        Crawl();
    frame += towardB ? -0.1f : 0.1f;
    if (frame >= 3.0f)
        frame -= 3.0f;
    if (frame < 0.0f)
        frame += 3.0f;
    Reregister();

    fireTimer -= 1;
    if (fireTimer > 0)
        return;
    if (shotCount >= 5) {
        fireTimer = (Random() % 2 + 3) * 50;
        shotCount = 0;
    } else {
        fireTimer = 25;
    }
    FireBulletFromBarrel(*this, 25.0f);
    shotCount += 1;
}

const char* BlueTank::FrameModel() const
{
    switch (static_cast<int>(frame)) {
    case 1: return "BlueTank_02";
    case 2: return "BlueTank_03";
    default: return "BlueTank_01";
    }
}

void BlueTank::Draw(float alpha) { DrawActorModel(*this, FrameModel(), alpha); }

void BlueTank::Damage(float amount)
{
    DamageWhileAlive(amount);
}

void BlueTank::Die()
{
    if (dead)
        return;
    const Vec2 at = position;
    MarkDead();
    GunBursts(at, {{0.2f, 1.0f, 1.0f}, {0.0f, 0.2f, 1.0f}, {1.0f, 1.0f, 1.0f}}, {0.0f, 1.0f, 1.0f});
}

Entity* BlueTank::Clone() const
{
    return new BlueTank(*this);
}
