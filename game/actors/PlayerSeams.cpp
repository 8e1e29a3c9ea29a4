// The ship's side of the level start, map load and saved game (GameShip).
#include "CheckPoint.h"
#include "Player.h"

void Player::LeaveLevel()
{
    // The ship may still stand in cells of the old grid, on one of its live
    // beams, carried by one of its platforms: it lets go of all that.
    LeaveSectors();
    carrier = nullptr;
    landedBeam = nullptr;
    landed = false;
    spawnTimer = kSpawnTicks;
}

void Player::EnterLevel()
{
    LeaveSectors();
    Spawn(0.0f, 400.0f, 0.0f);
    carrier = nullptr;
    landedBeam = nullptr;
    landed = false;
    zoom = 0.0f;
    spawnTimer = kSpawnTicks;
}

void Player::FinishLevelStart()
{
    zoom = 2.0f;
    spawnTimer = kSpawnTicks;
}

void Player::MeetClone(Entity& clone, std::int32_t templateIndex)
{
    // A checkpoint clone learns its template's place; a restart of the same
    // map keeps the current one lit while the respawn point lies there.
    auto* checkpoint = dynamic_cast<CheckPoint*>(&clone);
    if (checkpoint == nullptr)
        return;
    checkpoint->templateIndex = templateIndex;
    if (templateIndex == currentCheckPointTemplate)
        currentCheckPoint = &clone;
}

void Player::ForgetMap()
{
    respawnPoint = RespawnPoint{0.0f, 400.0f, 0.0f};
    // A checkpoint of another map is never current.
    currentCheckPoint = nullptr;
    currentCheckPointTemplate = -1;
}

void Player::SetTally(const ShipTally& tally)
{
    score = tally.score;
    lives = tally.lives;
    nextExtraLife = tally.nextExtraLife;
}
