// The ship against other actors: the contact pass, the damage rules with
// their immunity windows and the two hull tests that actors use.
#include "Player.h"

#include "Collision.h"
#include "Game.h"
#include "Line.h"
#include "MathUtil.h"
#include "PuffParticles.h"
#include "Sector.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// The first of the given circles that overlaps one of the hull: the unit
// vector from it to the hull circle ((0, 0) for coincident centres).
bool FirstOverlap(const std::vector<HullCircle>& given, const std::vector<HullCircle>& hull, Vec2* normalOut)
{
    for (const HullCircle& c : given) {
        for (const HullCircle& k : hull) {
            if (!CirclesOverlap(c, k))
                continue;
            if (normalOut != nullptr)
                *normalOut = Normalize(k.x - c.x, k.y - c.y);
            return true;
        }
    }
    return false;
}

// Actors whose contact the pass asks but never handles.
bool PassesThrough(EntityType type)
{
    return type == EntityTypes::Rotator || type == EntityTypes::Mover || type == EntityTypes::Laser;
}

} // namespace

bool Player::CollideShapes(const std::vector<HullCircle>& circles, Vec2* normalOut)
{
    return !dying && FirstOverlap(circles, shapes, normalOut);
}

bool Player::CollideShield(const std::vector<HullCircle>& circles, Vec2* normalOut) const
{
    return !dying && FirstOverlap(circles, shieldShapes, normalOut);
}

void Player::Damage(float amount)
{
    const Game* game = theGame;
    if (dying || spawnTimer > 0)
        return;
    if (game != nullptr) {
        if (game->missionState.aborted || game->missionState.completed)
            return;
        if (hitCooldown > 0 && !game->selfDestruct.detonated)
            return;
    } else if (hitCooldown > 0) {
        return;
    }
    if (fuel <= 0.0f)
        amount = 100.0f;
    hull = Hundredths(hull - amount);
    ReleaseCarrier();
    carrier = nullptr;
    landedBeam = nullptr;
    landed = false;
    hitCooldown = kHitCooldownTicks;
    if (hull <= 0.0f)
        Die();
}

void Player::ContactPass(Vec2 s)
{
    if (sectors.empty()) {
        TouchBegins(ticksSinceActorTouch, false);
        return;
    }
    for (std::size_t si = 0; si < sectors.size(); ++si) {
        Sector* sector = sectors[si];
        for (Entity* other : sector->Entities()) {
            if (other == this)
                continue;
            Vec2 normal;
            const std::vector<HullCircle> hull = shapes;
            if (!other->CollideShapes(hull, &normal))
                continue;
            if (!other->OnContact(this))
                continue;
            if (PassesThrough(other->type))
                continue;

            if (other->type == EntityTypes::Mine)
                Damage(75.0f);
            else if (other->type == EntityTypes::Missile)
                Damage(15.0f);
            if (other->type == EntityTypes::Brick) {
                velocity = Vec2{} - velocity;
            } else {
                if (Length(normal) == 0.0f)
                    normal = s;
                if (landed)
                    velocity = 5.0f * (landedBeam != nullptr ? landedBeam->normal : s);
                const float k = Dot(velocity, normal) * 1.5f;
                velocity -= k * normal;
                velocity -= 2.5f * normal;
                if (other->type == EntityTypes::Missile)
                    velocity -= 5.0f * normal;
            }
            position += velocity;
            if (angle != previousAngle)
                angle = previousAngle;
            landed = false;
            other->Damage(2.5f);
            if (carrier) {
                ReleaseCarrier();
                carrier = nullptr;
                landedBeam = nullptr;
            }
            const float speed = Length(velocity);
            Damage(shieldOn ? 0.5f * speed + 5.0f : speed + 10.0f);
            const Line towardOther(position, other->position);
            for (const HullCircle& c : shapes) {
                Vec2 q;
                if (SegmentCircleIntersection(towardOther, c, &q))
                    theGame->particles.Add(std::make_unique<PuffParticles>(q.x, q.y, 0.0f, 0.0f));
            }
            if (shieldOn)
                redShieldTimer = 5;
            if (TouchBegins(ticksSinceActorTouch, true))
                ImpactSound();
            return;
        }
    }
    TouchBegins(ticksSinceActorTouch, false);
}

bool Player::TouchBegins(std::int32_t& ticksSinceTouch, bool touching)
{
    const bool begins = touching && ticksSinceTouch >= kHitCooldownTicks;
    ticksSinceTouch = touching ? 0 : std::min(ticksSinceTouch + 1, kHitCooldownTicks);
    return begins;
}
