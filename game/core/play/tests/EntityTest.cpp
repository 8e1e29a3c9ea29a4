#include "Entity.h"
#include "EntityFactory.h"
#include "EntityList.h"
#include "WorldFixture.h"

#include "Brick.h"
#include "Debris.h"
#include "Laser.h"
#include "LogCapture.h"
#include "Missile.h"
#include "Mover.h"
#include "Player.h"
#include "Rotator.h"
#include "Switch.h"
#include "Target.h"
#include "TriggerAction.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>
#include <vector>

namespace {

// Counts its deaths; Damage is the base body unless told otherwise.
class Counter : public Entity {
public:
    int deaths = 0;
    bool whileAlive = false;
    std::function<void(Counter&)> onUpdate;
    int updates = 0;

    void Spawn(float x, float y, float a) override { SpawnPose(x, y, a); }
    void Update() override
    {
        ++updates;
        if (onUpdate)
            onUpdate(*this);
    }
    void Draw(float) override {}
    void Damage(float amount) override
    {
        if (whileAlive)
            DamageWhileAlive(amount);
        else
            Entity::Damage(amount);
    }
    void Die() override
    {
        ++deaths;
        MarkDead();
    }
    Entity* Clone() const override { return new Counter(*this); }
};

Beam MakeBeam(float ax, float ay, float bx, float by)
{
    Beam beam;
    beam.a = {ax, ay};
    beam.b = {bx, by};
    return beam;
}

std::vector<Beam> WorldBeams() { return {MakeBeam(0, 0, 3000, 0), MakeBeam(0, 1500, 3000, 1500)}; }

TEST(EntityTest, ResetShapesTakesTheTypesHull)
{
    WorldFixture world;
    ObjectModel tree;
    tree.circles = {HullCircle(12, 0, 0, 3, -4), HullCircle(6, 0, 0, 0, -20)};
    world.models.models["Tree04"] = tree;
    world.models.models["Player"].circles = {HullCircle(8, 0, 0)};
    world.models.models["PlayerShield"].circles = {HullCircle(20, 0, 0), HullCircle(20, 0, 0, 0, 5)};

    Entity* e = CreateEntity(11);
    e->Spawn(100, 200, 0);
    ASSERT_EQ(e->shapes.size(), 2u);
    EXPECT_EQ(e->shapes[0].radius, 12.0f);
    EXPECT_EQ(e->shapes[0].offsetX, 3.0f);
    // Placed and rotated at angle 0: the offset's x enters with the opposite sign.
    EXPECT_NEAR(e->shapes[0].x, 97.0f, 1e-4f);
    EXPECT_NEAR(e->shapes[0].y, 196.0f, 1e-4f);
    delete e;

    auto* brick = static_cast<Brick*>(CreateEntity(16));
    brick->halfWidth = 40;
    brick->halfHeight = 24;
    brick->Spawn(10, 20, 0);
    ASSERT_EQ(brick->shapes.size(), 1u);
    EXPECT_EQ(brick->shapes[0].radius, 40.0f);
    EXPECT_EQ(brick->shapes[0].x, 10.0f);
    EXPECT_EQ(brick->shapes[0].y, 20.0f);
    delete brick;

    Entity* debris = CreateEntity(1007);
    debris->Spawn(5, 6, 45);
    ASSERT_EQ(debris->shapes.size(), 1u);
    EXPECT_EQ(debris->shapes[0].radius, 150.0f);
    EXPECT_NEAR(debris->shapes[0].x, 5.0f, 1e-5f);
    delete debris;

    Player& ship = *world.game.player;
    ship.Spawn(0, 0, 0);
    EXPECT_EQ(ship.shapes.size(), 1u);
    EXPECT_EQ(ship.shieldShapes.size(), 2u);
    ship.Spawn(0, 0, 0); // rebuilt, not appended
    EXPECT_EQ(ship.shieldShapes.size(), 2u);
}

TEST(EntityTest, TypesWithoutHullCollideWithNothingAndRegisterNowhere)
{
    WorldFixture world;
    world.models.models["Tree01"].circles = {HullCircle(12, 0, 0)};
    std::vector<Beam> beams = WorldBeams();
    world.game.sectorGrid.Build(beams, world.game.entities);
    for (EntityType id : {100, 101, 102, 103}) {
        Entity* e = CreateEntity(id);
        ASSERT_NE(e, nullptr);
        e->Spawn(500, 1500, 0);
        EXPECT_TRUE(e->shapes.empty()) << id;
        Vec2 normal{7, 7};
        EXPECT_FALSE(e->CollideShapes({HullCircle(1000, 500, 1500)}, &normal));
        EXPECT_EQ(normal, (Vec2{7, 7}));
        e->Entity::EnterSectors();
        EXPECT_TRUE(e->sectors.empty()) << id;
        delete e;
    }
    // With models missing, a hulled type stays empty too instead of failing.
    world.game.models = nullptr;
    Entity* tree = CreateEntity(8);
    tree->Spawn(0, 0, 0);
    EXPECT_TRUE(tree->shapes.empty());
    delete tree;
}

TEST(EntityTest, RotateShapesUsesTheFixedSigns)
{
    Counter e;
    e.position = {100, 100};
    e.shapes = {HullCircle(5, 0, 0, 10, 5)};
    e.RotateShapes(0);
    EXPECT_NEAR(e.shapes[0].x, 90.0f, 1e-4f);
    EXPECT_NEAR(e.shapes[0].y, 105.0f, 1e-4f);
    e.RotateShapes(90);
    EXPECT_NEAR(e.shapes[0].x, 95.0f, 1e-4f);
    EXPECT_NEAR(e.shapes[0].y, 90.0f, 1e-4f);
    e.PlaceShapes(1, 2);
    EXPECT_EQ(e.shapes[0].x, 11.0f);
    EXPECT_EQ(e.shapes[0].y, 7.0f);
}

TEST(EntityTest, CollideShapesReportsTheFirstPairAndZeroForCoincidentCentres)
{
    Counter e;
    e.shapes = {HullCircle(5, 0, 0), HullCircle(5, 100, 0)};
    Vec2 normal;
    // Given circle 0 misses; given circle 1 overlaps own circle 1 first? No:
    // own circles are scanned in order for each given circle.
    ASSERT_TRUE(e.CollideShapes({HullCircle(1, 500, 500), HullCircle(3, 100, 6), HullCircle(50, 0, 40)}, &normal));
    EXPECT_NEAR(normal.x, 0.0f, 1e-6f);
    EXPECT_NEAR(normal.y, -1.0f, 1e-6f); // from the given centre toward own circle 1
    ASSERT_TRUE(e.CollideShapes({HullCircle(2, 100, 0)}, &normal));
    EXPECT_EQ(normal, (Vec2{0, 0}));
    normal = {3, 3};
    EXPECT_FALSE(e.CollideShapes({HullCircle(1, 50, 0)}, &normal));
    EXPECT_EQ(normal, (Vec2{3, 3}));
}

TEST(EntityTest, BaseDamageDiesOnEveryHitWhileDamageWhileAliveDiesOnce)
{
    Counter base;
    base.health = 1;
    base.Damage(1);
    base.Damage(1);
    base.Damage(1);
    EXPECT_EQ(base.deaths, 3);

    Counter once;
    once.whileAlive = true;
    once.health = 2;
    once.Damage(1);
    EXPECT_EQ(once.deaths, 0);
    once.Damage(5);
    once.Damage(5);
    EXPECT_EQ(once.deaths, 1);
    EXPECT_EQ(once.health, -4.0f);
}

TEST(EntityTest, EveryDieIsANoOpOnceDeadAndPaysPointsOnce)
{
    WorldFixture world;
    for (EntityType id = -1; id <= 1007; ++id) {
        Entity* e = CreateEntity(id);
        if (e == nullptr)
            continue;
        e->Spawn(0, 0, 0);
        e->points = 10;
        world.game.player->score = 0;
        e->Die();
        const bool died = e->dead;
        e->Die();
        e->Damage(100);
        // Wreck pieces and debris are worth nothing; a lander's death sets
        // its own worth (125 before it has swallowed a scientist); a
        // scientist's death is its rescue, worth a fixed 250.
        const bool pays = died && id < EntityTypes::PlayerDebrisFirst;
        const std::int32_t worth =
            id == EntityTypes::Lander ? 125 : id == EntityTypes::Scientist ? 250 : 10;
        EXPECT_EQ(world.game.player->score, pays ? worth : 0) << "type " << id;
        EXPECT_EQ(e->dead, died) << "type " << id;
        delete e;
    }
    Player& ship = *world.game.player;
    ship.Die();
    ship.Die();
    EXPECT_TRUE(ship.dying);
}

// A saved game may hold any score up to the int32 limit (its digest is only
// the text of the number); a kill must not carry it past that limit.
TEST(EntityTest, PointsPaidToAScoreAtTheLimitStayAtTheLimit)
{
    WorldFixture world;
    Counter actor;
    actor.Spawn(0, 0, 0);
    actor.points = 500;
    world.game.player->score = std::numeric_limits<std::int32_t>::max() - 100;
    actor.Die();
    EXPECT_EQ(world.game.player->score, std::numeric_limits<std::int32_t>::max());
}

TEST(EntityTest, ShouldReleaseCarriedRules)
{
    WorldFixture world;
    Player& ship = *world.game.player;
    Counter platform;
    ship.carrier = &platform;
    ship.landed = true;
    EXPECT_FALSE(ShouldReleaseCarried(&ship));
    EXPECT_EQ(ship.carrier.Get(), &platform);
    ship.landed = false;
    EXPECT_TRUE(ShouldReleaseCarried(&ship));
    EXPECT_EQ(ship.carrier.Get(), nullptr);

    auto* missile = static_cast<Missile*>(CreateEntity(18));
    missile->dormant = true;
    EXPECT_FALSE(ShouldReleaseCarried(missile));
    missile->dormant = false;
    EXPECT_TRUE(ShouldReleaseCarried(missile));
    delete missile;

    Counter other;
    other.type = 0;
    EXPECT_FALSE(ShouldReleaseCarried(&other));
    other.dead = true;
    EXPECT_TRUE(ShouldReleaseCarried(&other));
}

TEST(EntityTest, LeaveSectorsRemovesEveryOccurrence)
{
    WorldFixture world;
    std::vector<Beam> beams = WorldBeams();
    world.game.sectorGrid.Build(beams, world.game.entities);
    Counter e;
    e.shapes = {HullCircle(10, 600, 1600), HullCircle(10, 605, 1600)};
    Sector* cell = world.game.sectorGrid.SectorAt(600, 1600);
    ASSERT_NE(cell, nullptr);
    e.sectors = {cell};
    cell->AddEntity(&e); // listed twice, no slot known
    cell->AddEntity(&e);
    e.LeaveSectors();
    EXPECT_EQ(cell->EntityPlaces(), 0u);
    EXPECT_TRUE(e.sectors.empty());

    // Registration lists each touched cell once, even for two circles in it.
    e.EnterSectors();
    const CellEntities in = cell->Entities();
    EXPECT_EQ(std::count(in.begin(), in.end(), &e), 1);
    e.LeaveSectors();
}

TEST(EntityTest, PlatformAndZoneBoxesMoveWithTheWorldAndRegisterAfterTheBuild)
{
    WorldFixture world;
    auto* mover = static_cast<Mover*>(CreateEntity(101));
    mover->def.area = Rect(200, 100, 50, -300);
    mover->Spawn(50, -300, 0);
    auto* zone = static_cast<TriggerAction*>(CreateEntity(103));
    zone->def.area = Rect(100, 100, 400, -200);
    zone->Spawn(400, -200, 0);
    auto* rotator = static_cast<Rotator*>(CreateEntity(100));
    rotator->def.area = HullCircle(80, 10, -100);
    rotator->Spawn(10, -100, 0);
    for (Entity* e : std::vector<Entity*>{mover, zone, rotator})
        world.game.entities.Append(e);
    std::vector<Beam> beams = {MakeBeam(-100, -500, 2900, -500), MakeBeam(-100, 1000, 2900, 1000)};
    world.game.sectorGrid.Build(beams, world.game.entities);
    const Vec2 offset = world.game.sectorGrid.offset;
    ASSERT_EQ(offset, (Vec2{100, 1500}));
    EXPECT_EQ(mover->position, (Vec2{150, 1200}));
    EXPECT_EQ(mover->def.area.centre, (Vec2{150, 1200}));
    EXPECT_EQ(mover->def.area.min, (Vec2{50, 1150}));
    EXPECT_EQ(zone->def.area.centre, (Vec2{500, 1300}));
    EXPECT_EQ(rotator->position, (Vec2{110, 1400}));
    EXPECT_EQ(rotator->def.area.x, 10.0f); // a rotator's circle keeps its old centre

    // Empty hulls: nothing registered by the build; PostLoad enters the boxes.
    EXPECT_TRUE(mover->sectors.empty());
    for (Entity* e : world.game.entities)
        e->PostLoad();
    Sector* under = world.game.sectorGrid.SectorAt(150, 1200);
    EXPECT_NE(std::find(mover->sectors.begin(), mover->sectors.end(), under), mover->sectors.end());
    EXPECT_EQ(std::count(under->Entities().begin(), under->Entities().end(), mover), 1);
    EXPECT_FALSE(zone->sectors.empty());
    EXPECT_TRUE(rotator->sectors.empty());
    mover->PostLoad(); // again: still listed once
    EXPECT_EQ(std::count(under->Entities().begin(), under->Entities().end(), mover), 1);
    world.game.entities.DeleteAll();
    EXPECT_EQ(under->EntityPlaces(), 0u);
}

TEST(EntityRefTest, ReadsNullOnceTheActorIsDeleted)
{
    auto* target = new Counter;
    EntityRef<> ref = target;
    EntityRef<Counter> typed = target;
    EntityRef<> copy = ref;
    EXPECT_EQ(ref.Get(), target);
    EXPECT_EQ(typed->deaths, 0);
    target->dead = true;
    EXPECT_EQ(ref.Get(), target);
    EXPECT_EQ(ref.GetLive(), nullptr);

    // A clone is a new actor: references to the original do not follow it.
    Entity* clone = target->Clone();
    delete target;
    EXPECT_EQ(ref.Get(), nullptr);
    EXPECT_EQ(copy.Get(), nullptr);
    EXPECT_EQ(typed.Get(), nullptr);
    EXPECT_FALSE(ref);
    EntityRef<> toClone = clone;
    EXPECT_EQ(toClone.Get(), clone);
    delete clone;
    EXPECT_EQ(toClone.Get(), nullptr);
}

TEST(EntityRefTest, ACarriedActorKilledAndReapedIsNeverReadAgain)
{
    WorldFixture world;
    std::vector<Beam> beams = WorldBeams();
    world.game.sectorGrid.Build(beams, world.game.entities);
    auto* rotator = static_cast<Rotator*>(CreateEntity(100));
    auto* rider = new Counter;
    rider->shapes = {HullCircle(10, 500, 1500)};
    world.game.entities.Append(rotator);
    world.game.entities.Append(rider);
    rotator->carriedActors.push_back(rider);
    world.game.player->carrier = rotator;
    rider->EnterSectors();

    const EntityRef<> held = rotator->carriedActors[0];
    rider->Damage(5); // a shot kills it
    ASSERT_TRUE(rider->dead);
    world.game.entities.Pass(); // dropped by the platform, reaped: deleted and out of the grid
    EXPECT_EQ(world.game.entities.Size(), 1u);
    EXPECT_TRUE(rotator->carriedActors.empty());
    EXPECT_EQ(held.Get(), nullptr);
    EXPECT_TRUE(ShouldReleaseCarried(held));
    Sector* cell = world.game.sectorGrid.SectorAt(500, 1500);
    EXPECT_EQ(cell->EntityPlaces(), 0u);

    world.game.entities.DeleteAll();
    EXPECT_EQ(world.game.player->carrier.Get(), nullptr);
}

TEST(EntityListTest, ActorsAppendedDuringThePassAreUpdatedInIt)
{
    WorldFixture world;
    EntityList& list = world.game.entities;
    auto* layer = new Counter;
    std::vector<Counter*> laid;
    layer->onUpdate = [&](Counter&) {
        if (laid.size() < 3) {
            auto* mine = new Counter;
            laid.push_back(mine);
            list.Append(mine);
        }
    };
    auto* doomed = new Counter;
    doomed->dead = true;
    list.Append(doomed);
    list.Append(layer);
    list.Pass();
    // The layer runs once; the mine it laid runs in the same pass (and lays
    // none itself); the dead one is gone.
    ASSERT_EQ(laid.size(), 1u);
    EXPECT_EQ(layer->updates, 1);
    EXPECT_EQ(laid[0]->updates, 1);
    EXPECT_EQ(list.Size(), 2u);
    EXPECT_EQ(list.Front(), layer);

    // An actor killed by one earlier in the list is reaped when the same
    // pass reaches it; a handle to it reads null from then on.
    EntityRef<> mine = laid[0];
    laid[0]->onUpdate = nullptr;
    layer->onUpdate = [&](Counter&) { laid[0]->Die(); };
    list.Pass();
    EXPECT_EQ(list.Size(), 1u);
    EXPECT_EQ(mine.Get(), nullptr);
    layer->onUpdate = nullptr;
    list.Append(nullptr);
    EXPECT_EQ(list.Size(), 1u);
}

TEST(GameTest, FindEntitiesByNameMatchesFourKindsIgnoringCase)
{
    WorldFixture world;
    auto* mover = static_cast<Mover*>(CreateEntity(101));
    std::strcpy(mover->def.name, "DOOR");
    auto* target = static_cast<Target*>(CreateEntity(102));
    std::strcpy(target->name, "Door");
    auto* button = static_cast<Switch*>(CreateEntity(6));
    std::strcpy(button->name, "door");
    auto* laser = static_cast<Laser*>(CreateEntity(7));
    std::strcpy(laser->name, "other");
    auto* rotator = static_cast<Rotator*>(CreateEntity(100));
    std::strcpy(rotator->def.name, "dOOr");
    for (Entity* e : std::vector<Entity*>{mover, target, button, laser, rotator})
        world.game.entities.Append(e);

    std::vector<Entity*> found = {button};
    EXPECT_TRUE(world.game.FindEntitiesByName("door", found));
    EXPECT_EQ(found, (std::vector<Entity*>{button, mover, target, rotator}));
    EXPECT_TRUE(world.game.FindEntitiesByName("OTHER", found));
    EXPECT_EQ(found.back(), laser);
    const auto before = found;
    EXPECT_FALSE(world.game.FindEntitiesByName("nothing", found));
    EXPECT_FALSE(world.game.FindEntitiesByName(nullptr, found));
    EXPECT_EQ(found, before);
}

TEST(GameTest, FindEntitiesByNameFollowsTheListAsEntitiesAreReapedAndAppended)
{
    WorldFixture world;
    const auto target = [&](const char* name) {
        auto* t = static_cast<Target*>(CreateEntity(102));
        std::strcpy(t->name, name);
        world.game.entities.Append(t);
        return t;
    };
    Target* first = target("gate");
    Target* other = target("yard");
    Target* second = target("GATE");
    first->dead = true;
    world.game.entities.Pass();
    std::vector<Entity*> found;
    EXPECT_TRUE(world.game.FindEntitiesByName("Gate", found));
    EXPECT_EQ(found, (std::vector<Entity*>{second}));
    Target* third = target("gAte");
    found.clear();
    EXPECT_TRUE(world.game.FindEntitiesByName("gate", found));
    EXPECT_EQ(found, (std::vector<Entity*>{second, third}));
    other->dead = true;
    world.game.entities.Pass();
    found.clear();
    EXPECT_FALSE(world.game.FindEntitiesByName("yard", found));
    world.game.entities.DeleteAll();
    EXPECT_FALSE(world.game.FindEntitiesByName("gate", found));
    EXPECT_TRUE(found.empty());
}

TEST(GameTest, TheGlobalFollowsTheGamesLifetime)
{
    EXPECT_EQ(theGame, nullptr);
    {
        Game game;
        EXPECT_EQ(theGame, &game);
        ASSERT_NE(game.player, nullptr);
        EXPECT_EQ(game.player->type, -1);
        game.player->ResetStats();
        EXPECT_EQ(game.player->lives, 3);
        EXPECT_EQ(game.player->nextExtraLife, 20000);
        EXPECT_EQ(game.gravity, (Vec2{0, 0.04f}));
    }
    EXPECT_EQ(theGame, nullptr);
}

} // namespace
