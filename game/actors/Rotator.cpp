#include "Rotator.h"

#include "ActorAxis.h"
#include "Collision.h"
#include "Game.h"
#include "Line.h"
#include "Log.h"
#include "MathUtil.h"
#include "PlatformCarry.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr float kRiderRadius = 15.0f;
constexpr float kRevolution = 360.0f; // degrees

// The speed (degrees a tick) as a turn the platform can keep up for ever,
// showing what the map's speed shows. Where the angle runs free (no step: it
// turns without stopping; or a step the speed turns away from, whose goal it
// never reaches) only the turn within a revolution shows, but the angle would
// grow without end, to infinity within two ticks near the float limit: the
// speed becomes the same turn within one revolution, its sign kept (370
// turns 10 degrees, -725 turns -5). Toward its goals the angle snaps back to
// each goal it passes and stays finite at any speed, and every speed beyond
// the step looks alike (a stop every tick, the carried things at rest): it
// is kept. A speed that is no number, or infinite, has no such turn: the
// platform stands still.
float SteadySpeed(float speed, std::int32_t step)
{
    if (!std::isfinite(speed))
        return 0.0f;
    const bool reachesGoals = step != 0 && (step > 0) == (speed > 0.0f);
    return reachesGoals ? speed : std::fmod(speed, kRevolution);
}

// The point turned by the angle whose vectors are (cos, sin) about c.
Vec2 Turn(Vec2 p, Vec2 c, float cosA, float sinA)
{
    const float x = p.x - c.x;
    const float y = p.y - c.y;
    return {c.x + x * cosA - y * sinA, c.y + x * sinA + y * cosA};
}

} // namespace

Rotator::Rotator()
{
    type = EntityTypes::Rotator;
}

void Rotator::Spawn(float x, float y, float a)
{
    // A pause that is no number is none.
    if (std::isnan(def.pauseTime))
        def.pauseTime = 0.0f;
    SpawnPose(x, y, a);
    active = def.loops;
    returning = pausing = halfStepDone = loopPlaying = false;
    pauseTimer = 0.0f;
    activator = nullptr;
    if (!def.loops && !def.pingPong)
        def.stepAngle /= 2; // integer division truncates toward zero
    goalAngle = def.stepAngle;
    def.speed = SteadySpeed(def.speed, def.stepAngle);
    Log::Instance().Write("Rotator Spawned!\n");
}

void Rotator::Link(std::vector<Beam>& liveBeams, EntityList& entities)
{
    target = nullptr;
    for (Beam& beam : liveBeams) {
        if (PointNearSegment(Line(beam.a, beam.b), def.area))
            carriedBeams.push_back(&beam);
    }
    Entity* found = nullptr;
    for (Entity* e : entities) {
        if (e == this)
            continue;
        if ((e->type == EntityTypes::Target || e->type == EntityTypes::Mover) && e->OwnName() != nullptr &&
            NamesEqual(e->OwnName(), def.targetName))
            found = e;
        if (e->type != EntityTypes::Mover &&
            CirclesOverlap(HullCircle(kRiderRadius, e->position.x, e->position.y), def.area))
            carriedActors.emplace_back(e);
    }
    shapes.push_back(def.area);
    if (found == nullptr) {
        Log::Instance().Write("Rotator: No target found.\n");
        return;
    }
    target = found;
    const Vec2 d = found->position - Vec2{def.area.x, def.area.y};
    def.area.x = found->position.x;
    def.area.y = found->position.y;
    position = previousPosition = found->position;
    PlaceShapes(position.x, position.y);
    ShiftCarriedUnregistered(carriedBeams, carriedActors, d);
}

void Rotator::Update()
{
    SavePose();
    DropReleasedRiders(carriedActors);
    if (Entity* t = target.Get()) {
        const Vec2 d = t->position - position;
        position = t->position;
        PlaceShapes(position.x, position.y);
        LeaveSectors();
        EnterSectors();
        Translate(d.x, d.y);
    }
    if (active) {
        if (pausing) {
            pauseTimer += SimulationStep();
            if (pauseTimer >= def.pauseTime) {
                pausing = false;
                pauseTimer = 0.0f;
            }
            if (loopPlaying)
                StopLoop();
            return;
        }
        angle += returning ? -def.speed : def.speed;
        if (def.stepAngle != 0 && GoalPassed())
            ReachGoal();
        ApplyRotation();
        if (!shapes.empty())
            RunHydraulicLoop(loopChannel, loopPlaying, shapes.front());
    }
    if (!active && loopPlaying)
        StopLoop();
}

