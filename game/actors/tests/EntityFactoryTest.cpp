#include "EntityFactory.h"
#include "LogCapture.h"

#include "BlueTank.h"
#include "BlueTurret.h"
#include "Brick.h"
#include "CheckPoint.h"
#include "Debris.h"
#include "Emitter.h"
#include "Flea.h"
#include "FuelPod.h"
#include "Generator.h"
#include "Lander.h"
#include "Laser.h"
#include "Mine.h"
#include "Missile.h"
#include "Mover.h"
#include "PlayerDebris.h"
#include "RedTurret.h"
#include "Rotator.h"
#include "Scientist.h"
#include "Station.h"
#include "SuperTurret.h"
#include "Sweeper.h"
#include "Switch.h"
#include "Target.h"
#include "Tree.h"
#include "TriggerAction.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace {

struct Row {
    std::function<bool(Entity*)> isClass;
    std::string line;
};

template <typename T>
Row R(const char* line)
{
    return {[](Entity* e) { return dynamic_cast<T*>(e) != nullptr; }, line};
}

std::map<EntityType, Row> Table()
{
    std::map<EntityType, Row> t = {
        {0, R<BlueTurret>("Created BlueTurret.\n")},   {1, R<RedTurret>("Created RedTurret.\n")},
        {2, R<BlueTank>("Created BlueTank.\n")},       {3, R<FuelPod>("Created Fuelpod.\n")},
        {4, R<Scientist>("Created Scientist.\n")},     {5, R<Generator>("Created Generator.\n")},
        {6, R<Switch>("Created Switch.\n")},           {7, R<Laser>("Created Laser.\n")},
        {14, R<CheckPoint>("Created CheckPoint.\n")},  {15, R<Emitter>("Created TriggerAction.\n")},
        {16, R<Brick>("Created Bricks.\n")},           {17, R<Mine>("Created Mine.\n")},
        {18, R<Missile>("Created Missile.\n")},        {19, R<Lander>("Created Lander.\n")},
        {20, R<Flea>("Created Flea.\n")},              {22, R<Sweeper>("Created Sweeper.\n")},
        {24, R<SuperTurret>("Created SuperTurret.\n")}, {25, R<Station>("")},
        {100, R<Rotator>("Created Rotator.\n")},       {101, R<Mover>("Created Mover.\n")},
        {102, R<Target>("Created Target.\n")},         {103, R<TriggerAction>("Created TriggerAction.\n")},
        {1007, R<Debris>("")},
    };
    for (EntityType id = 8; id <= 13; ++id)
        t.emplace(id, R<Tree>("Created Tree.\n"));
    for (EntityType id = 1000; id <= 1006; ++id)
        t.emplace(id, R<PlayerDebris>("Created Player Debris.\n"));
    return t;
}

TEST(EntityFactoryTest, EveryTypeNumberMakesItsClassWithItsLogLine)
{
    const auto table = Table();
    LogCapture log;
    int made = 0;
    for (EntityType id = -3; id <= 1010; ++id) {
        log.Reset();
        std::unique_ptr<Entity> e(CreateEntity(id, log.Get()));
        auto row = table.find(id);
        if (row == table.end()) {
            EXPECT_EQ(e, nullptr) << "type " << id;
            EXPECT_EQ(log.Text(), "") << "type " << id;
            continue;
        }
        ++made;
        ASSERT_NE(e, nullptr) << "type " << id;
        EXPECT_TRUE(row->second.isClass(e.get())) << "type " << id;
        EXPECT_EQ(log.Text(), row->second.line) << "type " << id;
        // The base construction: type set, everything else zero, unspawned.
        EXPECT_EQ(e->type, id);
        EXPECT_FALSE(e->dead);
        EXPECT_EQ(e->health, 0.0f);
        EXPECT_EQ(e->points, 0);
        EXPECT_EQ(e->position, (Vec2{0, 0}));
        EXPECT_EQ(e->previousPosition, (Vec2{0, 0}));
        EXPECT_EQ(e->angle, 0.0f);
        EXPECT_EQ(e->drawStamp, 0u);
        EXPECT_TRUE(e->sectors.empty());
        EXPECT_TRUE(e->shapes.empty());
    }
    EXPECT_EQ(made, static_cast<int>(table.size()));
    for (EntityType id : {-2147483647 - 1, 2147483647, 26, 99, 104, 999, 1008}) {
        log.Reset();
        EXPECT_EQ(CreateEntity(id, log.Get()), nullptr);
        EXPECT_EQ(log.Text(), "");
    }
}

bool IsZero(const Beam& b)
{
    const Vec2 zero{0, 0};
    return b.a == zero && b.b == zero && b.normal == zero && b.direction == zero && b.colourA.r == 0 &&
           b.colourA.g == 0 && b.colourA.b == 0 && b.colourB.r == 0 && b.colourB.g == 0 && b.colourB.b == 0 &&
           b.stamp == 0 && b.id == 0;
}

