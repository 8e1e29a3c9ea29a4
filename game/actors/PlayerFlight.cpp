// The ship's tick: the order of its steps, the controls, flight, the camera,
// the wrap, the grid registration and firing.
#include "Player.h"

#include "Game.h"
#include "MathUtil.h"
#include "PlayerShot.h"
#include "Projectile.h"
#include "ThrustParticles.h"

namespace {

constexpr float kDt = 0.02f;
constexpr float kRadiansToDegrees = 57.2957763671875f;

std::uint32_t ButtonState(const Game& game, ButtonIndex button) { return game.input.Button(button).key.state; }
bool Held(const Game& game, ButtonIndex button) { return ButtonState(game, button) == KeyState::Held; }
bool IsUp(const Game& game, ButtonIndex button) { return ButtonState(game, button) == KeyState::Up; }

} // namespace

void Player::Update()
{
    if (theGame == nullptr)
        return;
    Game& game = *theGame;

    AwardExtraLife();
    if (hitCooldown > 0)
        hitCooldown -= 1;
    if (spawnTimer > 0)
        spawnTimer -= 1;
    if (spawnTimer <= 0 && !dying && zoom > 0.75f) {
        zoom -= kDt * 0.5f;
        if (zoom < 0.75f)
            zoom = 0.75f;
    }
    if (fuel > kFullFuel)
        fuel = kFullFuel;
    if (fuel < 0.0f)
        fuel = 0.0f;
    if (hull > kFullHull)
        hull = kFullHull;
    if (hull < 0.0f)
        hull = 0.0f;

    const Vec2 carrierMove = landed ? position - previousPosition : Vec2{};
    previousPosition = position;
    previousCamera = camera;
    previousAngle = angle;

    if (dying || IsUp(game, ButtonBoost) || landed || IsUp(game, ButtonShield)) {
        for (int loop = 0; loop < 2; ++loop) {
            if (loopSoundsOn[loop]) {
                loopSoundsOn[loop] = false;
                game.audio.SetChannelVolume(loop, 0);
            }
        }
    }

    if (dying && spawnTimer <= 0) {
        RunDeathSequence(carrierMove);
        return;
    }
    if (position.y < 10.0f) {
        RunLevelEnd();
        return;
    }

    game.missionState.leavingOrbit = position.y < 350.0f;
    if (redShieldTimer > 0)
        redShieldTimer -= 1;
    // The axes of the angle before this tick's turning serve the whole tick.
    const float axesAngle = angle;
    Vec2 f;
    Vec2 s;
    AngleToVectors(axesAngle, f, s);
    Fly(carrierMove, f, s);

    if (spawnTimer <= 0 && !landed && !shieldOn)
        Fire(s);

    TerrainPass(f, s, axesAngle);
    velocity = velocity * 0.9885f;
    ContactPass(s);
}

