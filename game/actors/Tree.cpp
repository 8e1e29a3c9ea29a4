#include "Tree.h"

#include "Log.h"

Tree::Tree()
{
    type = EntityTypes::TreeFirst;
}

void Tree::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Tree Spawned!\n");
}

void Tree::Update()
{
    SavePose();
}

void Tree::Draw(float) {}

void Tree::Damage(float amount)
{
    DamageWhileAlive(amount);
}

// Not solid: a contact does not count.
bool Tree::OnContact(Entity*)
{
    return false;
}

void Tree::Die()
{
    MarkDead();
}

Entity* Tree::Clone() const
{
    return new Tree(*this);
}