TEST(EntityFactoryTest, ConstructorsSetTheirPresets)
{
    LogCapture log;
    auto make = [&](EntityType id) { return std::unique_ptr<Entity>(CreateEntity(id, log.Get())); };

    auto target = make(102);
    EXPECT_STREQ(static_cast<Target*>(target.get())->name, "EMPTY");
    EXPECT_EQ(static_cast<Target*>(target.get())->point, (Vec2{0, 0}));

    auto zone = make(103);
    const TriggerDef& trigger = static_cast<TriggerAction*>(zone.get())->def;
    EXPECT_STREQ(trigger.activateName, "EMPTY");
    EXPECT_FALSE(trigger.once);
    EXPECT_EQ(trigger.area.half, (Vec2{0, 0}));
    EXPECT_EQ(trigger.area.centre, (Vec2{0, 0}));

    auto rot = make(100);
    const auto& r = *static_cast<Rotator*>(rot.get());
    EXPECT_STREQ(r.def.name, "EMPTY");
    EXPECT_STREQ(r.def.targetName, "EMPTY");
    EXPECT_STREQ(r.def.activateName, "EMPTY");
    EXPECT_EQ(r.def.stepAngle, 0);
    EXPECT_EQ(r.def.speed, 1.0f);
    EXPECT_EQ(r.def.pauseTime, 0.0f);
    EXPECT_FALSE(r.def.pingPong);
    EXPECT_TRUE(r.def.loops);
    EXPECT_EQ(r.def.area.radius, 0.0f);
    EXPECT_TRUE(r.carriedBeams.empty());
    EXPECT_TRUE(r.carriedActors.empty());
    EXPECT_FALSE(r.active);

    auto mov = make(101);
    const auto& m = *static_cast<Mover*>(mov.get());
    for (const char* name : {m.def.name, m.def.targetNameA, m.def.targetNameB, m.def.activateName})
        EXPECT_STREQ(name, "EMPTY");
    EXPECT_EQ(m.def.travelTime, 3.0f);
    EXPECT_EQ(m.def.waitTime, 1.0f);
    EXPECT_EQ(m.def.startDelay, 0.0f);
    EXPECT_TRUE(m.def.loops);
    EXPECT_TRUE(m.carriedBeams.empty());
    EXPECT_TRUE(m.carriedActors.empty());

    auto laser = make(7);
    const auto& l = *static_cast<Laser*>(laser.get());
    EXPECT_TRUE(IsZero(l.beam));
    EXPECT_STREQ(l.name, "");
    EXPECT_FALSE(l.on);

    auto debris = make(1007);
    const auto& d = *static_cast<Debris*>(debris.get());
    EXPECT_TRUE(IsZero(d.beam));
    EXPECT_EQ(d.velocity, (Vec2{0, 0}));
    EXPECT_EQ(d.spin, 0.0f);

    auto brick = make(16);
    EXPECT_TRUE(static_cast<Brick*>(brick.get())->cells.empty());
    EXPECT_EQ(static_cast<Brick*>(brick.get())->columns, 0);

    auto flea = make(20);
    const auto& f = *static_cast<Flea*>(flea.get());
    EXPECT_EQ(f.velocity, (Vec2{0, 0}));
    EXPECT_EQ(f.carrier.Get(), nullptr);
    EXPECT_EQ(f.landedBeam, nullptr);
    EXPECT_FALSE(f.landed);

    auto lander = make(19);
    EXPECT_EQ(static_cast<Lander*>(lander.get())->velocity, (Vec2{0, 0}));
    EXPECT_EQ(static_cast<Lander*>(lander.get())->target.Get(), nullptr);
    auto missile = make(18);
    EXPECT_EQ(static_cast<Missile*>(missile.get())->velocity, (Vec2{0, 0}));
    auto sweeper = make(22);
    EXPECT_EQ(static_cast<Sweeper*>(sweeper.get())->velocity, (Vec2{0, 0}));
    auto wreck = make(1003);
    EXPECT_EQ(static_cast<PlayerDebris*>(wreck.get())->velocity, (Vec2{0, 0}));
    auto check = make(14);
    EXPECT_EQ(static_cast<CheckPoint*>(check.get())->homePosition, (Vec2{0, 0}));
}

TEST(EntityFactoryTest, CloneCopiesTheClassAndItsFields)
{
    LogCapture log;
    std::unique_ptr<Entity> rot(CreateEntity(100, log.Get()));
    auto& r = *static_cast<Rotator*>(rot.get());
    std::strcpy(r.def.name, "gate");
    r.def.speed = -2.5f;
    r.position = {4, 5};
    r.angle = 30;
    std::unique_ptr<Entity> copy(r.Clone());
    auto* c = dynamic_cast<Rotator*>(copy.get());
    ASSERT_NE(c, nullptr);
    EXPECT_STREQ(c->def.name, "gate");
    EXPECT_EQ(c->def.speed, -2.5f);
    EXPECT_EQ(c->position, (Vec2{4, 5}));
    EXPECT_EQ(c->angle, 30.0f);
    EXPECT_EQ(c->type, 100);

    for (EntityType id : {0, 8, 16, 1007, 1000, 103}) {
        std::unique_ptr<Entity> e(CreateEntity(id, log.Get()));
        e->health = 7;
        std::unique_ptr<Entity> twin(e->Clone());
        EXPECT_EQ(typeid(*twin), typeid(*e));
        EXPECT_EQ(twin->type, id);
        EXPECT_EQ(twin->health, 7.0f);
    }
}

} // namespace
