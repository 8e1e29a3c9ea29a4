#include "TriggerAction.h"

#include "BoxRegistration.h"
#include "Log.h"

TriggerAction::TriggerAction()
{
    type = EntityTypes::TriggerAction;
}

void TriggerAction::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Trigger Spawned!\n");
}

void TriggerAction::Update()
{
    SavePose();
}

void TriggerAction::Draw(float) {}

// Indestructible.
void TriggerAction::Damage(float) {}

// Not solid: a contact does not count.
bool TriggerAction::OnContact(Entity*)
{
    return false;
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
