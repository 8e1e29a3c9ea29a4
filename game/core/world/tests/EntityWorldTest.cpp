// The world's entities against a world of their own, without a Game: what
// they reach of the running game goes through the current EntityWorld.
#include "BoxRegistration.h"
#include "Entity.h"
#include "EntityList.h"
#include "EntityWorld.h"
#include "ModelSource.h"
#include "ObjectModel.h"
#include "Sector.h"
#include "SectorGrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

class ModelsByName : public ModelSource {
public:
    std::map<std::string, ObjectModel> byName;
    const ObjectModel* FindModel(const char* name) const override
    {
        auto it = byName.find(name);
        return it == byName.end() ? nullptr : &it->second;
    }
};

class TestWorld : public EntityWorld {
public:
    SectorGrid grid;
    ModelsByName models;
    std::vector<std::int32_t> payments;

    SectorGrid& Grid() override { return grid; }
    const ModelSource* Models() const override { return &models; }
    void PayPoints(std::int32_t points) override { payments.push_back(points); }
};

// A turret-typed entity (its hull comes from the "BlueTurret" model).
class Turret : public Entity {
public:
    Turret() { type = EntityTypes::BlueTurret; }
    void Spawn(float x, float y, float a) override { SpawnPose(x, y, a); }
    void Update() override {}
    void Draw(float) override {}
    void Die() override { MarkDead(); }
    Entity* Clone() const override { return new Turret(*this); }
};

// A class with a hull of its own instead of its type's model.
class Pebble : public Turret {
public:
    void BuildHull() override { shapes.emplace_back(3.0f, position.x, position.y); }
};

Beam MakeBeam(float ax, float ay, float bx, float by)
{
    Beam beam;
    beam.a = {ax, ay};
    beam.b = {bx, by};
    return beam;
}

bool Holds(const Sector* sector, const Entity* entity)
{
    const CellEntities in = sector->Entities();
    return std::count(in.begin(), in.end(), entity) == 1;
}

struct EntityWorldTest : ::testing::Test {
    TestWorld world;
    EntityWorld* before = theWorld;
    std::vector<Beam> beams = {MakeBeam(0, 1000, 2000, 1800)};
    EntityList none;

    EntityWorldTest()
    {
        world.models.byName["BlueTurret"].circles = {HullCircle(20.0f, 0.0f, 0.0f, 5.0f, 0.0f)};
        world.grid.Build(beams, none);
        theWorld = &world;
    }
    ~EntityWorldTest() override { theWorld = before; }
};

TEST_F(EntityWorldTest, HullComesFromTheWorldsModelsOrTheClassesOwnBuild)
{
    Turret turret;
    turret.Spawn(100.0f, 1200.0f, 0.0f);
    ASSERT_EQ(turret.shapes.size(), 1u);
    EXPECT_EQ(turret.shapes[0].radius, 20.0f);

    Pebble pebble;
    pebble.Spawn(100.0f, 1200.0f, 0.0f);
    ASSERT_EQ(pebble.shapes.size(), 1u);
    EXPECT_EQ(pebble.shapes[0].radius, 3.0f);

    theWorld = nullptr;
    turret.Spawn(100.0f, 1200.0f, 0.0f);
    EXPECT_TRUE(turret.shapes.empty());
}

TEST_F(EntityWorldTest, RegistrationUsesTheWorldsGrid)
{
    Turret turret;
    turret.Spawn(1000.0f, 1400.0f, 0.0f);
    turret.EnterSectors();
    ASSERT_FALSE(turret.sectors.empty());
    for (const Sector* sector : turret.sectors)
        EXPECT_TRUE(Holds(sector, &turret));
    turret.LeaveSectors();

    Turret boxed;
    EnterSectorsByBox(boxed, Rect(300.0f, 300.0f, 1000.0f, 1400.0f));
    ASSERT_FALSE(boxed.sectors.empty());
    for (const Sector* sector : boxed.sectors)
        EXPECT_TRUE(Holds(sector, &boxed));
    boxed.LeaveSectors();

    theWorld = nullptr;
    turret.EnterSectors();
    EnterSectorsByBox(boxed, Rect(300.0f, 300.0f, 1000.0f, 1400.0f));
    EXPECT_TRUE(turret.sectors.empty());
    EXPECT_TRUE(boxed.sectors.empty());
}

// The entities standing in a cell, in order.
std::vector<const Entity*> Standing(const Sector* cell)
{
    const CellEntities in = cell->Entities();
    return std::vector<const Entity*>(in.begin(), in.end());
}

TEST_F(EntityWorldTest, AnEntityLeavingDuringAWalkOfItsCellHidesNoOther)
{
    // Three actors on one spot: the contact and blast passes walk the cell by
    // index while what they touch may leave it.
    Turret a, b, c;
    for (Turret* t : {&a, &b, &c}) {
        t->Spawn(1000.0f, 1400.0f, 0.0f);
        t->EnterSectors();
    }
    Sector* cell = a.sectors.front();
    ASSERT_EQ(Standing(cell), (std::vector<const Entity*>{&a, &b, &c}));
    std::vector<const Entity*> met;
    for (Entity* entity : cell->Entities()) {
        met.push_back(entity);
        if (entity == &a)
            a.LeaveSectors();
    }
    EXPECT_EQ(met, (std::vector<const Entity*>{&a, &b, &c})) << "b was skipped";
    EXPECT_EQ(cell->EntityCount(), 2u);
    world.grid.CloseGaps();
    EXPECT_EQ(Standing(cell), (std::vector<const Entity*>{&b, &c}));
    EXPECT_EQ(cell->EntityPlaces(), 2u) << "the gap is closed";
    b.LeaveSectors();
    c.LeaveSectors();
    EXPECT_EQ(cell->EntityPlaces(), 0u);
}

