#include "CheckPoint.h"

#include "ActorDraw.h"
#include "Game.h"
#include "Log.h"
#include "MathUtil.h"
#include "Player.h"
#include "PlayModeLinks.h"

CheckPoint::CheckPoint()
{
    type = EntityTypes::CheckPoint;
}

void CheckPoint::Spawn(float x, float y, float angle)
{
    homePosition = {x, y};
    homeAngle = angle;
    SpawnPose(x, y, angle);
    animPhase = 0.0f;
    Log::Instance().Write("CheckPoint Spawned!\n");
}

// A platform may have moved it before the level's first tick.
void CheckPoint::PostLoad()
{
    homePosition = position;
    homeAngle = angle;
}

void CheckPoint::Update()
{
    SavePose();
    animPhase += 0.1f;
    if (animPhase >= 2.0f)
        animPhase -= 2.0f;
}

bool CheckPoint::IsCurrent() const
{
    return theGame != nullptr && theGame->player != nullptr && theGame->player->currentCheckPoint == this;
}

void CheckPoint::Draw(float alpha)
{
    static const char* const kFrames[2][2] = {{"CheckPoint01", "CheckPoint02"}, {"CheckPoint03", "CheckPoint04"}};
    const int frame = static_cast<int>(animPhase) == 1 ? 1 : 0;
    DrawModelPose(*this, kFrames[IsCurrent() ? 1 : 0][frame], alpha);
}

// Indestructible.
void CheckPoint::Damage(float) {}

// Never a collision: touched by the ship it becomes its respawn point.
bool CheckPoint::OnContact(Entity* other)
{
    if (other == nullptr || other->type != EntityTypes::Player || theGame == nullptr || theGame->player == nullptr)
        return false;
    Player& ship = *theGame->player;
    if (&ship != other)
        return false;
    Vec2 forward;
    Vec2 side;
    AngleToVectors(homeAngle, forward, side);
    if (!IsCurrent())
        PlayCentred(*theGame, SampleId::DeActivate);
    ship.respawnPoint = RespawnPoint{homePosition.x - 3.0f * side.x, homePosition.y - 3.0f * side.y, homeAngle};
    ship.currentCheckPoint = this;
    ship.currentCheckPointTemplate = templateIndex;
    return false;
}

// It never dies by itself.
void CheckPoint::Die() {}

Entity* CheckPoint::Clone() const
{
    return new CheckPoint(*this);
}
