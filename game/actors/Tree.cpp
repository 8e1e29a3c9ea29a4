#include "Tree.h"

#include "ActorDraw.h"
#include "Game.h"
#include "Log.h"
#include "MathUtil.h"
#include "Wreckage.h"

namespace {

const char* const kTreeModels[] = {"Tree01", "Tree02", "Tree03", "Tree04", "Tree05", "Tree06"};

} // namespace

Tree::Tree()
{
    type = EntityTypes::TreeFirst;
}

void Tree::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Tree Spawned!\n");
    health = 1.0f;
    points = 15;
}

void Tree::Update()
{
    SavePose();
}

void Tree::Draw(float alpha)
{
    if (type < EntityTypes::TreeFirst || type > EntityTypes::TreeLast)
        return;
    DrawModelPose(*this, kTreeModels[type - EntityTypes::TreeFirst], alpha);
}

void Tree::Damage(float amount)
{
    DamageWhileAlive(amount);
}

// Not solid: a contact does not count.
bool Tree::OnContact(Entity*)
{
    return false;
}

std::int32_t Tree::BurstCount(EntityType type)
{
    if (type == EntityTypes::TreeFirst)
        return 10;
    return type <= EntityTypes::TreeFirst + 2 ? 20 : 30;
}

Rgb Tree::BurstColour(EntityType type)
{
    return type == EntityTypes::TreeFirst + 4 ? Rgb{0.7f, 0.4f, 0.1f} : Rgb{0.3f, 1.0f, 0.3f};
}

// Once: a burst of leaves (or bark) from its top, 15 points.
void Tree::Die()
{
    if (dead)
        return;
    Vec2 forward;
    Vec2 side;
    AngleToVectors(angle, forward, side);
    const Rgb colour = BurstColour(type);
    AddExplosion(position - 10.0f * side, colour.r, colour.g, colour.b, BurstCount(type));
    MarkDead(); // pays the 15 points
    if (theGame != nullptr)
        theGame->PlaySmallExplosionAt(position.x, position.y);
}

Entity* Tree::Clone() const
{
    return new Tree(*this);
}
