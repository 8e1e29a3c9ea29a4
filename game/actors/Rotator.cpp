#include "Rotator.h"

#include "ActorAxis.h"
#include "Collision.h"
#include "Game.h"
#include "Line.h"
#include "Log.h"
#include "MathUtil.h"
#include "PlatformCarry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr float kRiderRadius = 15.0f;
constexpr float kMaxSpeed = 360.0f; // degrees per tick

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
    // A turn of more than a whole revolution a tick shows nothing more, and
    // a speed past that (up to infinity, or no number) would make the angle
    // and every carried point infinite or NaN: the speed is kept within one
    // revolution a tick, NaN counting as standing still. A pause that is no
    // number is none.
    if (std::isnan(def.speed))
        def.speed = 0.0f;
    def.speed = std::clamp(def.speed, -kMaxSpeed, kMaxSpeed);
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
