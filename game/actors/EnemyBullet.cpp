#include "EnemyBullet.h"

#include "EnemyActions.h"
#include "Entity.h"
#include "Game.h"
#include "MathUtil.h"
#include "Player.h"
#include "PuffParticles.h"
#include "Random.h"

#include <memory>

namespace {

void PuffAndSound(Vec2 at)
{
    if (theGame != nullptr)
        theGame->particles.Add(std::make_unique<PuffParticles>(at.x, at.y, 0.0f, 0.0f));
    PlaySampleAt(SampleId::Hitsound2, at);
}

} // namespace

void EnemyBullet::Spawn(float x, float y, float vx, float vy, float degrees)
{
    Launch(1, {x, y}, {vx, vy}, degrees, kLife, kDamage);
    reflected = false;
    const Player* ship = TheShip();
    rightOfPlayer = ship != nullptr && x > ship->position.x;
}

void EnemyBullet::End()
{
    dead = true;
    PuffAndSound(position);
}

void EnemyBullet::Update()
{
    if (Expire())
        PuffAndSound(position);
    Move();
    const float spin = reflected ? kReflectedSpin : kSpin;
    previousAngle = angle;
    angle += rightOfPlayer ? -spin : spin;
    Wrap();
    if (WalkTerrainWithSparks())
        PlaySampleAt(SampleId::Hitsound2, position);
    Entity* victim = FindVictim();
    if (victim != nullptr && owner != victim) {
        if (victim->type == EntityTypes::Player) {
            auto& ship = *static_cast<Player*>(victim);
            if (ship.dying || ship.spawnTimer > 0)
                End();
            else if (ship.shieldOn)
                ReflectOffShield(ship);
            else
                HitShip(ship);
        } else if (!reflected) {
            End();
        } else {
            const bool wasAlive = !victim->dead;
            victim->Damage(damage);
            PayKillBonus(*victim, wasAlive, 1, position);
            End();
        }
    }
    Reregister();
}

void EnemyBullet::HitShip(Player& ship)
{
    if (!ship.landed)
        ship.spin = static_cast<float>(Random() % 80 - 40);
    ship.Damage(damage);
    ship.velocity += 7.0f * ToShip(position);
    End();
}

void EnemyBullet::ReflectOffShield(Player& ship)
{
    // From the bullet to the ship's own position; on the ship itself, back
    // the way the bullet came (a zero velocity keeps the copy's motion).
    Vec2 n = Normalize(ship.position.x - position.x, ship.position.y - position.y);
    if (n == Vec2{})
        n = Normalize(-velocity.x, -velocity.y);
    const Vec2 v = Reflect(velocity, n, 1.0f);
    auto* copy = new EnemyBullet();
    copy->Spawn(position.x, position.y, v.x, v.y, angle);
    copy->owner = &ship;
    copy->reflected = true;
    copy->damage = kReflectedDamage;
    if (theGame != nullptr)
        theGame->playerShots.push_back(copy);
    else
        delete copy;
    ship.AddScore(10);
    ship.redShieldTimer = 5;
    PlaySampleAt(SampleId::ShieldReflect, position);
    End();
}

void EnemyBullet::Draw(float alpha) { DrawModel(reflected ? "EnemyBullet02" : "EnemyBullet01", alpha); }
