// The laser's march meets a cell's entities through a walk that finds the
// cell's switches and ships once a march, leaves out switches out of reach
// and starts over when anything leaves the cell. Here it runs against the
// plain walk of the whole list, on crowded cells where switches cross
// turning beams, press other lasers and shuffle the cells mid-march: both
// must touch and activate the same entities in the same order.
#include "PlatformFixture.h"

#include "Random.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// What the actors of one run did, in order.
using Journal = std::vector<std::string>;

// A small seeded generator each actor carries (copied with its clone, so the
// two runs of a seed draw the same numbers where they do the same things).
struct Dice {
    std::uint32_t state = 1;
    std::uint32_t Next(std::uint32_t bound)
    {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % bound;
    }
    float Between(float low, float high) { return low + (high - low) * static_cast<float>(Next(10001)) / 10000.0f; }
};

// The crowd lies in the cells of x 1000..2000, y 1500..2500.
constexpr float kLeft = 1000.0f, kRight = 2000.0f, kTop = 1500.0f, kBottom = 2500.0f;

std::string Id(const Entity* e);

// A switch that drifts across the crowd, now and then pops out by itself,
// and writes down every touch.
class CrowdSwitch : public Switch {
public:
    int id = 0;
    Vec2 drift;
    Dice dice;
    std::shared_ptr<Journal> journal;

    void Update() override
    {
        Switch::Update();
        MoveTo(position + drift);
        if (position.x < kLeft || position.x > kRight)
            drift.x = -drift.x;
        if (position.y < kTop || position.y > kBottom)
            drift.y = -drift.y;
        if (pressed && cooldown == 0 && dice.Next(8) == 0)
            pressed = false;
    }
    bool OnContact(Entity* other) override
    {
        journal->push_back(Id(this) + " touched by " + Id(other) + (pressed ? " (pressed)" : ""));
        return Switch::OnContact(other);
    }
    Entity* Clone() const override { return new CrowdSwitch(*this); }

    // Leaves its cells and enters those of the new place.
    void MoveTo(Vec2 at)
    {
        LeaveSectors();
        position = at;
        PlaceShapes(at.x, at.y);
        EnterSectors();
    }
};

// A laser that turns a little every tick and writes down its activations
// and, after each march, its beam and the ship's hull. `wholeList` makes its
// march walk every entity of each cell it meets.
class CrowdLaser : public Laser {
public:
    int id = 0;
    float turn = 0.0f;
    bool wholeList = false;
    std::shared_ptr<Journal> journal;

    void Update() override
    {
        angle += turn;
        Laser::Update();
        if (on && theGame != nullptr)
            journal->push_back(Id(this) + " beam " + std::to_string(beam.b.x) + "," + std::to_string(beam.b.y) +
                               " ship " + std::to_string(theGame->player->hull));
    }
    void Activate(Entity* source) override
    {
        journal->push_back(Id(this) + " activated by " + Id(source));
        Laser::Activate(source);
    }
    Entity* Clone() const override { return new CrowdLaser(*this); }

protected:
    void VisitCell(Sector& cell, const Line* lastBeam, Vec2 muzzle, Vec2 end) override
    {
        if (!wholeList) {
            Laser::VisitCell(cell, lastBeam, muzzle, end);
            return;
        }
        for (Entity* other : cell.Entities()) {
            if (other->type == EntityTypes::Switch) {
                if (CollideShapes(other->shapes, nullptr))
                    other->OnContact(this);
            } else if (other->type == EntityTypes::Player) {
                BurnShip(*static_cast<Player*>(other), muzzle, end);
            }
        }
    }
};

// A platform (so switches activate it) that, activated by a switch,
// shuffles the crowd during the march that pressed it: the last switch of
// each cell of the presser, and one switch from anywhere, move next to the
// presser (where the beam likely reaches them; a switch that leaves the end
// of a list and comes back takes the same place), and now and then one
// leaves until its next update.
class Stirrer : public Mover {
public:
    Dice dice;
    std::shared_ptr<Journal> journal;

    Stirrer() { std::strcpy(def.name, "STIR"); }
    void Spawn(float x, float y, float a) override { SpawnPose(x, y, a); }
    void Update() override { SavePose(); }
    void Draw(float) override {}
    void Link(std::vector<Beam>&, EntityList&) override {}
    void EnterSectors() override {}
    void Activate(Entity* source) override
    {
        journal->push_back("stirred by " + Id(source));
        if (source == nullptr)
            return;
        std::vector<CrowdSwitch*> crowd;
        for (Entity* e : theGame->entities)
            if (auto* s = dynamic_cast<CrowdSwitch*>(e); s != nullptr && !s->sectors.empty())
                crowd.push_back(s);
        if (crowd.size() < 3)
            return;
        const Vec2 near = source->position;
        const auto beside = [this, near] { return near + Vec2{dice.Between(-3.0f, 3.0f), dice.Between(-3.0f, 3.0f)}; };
        std::vector<CrowdSwitch*> movers;
        for (const Sector* cell : source->sectors) {
            CrowdSwitch* last = nullptr;
            for (Entity* e : cell->Entities())
                if (auto* s = dynamic_cast<CrowdSwitch*>(e))
                    last = s;
            if (last != nullptr && last != source)
                movers.push_back(last);
        }
        movers.push_back(crowd[dice.Next(static_cast<std::uint32_t>(crowd.size()))]);
        for (CrowdSwitch* s : movers)
            s->MoveTo(beside());
        if (dice.Next(3) == 0)
            crowd[dice.Next(static_cast<std::uint32_t>(crowd.size()))]->LeaveSectors();
    }
    Entity* Clone() const override { return new Stirrer(*this); }
};

