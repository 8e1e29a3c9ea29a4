#include "TriggerAction.h"

#include "BoxRegistration.h"
#include "Collision.h"
#include "Log.h"
#include "PlatformCarry.h"

TriggerAction::TriggerAction()
{
    type = EntityTypes::TriggerAction;
}

void TriggerAction::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    fired = false;
    Log::Instance().Write("Trigger Spawned!\n");
}

void TriggerAction::Update()
{
    SavePose();
}

void TriggerAction::Draw(float) {}

// Indestructible.
void TriggerAction::Damage(float) {}

// The ship's touch fires the zone; it passes through untouched.
bool TriggerAction::OnContact(Entity* other)
{
    if (other != nullptr && other->type == EntityTypes::Player)
        Fire();
    return false;
}

void TriggerAction::Fire()
{
    if (fired)
        return;
    Log::Instance().Write("Trigger Activated!\n");
    // A one-shot zone is never handed back: it is gone.
    if (!ActivateIdleNamed(def.activateName, this, def.once ? nullptr : this))
        return;
    fired = true;
    if (def.once)
        dead = true;
}

bool TriggerAction::CollideShapes(const std::vector<HullCircle>& circles, Vec2*)
{
    for (const HullCircle& c : circles) {
        if (CircleIntersectsRect(c, def.area))
            return true;
    }
    return false;
}

void TriggerAction::Activate(Entity*)
{
    fired = false;
}

// It never dies by itself.
void TriggerAction::Die() {}

Entity* TriggerAction::Clone() const
{
    return new TriggerAction(*this);
}

void TriggerAction::EnterSectors()
{
    EnterSectorsByBox(*this, def.area);
}

void TriggerAction::PostLoad()
{
    LeaveSectors();
    EnterSectors();
}

void TriggerAction::MoveArea(Vec2 offset)
{
    def.area.SetCentre(def.area.centre.x + offset.x, def.area.centre.y + offset.y);
}
