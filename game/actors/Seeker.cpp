#include "Seeker.h"

#include "EnemyActions.h"
#include "Entity.h"
#include "ExplosionParticles.h"
#include "Game.h"
#include "MathUtil.h"
#include "Player.h"
#include "Random.h"
#include "SmokeParticles.h"
#include "Trail.h"
#include "Wreckage.h"

#include <memory>

void Seeker::Spawn(float x, float y, float vx, float vy, float degrees)
{
    Launch(2, {x, y}, {vx, vy}, degrees, kLife, kDamage);
    if (theGame == nullptr)
        return;
    theGame->particles.Add(std::make_unique<SmokeParticles>(x, y, 0.0f, 0.0f));
    trail = theGame->ribbons.Add(std::make_unique<Trail>(x, y, kColour.r, kColour.g, kColour.b));
}

void Seeker::Burst()
{
    dead = true;
    AddExplosion(position, kColour.r, kColour.g, kColour.b, 10);
    if (theGame != nullptr)
        theGame->PlaySmallExplosionAt(position.x, position.y);
}

void Seeker::Update()
{
    if (Expire())
        Burst();
    Move();
    previousAngle = angle;
    Vec2 f;
    Vec2 s;
    AngleToVectors(angle, f, s);
    const Player* ship = TheShip();
    if (ship != nullptr && !ship->dying)
        angle += Dot(f, ToShip(position)) >= 0.0f ? kTurn : -kTurn;
    AngleToVectors(angle, f, s);
    velocity -= 0.7f * s;
    velocity = velocity * 0.95f;
    Trail* ribbon = trail.Get();
    if (theGame != nullptr && theGame->tickCount % 2 == 0 && ribbon != nullptr) {
        const Vec2 at = position + 4.0f * s;
        ribbon->Emit(at.x, at.y, kColour.r, kColour.g, kColour.b);
    }
    const float shift = Wrap();
    if (shift != 0.0f && ribbon != nullptr)
        ribbon->Translate(shift, 0.0f);
    Vec2 point;
    Vec2 normal;
    if (WalkTerrain(point, normal))
        Burst();
    if (theGame != nullptr && theGame->mode == GameMode::Play) {
        Entity* victim = FindVictim();
        if (victim != nullptr && owner != victim)
            Strike(*victim);
    }
    Reregister();
}

void Seeker::Strike(Entity& victim)
{
    if (victim.type == EntityTypes::Player) {
        auto& ship = static_cast<Player&>(victim);
        if (!ship.dying && ship.spawnTimer <= 0) {
            if (!ship.landed)
                ship.spin = static_cast<float>(Random() % 80 - 40);
            if (!ship.shieldOn)
                ship.Damage(damage);
            else
                ship.redShieldTimer = 5;
            ship.velocity += 7.0f * ToShip(position);
        }
    } else {
        const bool wasAlive = !victim.dead;
        victim.Damage(kActorDamage);
        PayKillBonus(victim, wasAlive, 2, position);
    }
    Burst();
}

void Seeker::Draw(float alpha) { DrawModel("Seeker", alpha); }
