#include "Mover.h"

#include "BoxRegistration.h"
#include "Log.h"

Mover::Mover()
{
    type = EntityTypes::Mover;
}

void Mover::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Mover Spawned!\n");
}

void Mover::Update()
{
    SavePose();
}

void Mover::Draw(float) {}

// Indestructible.
void Mover::Damage(float) {}

// Not solid: a contact does not count.
bool Mover::OnContact(Entity*)
{
    return false;
}

// It never dies by itself.
void Mover::Die() {}

Entity* Mover::Clone() const
{
    return new Mover(*this);
}

void Mover::Link(std::vector<Beam>&, EntityList&)
{
    // The platform's own behaviour comes with its class.
}

void Mover::EnterSectors()
{
    EnterSectorsByBox(*this, def.area);
}

void Mover::PostLoad()
{
    LeaveSectors();
    EnterSectors();
}

void Mover::MoveArea(Vec2 offset)
{
    def.area.SetCentre(def.area.centre.x + offset.x, def.area.centre.y + offset.y);
}