std::string Id(const Entity* e)
{
    if (e == nullptr)
        return "nothing";
    if (const auto* s = dynamic_cast<const CrowdSwitch*>(e))
        return "S" + std::to_string(s->id);
    if (const auto* l = dynamic_cast<const CrowdLaser*>(e))
        return "L" + std::to_string(l->id);
    if (dynamic_cast<const Stirrer*>(e) != nullptr)
        return "stirrer";
    return e->type == EntityTypes::Player ? "ship" : "type " + std::to_string(e->type);
}

struct RunCounts {
    int laserTouches = 0;   // a switch touched by a laser
    int laserPresses = 0;   // ... and not pressed before: it fires
    int activations = 0;    // lasers and the stirrer activated
    int stirs = 0;
};

struct CrowdRun {
    Journal journal;
    RunCounts counts;
    float hullLost = 0.0f;
};

// One seeded crowd played for `ticks` update passes.
CrowdRun PlayCrowd(std::uint32_t seed, bool wholeList, int ticks)
{
    PlatformFixture f;
    auto journal = std::make_shared<Journal>();
    Dice dice{seed};
    const char* const groups[] = {"A", "B", "C", "STIR"};
    for (int i = 0; i < 12; ++i) {
        auto* l = new CrowdLaser();
        l->id = i;
        l->journal = journal;
        l->wholeList = wholeList;
        l->turn = dice.Between(-4.0f, 4.0f);
        SetName(l->name, groups[i % 3]);
        l->onTime = dice.Between(0.05f, 0.4f);
        l->offTime = dice.Between(0.05f, 0.2f);
        l->startsOn = dice.Next(4) != 0;
        f.Add(l, {dice.Between(kLeft, kRight), dice.Between(kTop, kBottom)}, dice.Between(0.0f, 360.0f));
    }
    for (int i = 0; i < 140; ++i) {
        auto* s = new CrowdSwitch();
        s->id = i;
        s->journal = journal;
        s->dice.state = dice.Next(1u << 30);
        s->drift = {dice.Between(-6.0f, 6.0f), dice.Between(-6.0f, 6.0f)};
        SetName(s->name, groups[dice.Next(4)]);
        f.Add(s, {dice.Between(kLeft, kRight), dice.Between(kTop, kBottom)});
    }
    auto* stirrer = new Stirrer();
    stirrer->journal = journal;
    stirrer->dice.state = seed ^ 0x5eedu;
    f.Add(stirrer, {500.0f, 1200.0f});
    SeedRandom(static_cast<int>(seed));
    f.Start();
    // The ship hovers in the crowd, too tough to die: the beams burn it.
    f.PlaceShip({1500.0f, 2000.0f}, 0.0f);
    f.ship.hull = 1.0e6f;
    f.ship.fuel = 300.0f;
    const float hull = f.ship.hull;
    for (int tick = 0; tick < ticks; ++tick) {
        journal->push_back("tick " + std::to_string(tick));
        f.Pass();
    }
    CrowdRun run;
    run.journal = *journal;
    run.hullLost = hull - f.ship.hull;
    for (const std::string& line : run.journal) {
        const bool byLaser = line.find(" touched by L") != std::string::npos;
        run.counts.laserTouches += byLaser ? 1 : 0;
        run.counts.laserPresses += byLaser && line.find("(pressed)") == std::string::npos ? 1 : 0;
        run.counts.activations += line.find(" activated by S") != std::string::npos ? 1 : 0;
        run.counts.stirs += line.rfind("stirred by S", 0) == 0 ? 1 : 0;
    }
    return run;
}

TEST(LaserMarch, TouchesAndActivatesWhatAWalkOfTheWholeListDoesInCrowdedShuffledCells)
{
    for (std::uint32_t seed : {1u, 7u, 42u, 1234u, 99991u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const CrowdRun plain = PlayCrowd(seed, true, 250);
        const CrowdRun fast = PlayCrowd(seed, false, 250);
        // The crowd does what the comparison needs: beams press switches,
        // the presses toggle lasers and shuffle the cells mid-march, and the
        // beams burn the ship.
        EXPECT_GT(plain.counts.laserPresses, 200);
        EXPECT_GT(plain.counts.laserTouches, plain.counts.laserPresses);
        EXPECT_GT(plain.counts.activations, 500);
        EXPECT_GT(plain.counts.stirs, 50);
        EXPECT_GT(plain.hullLost, 0.0f);
        // The first difference, with what led to it.
        const std::size_t n = std::min(plain.journal.size(), fast.journal.size());
        std::size_t at = 0;
        while (at < n && plain.journal[at] == fast.journal[at])
            ++at;
        if (at < n || plain.journal.size() != fast.journal.size()) {
            std::string context;
            for (std::size_t i = at > 6 ? at - 6 : 0; i < at; ++i)
                context += "  " + plain.journal[i] + "\n";
            ADD_FAILURE() << "after\n"
                          << context << "the whole-list walk: "
                          << (at < plain.journal.size() ? plain.journal[at] : "(end)")
                          << "\nthe march:          " << (at < fast.journal.size() ? fast.journal[at] : "(end)");
        }
        EXPECT_EQ(plain.hullLost, fast.hullLost);
    }
}

} // namespace
