#include "Player.h"

#include "Game.h"
#include "Log.h"
#include "MathUtil.h"

Player::Player() { type = EntityTypes::Player; }

void Player::Spawn(float, float, float)
{
    // The ship always appears at its respawn point.
    position = previousPosition = {respawnPoint.x, respawnPoint.y};
    angle = previousAngle = respawnPoint.angle;
    ResetShapes();
    velocity = {};
    const Vec2 centre = theGame != nullptr ? theGame->screenCentre : Vec2{};
    camera = previousCamera = position - centre;
    Log::Instance().Write("Player Spawned!\n");
    fireCooldown = 0;
    zoom = 2.0f;
    spawnTimer = 200;
    dying = false;
    scientistsRescued = 0;
    redShieldTimer = 0;
    fuel = 300.0f;
    hull = 100.0f;
    spin = 0.0f;
    shieldOn = false;
    shieldAngle = 0.0f;
    loopSoundsOn[0] = loopSoundsOn[1] = false;
    legAngle = -90.0f;
    nearGround = false;
    hitCooldown = 0;
    hitsThisTick = 0;
}

void Player::Update()
{
    // Flight, controls and collisions join here; the ship already keeps its
    // pose history and its place in the grid.
    SavePose();
    PlaceShapes(position.x, position.y);
    RotateShapes(angle);
    LeaveSectors();
    if (theGame != nullptr)
        theGame->sectorGrid.SectorsForCircle(HullCircle(kSectorReach, position.x, position.y), sectors);
    for (Sector* sector : sectors)
        sector->entities.push_back(this);
}

void Player::Draw(float) {}

// The ship is never solid to what it touches.
bool Player::OnContact(Entity*) { return false; }

void Player::Die()
{
    if (dying)
        return;
    dying = true;
}

Entity* Player::Clone() const { return new Player(*this); }

void Player::BuildHull()
{
    shieldShapes.clear();
    Entity::BuildHull();
    AppendModelHull("PlayerShield", shieldShapes);
}

bool Player::LeavesCarrier()
{
    if (landed)
        return false;
    carrier = nullptr;
    return true;
}

void Player::PlaceShapes(float x, float y)
{
    for (HullCircle& c : shapes) {
        c.x = x + c.offsetX;
        c.y = y + c.offsetY;
    }
    for (HullCircle& c : shieldShapes) {
        c.x = x + c.offsetX;
        c.y = y + c.offsetY;
    }
}

void Player::RotateShapes(float degrees)
{
    Vec2 u;
    Vec2 v;
    AngleToVectors(degrees + 90.0f, u, v);
    for (std::vector<HullCircle>* list : {&shapes, &shieldShapes}) {
        for (HullCircle& c : *list) {
            c.x = position.x + u.x * c.offsetY + v.x * c.offsetX;
            c.y = position.y + u.y * c.offsetY + v.y * c.offsetX;
        }
    }
}

void Player::ResetStats()
{
    score = 0;
    lives = 3;
    currentCheckPoint = nullptr;
    carrier = nullptr;
    if (theGame != nullptr)
        theGame->gravity = {0.0f, 0.04f};
    fireCooldown = 0;
    nextExtraLife = 20000;
}