TEST_F(EntityWorldTest, TheCellsWalkPassesOverGapsAndFollowsTheListAsItChanges)
{
    // Five actors on one spot. At the first, it and the third leave (a gap
    // behind the walk and one ahead of it), the last leaves (its place is
    // dropped) and a newcomer takes that very place; at the second, it
    // leaves. The walk meets what stands in each place when it gets there.
    Turret a, b, c, d, e, late;
    for (Turret* t : {&a, &b, &c, &d, &e}) {
        t->Spawn(1000.0f, 1400.0f, 0.0f);
        t->EnterSectors();
    }
    Sector* cell = a.sectors.front();
    std::vector<const Entity*> met;
    std::vector<std::size_t> places;
    const CellEntities walk = cell->Entities();
    for (auto it = walk.begin(); it != walk.end(); ++it) {
        met.push_back(*it);
        places.push_back(it.Place());
        if (*it == &a) {
            a.LeaveSectors();
            c.LeaveSectors();
            e.LeaveSectors();
            late.Spawn(1000.0f, 1400.0f, 0.0f);
            late.EnterSectors();
        } else if (*it == &b) {
            b.LeaveSectors();
        }
    }
    EXPECT_EQ(met, (std::vector<const Entity*>{&a, &b, &d, &late}));
    EXPECT_EQ(places, (std::vector<std::size_t>{0, 1, 3, 4}));
    // From a place on, past the gaps at 0 to 2; past the end, nothing.
    EXPECT_EQ(*cell->EntitiesFrom(0).begin(), &d);
    EXPECT_EQ(cell->EntitiesFrom(5).begin(), cell->EntitiesFrom(5).end());
    EXPECT_EQ(cell->EntityAt(2), nullptr);
    EXPECT_EQ(cell->EntityAt(4), &late);
    EXPECT_EQ(cell->EntityAt(99), nullptr);
    d.LeaveSectors();
    late.LeaveSectors();
    EXPECT_EQ(cell->Entities().begin(), cell->Entities().end()) << "gaps alone are no entities";
}

TEST_F(EntityWorldTest, CellsHoldWhatAPlainListWouldThroughRandomEntriesLeavesAndClosings)
{
    // Differential: each cell against a plain ordered list that erases the
    // leaving entity; every registered entity's slot names its own place.
    const Vec2 spots[] = {{1000.0f, 1400.0f}, {1010.0f, 1390.0f}, {1240.0f, 1400.0f}, {600.0f, 1300.0f}};
    std::vector<Turret> actors(40);
    std::map<const Sector*, std::vector<const Entity*>> model;
    std::uint32_t seed = 12345;
    auto next = [&seed](std::uint32_t bound) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % bound;
    };
    for (int step = 0; step < 3000; ++step) {
        Turret& t = actors[next(40)];
        if (t.sectors.empty()) {
            const Vec2 spot = spots[next(4)];
            t.Spawn(spot.x, spot.y, 0.0f);
            t.EnterSectors();
            for (const Sector* cell : t.sectors)
                model[cell].push_back(&t);
        } else {
            for (const Sector* cell : t.sectors) {
                auto& list = model[cell];
                list.erase(std::find(list.begin(), list.end(), &t));
            }
            t.LeaveSectors();
        }
        if (next(7) == 0)
            world.grid.CloseGaps();
        for (const auto& [cell, list] : model) {
            ASSERT_EQ(Standing(cell), list) << "step " << step;
            ASSERT_EQ(cell->EntityCount(), list.size());
        }
        for (const Turret& a : actors) {
            ASSERT_EQ(a.sectorSlots.size(), a.sectors.size());
            for (std::size_t i = 0; i < a.sectors.size(); ++i)
                ASSERT_EQ(a.sectors[i]->EntityAt(a.sectorSlots[i]), &a) << "step " << step;
        }
    }
    world.grid.CloseGaps();
    for (const auto& [cell, list] : model)
        EXPECT_EQ(cell->EntityPlaces(), list.size()) << "no gap is left after closing";
    for (Turret& a : actors)
        a.LeaveSectors();
}

TEST_F(EntityWorldTest, DeathPaysItsPointsOnce)
{
    Turret turret;
    turret.points = 250;
    turret.Die();
    turret.Die();
    EXPECT_EQ(world.payments, std::vector<std::int32_t>{250});

    theWorld = nullptr;
    Turret alone;
    alone.points = 100;
    alone.Die();
    EXPECT_TRUE(alone.dead);
    EXPECT_EQ(world.payments.size(), 1u);
}

} // namespace
