// The mechanisms of the demo maps at work, headless with the real models and
// maps: rotators turn their rocks, movers travel, lasers cycle and burn,
// switches click, jets blow.
#include "Emitter.h"
#include "DemoGame.h"
#include "Game.h"
#include "Laser.h"
#include "Mover.h"
#include "Random.h"
#include "ResourceTables.h"
#include "Rotator.h"
#include "Switch.h"
#include "testing/HeadlessHost.h"
#include "../../core/world/tests/support/MapTestDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace {

TEST(DemoMechanisms, RotatorsTurnMoversTravelLasersCycleAndBurnJetsBlow)
{
    for (const char* name : {"Caverns", "Foundry", "Core"}) {
        SCOPED_TRACE(name);
        DemoLevel level(name);
        const std::vector<Rotator*> rotators = level.All<Rotator>();
        const std::vector<Mover*> movers = level.All<Mover>();
        const std::vector<Laser*> lasers = level.All<Laser>();
        const std::vector<Emitter*> jets = level.All<Emitter>();
        EXPECT_FALSE(rotators.empty());
        EXPECT_FALSE(lasers.empty());
        EXPECT_FALSE(jets.empty());
        std::map<Entity*, int> changes;
        std::map<Entity*, bool> lastOn;
        std::map<Laser*, bool> burned;
        std::map<Entity*, Vec2> start;
        for (Mover* m : movers)
            start[m] = m->position;
        for (Laser* l : lasers)
            lastOn[l] = l->on;
        for (Emitter* e : jets)
            lastOn[e] = e->on;
        for (int tick = 0; tick < 600; ++tick) {
            level.game.entities.Pass();
            for (Laser* l : lasers) {
                changes[l] += l->on != lastOn[l] ? 1 : 0;
                lastOn[l] = l->on;
                if (l->on && l->hasBeam && l->beam.a != l->beam.b)
                    burned[l] = true;
            }
            for (Emitter* e : jets) {
                changes[e] += e->on != lastOn[e] ? 1 : 0;
                lastOn[e] = e->on;
            }
        }
        for (Rotator* r : rotators) {
            EXPECT_FALSE(r->carriedBeams.empty()) << r->def.name << " carries its rock";
            EXPECT_NE(r->angle, 0.0f) << r->def.name;
        }
        for (Mover* m : movers) {
            if (m->def.loops) {
                EXPECT_NE(m->position, start[m]) << m->def.name;
            }
        }
        for (Laser* l : lasers) {
            if (l->onTime > 0.0f && l->offTime > 0.0f) {
                EXPECT_GE(changes[l], 2) << l->name << " cycles";
            }
            if (l->startsOn || changes[l] > 0) {
                EXPECT_TRUE(burned[l]) << l->name << " casts its beam";
            }
        }
        for (Emitter* e : jets) {
            if (e->onTime > 0.0f && e->offTime > 0.0f) {
                EXPECT_GE(changes[e], 2) << "a jet cycles";
            }
            EXPECT_GT(e->tickCount, 0) << "a jet blew";
        }
    }
}

TEST(DemoMechanisms, SwitchesClickAndToggleTheirLasers)
{
    for (const char* name : {"Foundry", "Core"}) {
        SCOPED_TRACE(name);
        DemoLevel level(name);
        for (Switch* s : level.All<Switch>()) {
            std::vector<Entity*> named;
            level.game.FindEntitiesByName(s->name, named);
            ASSERT_FALSE(named.empty()) << s->name;
            std::vector<bool> before;
            for (Entity* e : named)
                before.push_back(static_cast<Laser*>(e)->on);
            const std::size_t calls = level.host.audio.calls.size();
            s->Damage(1.0f);
            EXPECT_TRUE(s->pressed);
            const std::string click =
                "PlayChannelTimed(-1,chunk#" + std::to_string(Index(SampleId::Activate)) + ",0,-1)";
            EXPECT_NE(std::find(level.host.audio.calls.begin() + static_cast<long>(calls), level.host.audio.calls.end(),
                                click),
                      level.host.audio.calls.end());
            for (std::size_t i = 0; i < named.size(); ++i)
                EXPECT_NE(static_cast<Laser*>(named[i])->on, before[i]);
        }
    }
}

} // namespace
