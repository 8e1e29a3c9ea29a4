#include "Switch.h"

#include "ActorDraw.h"
#include "Game.h"
#include "Log.h"
#include "MapData.h"
#include "PlatformCarry.h"
#include "ResourceTables.h"

#include <cstring>

Switch::Switch()
{
    type = EntityTypes::Switch;
}

void Switch::Spawn(float x, float y, float a)
{
    SpawnPose(x, y, a);
    pressed = false;
    cooldown = 0;
    Log::Instance().Write("Switch Spawned!\n");
}

void Switch::Update()
{
    SavePose();
    if (cooldown >= 1)
        --cooldown;
}

void Switch::Draw(float alpha)
{
    DrawModelPose(*this, pressed ? "Button02" : "Button01", alpha);
}

void Switch::Fire()
{
    pressed = true;
    if (!ActivateIdleNamed(name, this, this)) {
        pressed = false;
        cooldown = 0;
        return;
    }
    if (theGame == nullptr)
        return;
    Game& game = *theGame;
    const int channel = game.audio.PlaySample(game.resources.Sample(SampleId::Activate), false);
    game.PositionSound(channel, position.x, position.y);
}

void Switch::Damage(float)
{
    if (!pressed)
        Fire();
}

bool Switch::OnContact(Entity* other)
{
    if (!pressed && other != nullptr && (other->type == EntityTypes::Player || other->type == EntityTypes::Laser))
        Fire();
    return true;
}

void Switch::Activate(Entity*)
{
    if (cooldown != 0)
        return;
    pressed = !pressed;
    cooldown = kCooldownTicks;
}

// It never dies by itself.
void Switch::Die() {}

Entity* Switch::Clone() const
{
    return new Switch(*this);
}

void Switch::ReadMapRecord(const ActorRecord& record)
{
    std::memcpy(name, record.name, sizeof name);
}
