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
    return std::count(sector->entities.begin(), sector->entities.end(), entity) == 1;
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