bool Rotator::GoalPassed() const
{
    const float goal = static_cast<float>(goalAngle);
    if (def.stepAngle > 0)
        return goalAngle > 0 ? angle > goal : angle < goal;
    return goalAngle < 0 ? angle < goal : angle > goal;
}

void Rotator::ReachGoal()
{
    ActivateNamed(def.activateName, this);
    angle = previousAngle = static_cast<float>(goalAngle);
    if (def.pauseTime > 0.0f)
        pausing = true;
    bool phase;
    if (!def.pingPong) {
        // Saturates at the int64 limits, some four billion stops away.
        const std::int64_t step = def.stepAngle;
        const std::int64_t limit = std::numeric_limits<std::int64_t>::max();
        if (step > 0 && goalAngle > limit - step)
            goalAngle = limit;
        else if (step < 0 && goalAngle < std::numeric_limits<std::int64_t>::min() - step)
            goalAngle = std::numeric_limits<std::int64_t>::min();
        else
            goalAngle += step;
        halfStepDone = !halfStepDone;
        phase = halfStepDone;
    } else {
        returning = !returning;
        goalAngle = returning ? 0 : def.stepAngle;
        phase = returning;
    }
    if (!def.loops && !phase) {
        active = false;
        if (Entity* source = activator.Get())
            source->Activate(this);
    }
}

void Rotator::StopLoop()
{
    if (shapes.empty()) {
        loopPlaying = false;
        if (theGame != nullptr)
            theGame->audio.HaltChannel(loopChannel);
        return;
    }
    StopHydraulicLoop(loopChannel, loopPlaying, shapes.front());
}

void Rotator::Translate(float dx, float dy)
{
    TranslateCarried(carriedBeams, carriedActors, {dx, dy});
}

void Rotator::ApplyRotation()
{
    const float delta = angle - previousAngle;
    Vec2 f;
    Vec2 s;
    AngleToVectors(delta + 90.0f, f, s);
    const float cosA = f.y;
    const float sinA = -f.x;
    const Vec2 c = position;
    SectorGrid* grid = theWorld != nullptr ? &theWorld->Grid() : nullptr;
    if (!carriedBeams.empty()) {
        if (grid != nullptr)
            grid->RemoveBeams(carriedBeams);
        for (Beam* beam : carriedBeams) {
            beam->a = Turn(beam->a, c, cosA, sinA);
            beam->b = Turn(beam->b, c, cosA, sinA);
            const Vec2 d = beam->b - beam->a;
            const float length = Length(d);
            // A beam of zero length keeps its normal and direction.
            if (length > 0.0f) {
                beam->normal = {d.y / length, -d.x / length};
                beam->direction = {d.x / length, d.y / length};
            }
            if (grid != nullptr)
                grid->AddBeam(beam);
        }
    }
    for (const EntityRef<>& rider : carriedActors) {
        Entity* e = rider.Get();
        if (e == nullptr)
            continue;
        e->position = Turn(e->position, c, cosA, sinA);
        e->angle += delta;
        e->PlaceShapes(e->position.x, e->position.y);
        e->RotateShapes(e->angle);
        e->LeaveSectors();
        e->EnterSectors();
    }
}

void Rotator::Draw(float) {}

// Indestructible.
void Rotator::Damage(float) {}

// Takes on a ship or flea standing on one of its beams; never a collision.
bool Rotator::OnContact(Entity* other)
{
    TakeOnLandedRider(*this, carriedBeams, carriedActors, other);
    return false;
}

void Rotator::Activate(Entity* source)
{
    activator = source;
    active = !active;
    pausing = false;
}

// It never dies by itself.
void Rotator::Die() {}

Entity* Rotator::Clone() const
{
    return new Rotator(*this);
}