void Player::Fly(Vec2 carrierMove, Vec2 f, Vec2 s)
{
    Game& game = *theGame;
    if (spawnTimer <= 0) {
        if (landed && landedBeam != nullptr) {
            angle += Dot(landedBeam->normal, f) * kRadiansToDegrees;
            if (fuel <= 0.0f)
                Damage(100.0f);
        }
        if (ButtonState(game, ButtonBoost) == KeyState::Pressed && fuel > 0.0f && landed) {
            landed = false;
            velocity -= s;
            position += 2.0f * velocity;
            previousPosition += 2.0f * velocity;
            ReleaseCarrier();
            carrier = nullptr;
            landedBeam = nullptr;
        }
        spin *= 0.93f;
        if (spin > -10.0f && spin < 10.0f)
            spin = 0.0f;
        if (!landed) {
            if (Held(game, ButtonCw))
                angle -= 7.0f;
            if (Held(game, ButtonCcw))
                angle += 7.0f;
            angle = angle + game.input.mouseMotion.x + spin;
            if (angle >= 360.0f) {
                angle -= 360.0f;
                previousAngle -= 360.0f;
            }
            if (angle < 0.0f) {
                angle += 360.0f;
                previousAngle += 360.0f;
            }
            if (Held(game, ButtonBoost)) {
                if (!loopSoundsOn[0]) {
                    loopSoundsOn[0] = true;
                    game.audio.SetChannelVolume(0, 128);
                }
                if (fuel > 0.0f) {
                    velocity -= 0.2f * s;
                    if (ThrustParticles* exhaust = thrustParticles.Get()) {
                        const Vec2 left = position + 9.0f * s + 4.0f * f;
                        const Vec2 right = position + 9.0f * s - 4.0f * f;
                        const Vec2 leftJet = s + 0.5f * f;
                        const Vec2 rightJet = s - 0.5f * f;
                        exhaust->Emit(left.x, left.y, leftJet.x, leftJet.y, 4);
                        exhaust->Emit(right.x, right.y, rightJet.x, rightJet.y, 4);
                    }
                }
                fuel = Hundredths(fuel - 0.125f);
            }
            velocity += game.gravity;
            if (Held(game, ButtonShield)) {
                if (!loopSoundsOn[1]) {
                    loopSoundsOn[1] = true;
                    game.audio.SetChannelVolume(1, 128);
                }
                if (fuel > 0.0f && !shieldOn)
                    shieldOn = true;
                shieldAngle += 9.0f;
                fuel = Hundredths(fuel - 0.2f);
            }
            if (nearGround) {
                if (legAngle < 0.0f)
                    legAngle += 10.0f;
                if (legAngle > 0.0f)
                    legAngle = 0.0f;
            } else {
                if (legAngle > -90.0f)
                    legAngle -= 5.0f;
                if (legAngle < -90.0f)
                    legAngle = -90.0f;
            }
        }
        if (shieldOn && (IsUp(game, ButtonShield) || landed || fuel <= 0.0f))
            shieldOn = false;
        position += velocity;
    }

    const Vec2 c = game.screenCentre;
    FollowCamera(carrierMove, 1.875f * c.x, 0.625f * c.x, c.y, c.y - c.y * 0.16666667f);

    const float bottom = game.sectorGrid.worldHeight - (game.screenSize.y + 975.0f) * 1.1f;
    if (camera.y > bottom)
        camera.y = previousCamera.y = bottom;
    if (camera.y < -game.screenSize.y)
        camera.y = previousCamera.y = -game.screenSize.y;

    const float w = game.WorldWidth();
    if (position.x < 0.0f) {
        position.x += w;
        previousPosition.x += w;
        camera.x += w;
        previousCamera.x += w;
    }
    if (position.x >= w) {
        position.x -= w;
        previousPosition.x -= w;
        camera.x -= w;
        previousCamera.x -= w;
    }
    RegisterInGrid();
}

void Player::FollowCamera(Vec2 carrierMove, float right, float left, float below, float above)
{
    if (position.x >= camera.x + right) {
        if (landed)
            camera.x += carrierMove.x;
        if (velocity.x > 0.0f)
            camera.x += velocity.x;
    }
    if (position.x <= camera.x + left) {
        if (landed)
            camera.x += carrierMove.x;
        if (velocity.x < 0.0f)
            camera.x += velocity.x;
    }
    if (position.y >= camera.y + below) {
        if (landed)
            camera.y += carrierMove.y;
        if (velocity.y > 0.0f)
            camera.y += velocity.y;
    }
    if (position.y <= camera.y + above) {
        if (landed)
            camera.y += carrierMove.y;
        if (velocity.y < 0.0f)
            camera.y += velocity.y;
    }
}

void Player::RegisterInGrid()
{
    PlaceShapes(position.x, position.y);
    RotateShapes(angle);
    // A wide circle for the registration only: actors within reach find the ship.
    shapes.emplace_back(kSectorReach, position.x, position.y);
    LeaveSectors();
    EnterSectors();
    shapes.pop_back();
}

void Player::Fire(Vec2 s)
{
    Game& game = *theGame;
    if (fireCooldown > 0)
        fireCooldown -= 1;
    if (!Held(game, ButtonFire) || fireCooldown > 0)
        return;
    fireCooldown = kFireCooldownTicks;
    Projectile* shot = CreateProjectile(0);
    if (shot == nullptr)
        return;
    shot->owner = this;
    const Vec2 from = position - 5.0f * s;
    const Vec2 speed = velocity - 10.0f * s;
    shot->Spawn(from.x, from.y, speed.x, speed.y, angle);
    game.playerShots.push_back(shot);
    const int channel = game.audio.PlaySample(game.resources.Sample(SampleId::PlayerLaser), false);
    game.audio.SetChannelPosition(channel, 0, 0);
}
