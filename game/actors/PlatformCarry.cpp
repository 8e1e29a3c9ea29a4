#include "PlatformCarry.h"

#include "Collision.h"
#include "Flea.h"
#include "Game.h"
#include "Laser.h"
#include "Line.h"
#include "Mover.h"
#include "Player.h"
#include "Random.h"
#include "ResourceTables.h"
#include "Rotator.h"
#include "WrapFrame.h"

#include <algorithm>

void DropReleasedRiders(std::vector<EntityRef<>>& riders)
{
    if (riders.empty())
        return;
    riders.erase(std::remove_if(riders.begin(), riders.end(),
                                [](const EntityRef<>& rider) { return ShouldReleaseCarried(rider); }),
                 riders.end());
}

namespace {

// Moves beams and riders by d; with a grid the beams leave it and enter it
// again and the riders re-register.
void MoveCarried(const std::vector<Beam*>& beams, const std::vector<EntityRef<>>& riders, Vec2 d, SectorGrid* grid)
{
    if (grid != nullptr && !beams.empty())
        grid->RemoveBeams(beams);
    for (Beam* beam : beams) {
        beam->a += d;
        beam->b += d;
        if (grid != nullptr)
            grid->AddBeam(beam);
    }
    for (const EntityRef<>& rider : riders) {
        Entity* e = rider.Get();
        if (e == nullptr)
            continue;
        e->position += d;
        e->PlaceShapes(e->position.x, e->position.y);
        if (grid != nullptr) {
            e->LeaveSectors();
            e->EnterSectors();
        }
    }
}

} // namespace

void TranslateCarried(const std::vector<Beam*>& beams, const std::vector<EntityRef<>>& riders, Vec2 d)
{
    MoveCarried(beams, riders, d, theWorld != nullptr ? &theWorld->Grid() : nullptr);
}

void ShiftCarriedUnregistered(const std::vector<Beam*>& beams, const std::vector<EntityRef<>>& riders, Vec2 d)
{
    MoveCarried(beams, riders, d, nullptr);
}

bool CarriesActor(const std::vector<EntityRef<>>& riders, const Entity* entity)
{
    return std::any_of(riders.begin(), riders.end(), [entity](const EntityRef<>& r) { return r.Get() == entity; });
}

bool CarriesBeam(const std::vector<Beam*>& beams, const Beam* beam)
{
    return beam != nullptr && std::find(beams.begin(), beams.end(), beam) != beams.end();
}

void TakeOnLandedRider(Entity& platform, std::vector<Beam*>& beams, std::vector<EntityRef<>>& riders, Entity* other)
{
    if (other == nullptr)
        return;
    if (other->type == EntityTypes::Player) {
        auto* ship = static_cast<Player*>(other);
        if (!ship->landed || ship->carrier || !CarriesBeam(beams, ship->landedBeam))
            return;
        ship->carrier = &platform;
        if (!CarriesActor(riders, ship))
            riders.emplace_back(ship);
    } else if (other->type == EntityTypes::Flea) {
        auto* flea = static_cast<Flea*>(other);
        if (!flea->landed || flea->carrier || !CarriesBeam(beams, flea->landedBeam))
            return;
        flea->carrier = &platform;
        if (!CarriesActor(riders, flea))
            riders.emplace_back(flea);
    }
}

void ActivateNamed(const char* name, Entity* self)
{
    if (theGame == nullptr)
        return;
    std::vector<Entity*> found;
    theGame->FindEntitiesByName(name, found);
    for (Entity* e : found) {
        if (e != self)
            e->Activate(nullptr);
    }
}

bool ActivateIdleNamed(const char* name, Entity* self, Entity* source)
{
    if (theGame == nullptr)
        return false;
    std::vector<Entity*> found;
    theGame->FindEntitiesByName(name, found);
    bool any = false;
    for (Entity* e : found) {
        if (e == self)
            continue;
        const bool idleRotator = e->type == EntityTypes::Rotator && !static_cast<Rotator*>(e)->active;
        const bool idleMover = e->type == EntityTypes::Mover && !static_cast<Mover*>(e)->active;
        if (idleRotator || idleMover || e->type == EntityTypes::Laser) {
            e->Activate(source);
            any = true;
        }
    }
    return any;
}

namespace {

// The ship inside the circle, else the rim point facing it; false when the
// segment misses the circle (or without a game).
bool SoundPoint(const HullCircle& circle, Vec2& out)
{
    if (theGame == nullptr || theGame->player == nullptr)
        return false;
    const WrapFrame frame{theGame->player->position, theGame->WorldWidth()};
    const Vec2 p = NearestPlayerPosition(circle.x, circle.y, frame);
    if (PointInCircle(p.x, p.y, circle.radius, circle.x, circle.y)) {
        out = p;
        return true;
    }
    return SegmentCircleIntersection(Line(p, Vec2{circle.x, circle.y}), circle, &out);
}

} // namespace

void RunHydraulicLoop(int& channel, bool& playing, const HullCircle& circle)
{
    Vec2 at;
    if (!SoundPoint(circle, at))
        return;
    Game& game = *theGame;
    if (!playing) {
        playing = true;
        channel = game.audio.PlaySample(game.resources.Sample(SampleId::Hydraulic), true);
    }
    game.PositionSound(channel, at.x, at.y);
}

void StopHydraulicLoop(int channel, bool& playing, const HullCircle& circle)
{
    playing = false;
    if (theGame == nullptr)
        return;
    Game& game = *theGame;
    game.audio.HaltChannel(channel);
    Vec2 at;
    if (!SoundPoint(circle, at))
        return;
    const SampleId clank = (Random() % 2 != 0) ? SampleId::HydraulicStop : SampleId::HydraulicStop2;
    const int stop = game.audio.PlaySample(game.resources.Sample(clank), false);
    game.PositionSound(stop, at.x, at.y);
}
