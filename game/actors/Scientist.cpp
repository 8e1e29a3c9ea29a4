#include "Scientist.h"

#include "ActorDraw.h"
#include "Game.h"
#include "Log.h"
#include "MathUtil.h"
#include "Player.h"
#include "Random.h"
#include "Sector.h"

#include <algorithm>

namespace {

constexpr float kStep = 0.25f;           // units a tick along the beam
constexpr float kRescueDistance = 16.0f; // from the landed ship's centre
constexpr float kRepair = 15.0f;
constexpr std::int32_t kStandBelow = 100;
constexpr float kEndMargin = 2.0f;       // turns this far from an end

std::int32_t NewPeriod()
{
    return Random() % 500 + 250;
}

} // namespace

Scientist::Scientist()
{
    type = EntityTypes::Scientist;
}

void Scientist::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    animPhase = 0.0f;
    Log::Instance().Write("Scientist Spawned!\n");
    facing = Random() % 2 == 1;
    surface = nullptr;
    walkTimer = NewPeriod();
    claimed = false;
    if (theGame != nullptr)
        theGame->scientistCount += 1;
}

void Scientist::PostLoad()
{
    const HullCircle around(5.0f, position.x, position.y);
    std::vector<BeamHit> hits;
    for (Sector* sector : sectors) {
        if (sector->CollideCircle(around, hits) && !hits.empty()) {
            surface = hits.front().beam;
            Log::Instance().Write("Scientist found surface.\n");
            return;
        }
    }
    Log::Instance().Write("Scientist without a surface!\n");
}

bool Scientist::ShipOnMyBeam() const
{
    const Player* ship = theGame != nullptr ? theGame->player.get() : nullptr;
    return ship != nullptr && surface != nullptr && ship->landed && ship->landedBeam == surface;
}

void Scientist::Update()
{
    SavePose();
    walkTimer -= 1;
    if (walkTimer <= 0) {
        walkTimer = NewPeriod();
        facing = Random() % 2 == 1;
    }
    const bool shipHere = ShipOnMyBeam();
    if (shipHere)
        MeetShip(*theGame->player);
    if (walkTimer >= kStandBelow) {
        if (surface != nullptr) {
            const Vec2 step = kStep * surface->direction;
            for (int i = 0; i < (shipHere ? 2 : 1); ++i)
                position = facing ? position + step : position - step;
            if (NearEndAhead())
                facing = !facing;
        }
        animPhase += 0.1f;
    } else {
        animPhase += 0.05f;
    }
    if (animPhase >= 2.0f)
        animPhase -= 2.0f;
    Reregister();
}

bool Scientist::NearEndAhead() const
{
    // Measured along the beam, so a figure standing a little off the line
    // still walks; only the end it walks toward turns it.
    const Vec2 along = surface->b - surface->a;
    const float length = Length(along);
    const float t = Dot(position - surface->a, surface->direction);
    return facing ? t >= length - kEndMargin : t <= kEndMargin;
}

void Scientist::MeetShip(Player& ship)
{
    Vec2 forward;
    Vec2 side;
    AngleToVectors(ship.angle, forward, side);
    const Vec2 toMe = position - ship.position;
    facing = Dot(forward, Normalize(toMe.x, toMe.y)) < 0.0f;
    if (!(Length(toMe) < kRescueDistance) || dead)
        return;
    const int channel = theGame->audio.PlaySample(theGame->resources.Sample(SampleId::Scientist), false);
    theGame->PositionSound(channel, position.x, position.y);
    Die();
    ship.hull = std::min(Player::Hundredths(ship.hull + kRepair), Player::kFullHull);
}

void Scientist::Draw(float alpha)
{
    static const char* const kFrames[2][2] = {{"Scientist_03", "Scientist_04"}, {"Scientist_01", "Scientist_02"}};
    const int frame = static_cast<int>(animPhase) == 1 ? 1 : 0;
    DrawModelPose(*this, kFrames[walkTimer >= kStandBelow ? 1 : 0][frame], alpha, !facing);
}

// Indestructible.
void Scientist::Damage(float) {}

// Not solid: a contact does not count.
bool Scientist::OnContact(Entity*)
{
    return false;
}

// The rescue, once.
void Scientist::Die()
{
    if (dead)
        return;
    dead = true;
    if (theGame == nullptr || theGame->player == nullptr)
        return;
    theGame->player->scientistsRescued += 1;
    theGame->player->AddScore(250);
}

Entity* Scientist::Clone() const
{
    return new Scientist(*this);
}
