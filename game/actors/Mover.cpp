#include "Mover.h"

#include "BoxRegistration.h"
#include "Collision.h"
#include "Game.h"
#include "Line.h"
#include "ActorAxis.h"
#include "ActorDraw.h"
#include "Log.h"
#include "MathUtil.h"
#include "PlatformCarry.h"

#include <algorithm>

namespace {

constexpr float kRiderRadius = 15.0f;

} // namespace

Mover::Mover()
{
    type = EntityTypes::Mover;
}

void Mover::Spawn(float x, float y, float a)
{
    SpawnPose(x, y, a);
    active = def.loops;
    returning = waiting = loopPlaying = false;
    waitTimer = travelTimer = 0.0f;
    activator = nullptr;
    delayPending = def.startDelay > 0.0f;
    if (delayPending)
        waiting = true;
    Log::Instance().Write("Mover Spawned!\n");
    // A travel time of 0 or less disables the travel: said once here.
    if (!(def.travelTime > 0.0f))
        Log::Instance().Write("Mover travel time is not positive!\n");
}

void Mover::Link(std::vector<Beam>& liveBeams, EntityList& entities)
{
    targetA = nullptr;
    targetB = nullptr;
    for (Beam& beam : liveBeams) {
        if (SegmentIntersectsRect(Line(beam.a, beam.b), def.area))
            carriedBeams.push_back(&beam);
    }
    for (Entity* e : entities) {
        if (e == this)
            continue;
        if (e->type == EntityTypes::Target && e->OwnName() != nullptr) {
            if (NamesEqual(e->OwnName(), def.targetNameA))
                targetA = e;
            if (NamesEqual(e->OwnName(), def.targetNameB))
                targetB = e;
        }
        if (e->type != EntityTypes::Rotator && e->type != EntityTypes::Mover &&
            CircleIntersectsRect(HullCircle(kRiderRadius, e->position.x, e->position.y), def.area))
            carriedActors.emplace_back(e);
    }
    if (!targetA || !targetB) {
        Log::Instance().Write("Mover: No target found.\n");
        return;
    }
    const Vec2 d = targetA->position - def.area.centre;
    position = previousPosition = targetA->position;
    def.area.SetCentre(position.x, position.y);
    ShiftCarriedUnregistered(carriedBeams, carriedActors, d);
}

void Mover::Update()
{
    SavePose();
    DropReleasedRiders(carriedActors);
    Entity* a = targetA.Get();
    Entity* b = targetB.Get();
    if (a == nullptr || b == nullptr) {
        Log::Instance().Write("Mover without targets!\n");
        return;
    }
    if (active && def.travelTime > 0.0f) {
        if (waiting) {
            waitTimer += SimulationStep();
            const float limit = delayPending ? def.startDelay : def.waitTime;
            if (waitTimer >= limit) {
                delayPending = false;
                waiting = false;
                waitTimer = 0.0f;
            }
            if (loopPlaying)
                StopLoop();
            return;
        }
        Travel(a->position, b->position);
    }
    if ((!active || !(def.travelTime > 0.0f)) && loopPlaying)
        StopLoop();
}

void Mover::Travel(Vec2 a, Vec2 b)
{
    travelTimer += SimulationStep();
    const float f = travelTimer / def.travelTime;
    position = returning ? b - (b - a) * f : a + (b - a) * f;
    if (travelTimer >= def.travelTime)
        Arrive();
    def.area.SetCentre(position.x, position.y);
    LeaveSectors();
    EnterSectors();
    MoveCarried(position.x - previousPosition.x, position.y - previousPosition.y);
    RunHydraulicLoop(loopChannel, loopPlaying, SoundCircle());
}

void Mover::Arrive()
{
    ActivateNamed(def.activateName, this);
    returning = !returning;
    travelTimer = 0.0f;
    if (def.waitTime > 0.0f)
        waiting = true;
    if (!def.loops && !returning) {
        active = false;
        if (Entity* source = activator.Get())
            source->Activate(this);
    }
}

HullCircle Mover::SoundCircle() const
{
    return HullCircle(std::max(def.area.half.x, def.area.half.y), position.x, position.y);
}

void Mover::StopLoop()
{
    StopHydraulicLoop(loopChannel, loopPlaying, SoundCircle());
}

void Mover::MoveCarried(float dx, float dy)
{
    TranslateCarried(carriedBeams, carriedActors, {dx, dy});
}

bool Mover::CollideShapes(const std::vector<HullCircle>& circles, Vec2* normalOut)
{
    for (const HullCircle& c : circles) {
        if (!CircleIntersectsRect(c, def.area))
            continue;
        if (normalOut != nullptr)
            *normalOut = Normalize(def.area.centre.x - c.x, def.area.centre.y - c.y);
        return true;
    }
    return false;
}

void Mover::Activate(Entity* source)
{
    activator = source;
    active = !active;
    waiting = false;
    if (def.startDelay > 0.0f) {
        delayPending = true;
        waiting = true;
    }
}

void Mover::Draw(float)
{
    const ActorCanvas canvas = CurrentCanvas();
    if (canvas)
        DrawShapes(*canvas.sink);
}

// Indestructible.
void Mover::Damage(float) {}

// Takes on a ship or flea standing on one of its beams; never a collision.
bool Mover::OnContact(Entity* other)
{
    TakeOnLandedRider(*this, carriedBeams, carriedActors, other);
    return false;
}

// It never dies by itself.
void Mover::Die() {}

Entity* Mover::Clone() const
{
    return new Mover(*this);
}

void Mover::EnterSectors()
{
    EnterSectorsByBox(*this, def.area);
}

void Mover::PostLoad()
{
    LeaveSectors();
    EnterSectors();
}

void Mover::MoveArea(Vec2 offset)
{
    def.area.SetCentre(def.area.centre.x + offset.x, def.area.centre.y + offset.y);
}
