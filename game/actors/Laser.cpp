#include "Laser.h"

#include "ActorAxis.h"
#include "ActorDraw.h"
#include "Collision.h"
#include "Game.h"
#include "Line.h"
#include "Log.h"
#include "MapData.h"
#include "MathUtil.h"
#include "Player.h"
#include "PuffParticles.h"
#include "Random.h"
#include "ResourceTables.h"
#include "Sector.h"
#include "SparkParticles.h"
#include "Switch.h"
#include "WrapFrame.h"

#include <cmath>
#include <cstring>
#include <memory>


Laser::Laser()
{
    type = EntityTypes::Laser;
}

void Laser::Spawn(float x, float y, float a)
{
    SpawnPose(x, y, a);
    Log::Instance().Write("Laser Spawned!\n");
    on = startsOn;
    phaseTimer = -startDelay;
    onTicks = 0;
    activator = nullptr;
    beamSoundPlaying = false;
    hasBeam = false;
}

void Laser::PlayPhaseSound()
{
    if (theGame == nullptr)
        return;
    Game& game = *theGame;
    const SampleId id = on ? SampleId::LaserDischarge : SampleId::LaserSpark;
    const int channel = game.audio.PlaySample(game.resources.Sample(id), false);
    game.PositionSound(channel, position.x, position.y);
}

void Laser::Update()
{
    SavePose();
    phaseTimer += SimulationStep();
    if ((on && onTime > 0.0f && phaseTimer >= onTime) || (!on && offTime > 0.0f && phaseTimer >= offTime)) {
        phaseTimer = 0.0f;
        on = !on;
        if (Entity* source = activator.Get())
            source->Activate(this);
        PlayPhaseSound();
    }
    if (!on) {
        if (beamSoundPlaying && theGame != nullptr)
            theGame->audio.HaltChannel(beamChannel);
        beamSoundPlaying = false;
        return;
    }
    const Vec2 u = ActorAxis(angle);
    const Vec2 a0 = position - 10.0f * u;
    const Vec2 muzzle = position - 5.0f * u;
    ++onTicks;
    const SectorGrid* grid = theWorld != nullptr ? &theWorld->Grid() : nullptr;
    // A start outside the grid casts nothing: the beam would have no length.
    hasBeam = grid != nullptr && grid->SectorAt(a0.x, a0.y) != nullptr;
    if (hasBeam)
        CastBeam(a0, muzzle, u);
    LeaveSectors();
    EnterSectors();
}

void Laser::VisitCell(Sector& cell, const Line* lastBeam, Vec2 muzzle, Vec2 end)
{
    LaserCellScan& scan = marchScans.For(&cell);
    // Between the cell's departures its list only grows at the end, so the
    // places found stay true. After a departure the walk goes on from the
    // first place not yet visited, as a walk of the whole list by place
    // would (from the start, at the start of a visit), and the next visit
    // looks at the whole list again.
    std::size_t next = 0; // the first place this visit has not reached
    if (!scan.complete)
        scan.Restart(0);
    for (std::size_t k = 0;;) {
        if (scan.scanned != 0 && scan.departures != cell.Departures()) {
            scan.Restart(next);
            k = 0;
        }
        scan.departures = cell.Departures();
        const CellEntities unscanned = cell.EntitiesFrom(scan.scanned);
        for (auto it = unscanned.begin(); it != unscanned.end(); ++it) {
            const Entity* other = *it;
            // A switch out of reach of the body and the beam is never
            // touched whatever the phase: only the others are visited.
            const bool sought = other->type == EntityTypes::Player ||
                (other->type == EntityTypes::Switch && Touches(other->shapes, nullptr, lastBeam));
            if (sought)
                scan.sought.push_back({static_cast<std::uint32_t>(it.Place())});
        }
        scan.scanned = cell.EntityPlaces();
        if (k >= scan.sought.size())
            break;
        LaserCellScan::Sought& found = scan.sought[k++];
        next = found.place + 1;
        Entity* other = cell.EntityAt(found.place);
        if (other == nullptr)
            continue; // it left the cell
        if (other->type == EntityTypes::Switch) {
            // A switch is met on every visit of its cell; the shapes are
            // tested once per phase of the laser.
            std::int8_t& touched = on ? found.touchedOn : found.touchedOff;
            if (touched < 0)
                touched = CollideShapes(other->shapes, nullptr) ? 1 : 0;
            if (touched != 0)
                other->OnContact(this);
        } else if (other->type == EntityTypes::Player) {
            BurnShip(*static_cast<Player*>(other), muzzle, end);
        }
    }
}

void Laser::BurnShip(Player& ship, Vec2 muzzle, Vec2 end)
{
    if (ship.dying || !CollideShapes(ship.shapes, nullptr))
        return;
    const Line toward(muzzle, end);
    const std::vector<HullCircle> hull = ship.shapes;
    for (const HullCircle& c : hull) {
        Vec2 q;
        if (!SegmentCircleIntersection(toward, c, &q))
            continue;
        if (theGame != nullptr)
            theGame->particles.Add(std::make_unique<PuffParticles>(q.x, q.y, 0.0f, 0.0f));
        ship.hitCooldown = 0;
        ship.Damage(kBeamDamage);
    }
}

void Laser::CastBeam(Vec2 a0, Vec2 muzzle, Vec2 u)
{
    const SectorGrid& grid = theWorld->Grid();
    Vec2 s = a0;
    float best = 9999.0f;
    bool hit = false;
    Vec2 hitPoint;
    Vec2 hitNormal;
    static const float kOffsets[3] = {-kSectorSize, 0.0f, kSectorSize};
    const Line lastBeam(beam.a, beam.b); // what the touches test this march
    marchScans.BeginMarch();
    while (grid.SectorAt(s.x, s.y) != nullptr) {
        const Line ray(muzzle, s);
        for (float dx : kOffsets) {
            for (float dy : kOffsets) {
                Sector* cell = grid.SectorAt(s.x + dx, s.y + dy);
                if (cell == nullptr)
                    continue;
                for (std::size_t i = 0; i < cell->beams.size(); ++i) {
                    const Beam& b = *cell->beams[i];
                    const Line wall(b.a, b.b);
                    Vec2 p;
                    if (SegmentsIntersect(wall, ray, &p) && Length(position - p) < best) {
                        best = Length(position - p);
                        hitPoint = p;
                        hitNormal = wall.normal;
                        hit = true;
                    }
                }
                VisitCell(*cell, hasBeam ? &lastBeam : nullptr, muzzle, hit ? hitPoint : s);
            }
        }
        if (hit)
            break;
        s -= kMarchStep * u;
    }

    if (theGame != nullptr && theGame->player != nullptr) {
        Game& game = *theGame;
        if (!beamSoundPlaying) {
            beamSoundPlaying = true;
            beamChannel = game.audio.PlaySample(game.resources.Sample(SampleId::LaserBeam), true);
        }
        const WrapFrame frame{game.player->position, game.WorldWidth()};
        const Vec2 ear = NearestPlayerPosition(position.x, position.y, frame);
        const Vec2 at = ClosestPointOnSegment(ear.x, ear.y, Line(muzzle, s));
        game.PositionSound(beamChannel, at.x, at.y);
    }

    beam.a = a0;
    beam.b = hit ? hitPoint : s;
    const Vec2 d = beam.b - beam.a;
    const float length = Length(d);
    if (length > 0.0f) {
        beam.normal = {d.y / length, -d.x / length};
        beam.direction = {d.x / length, d.y / length};
    }
    beam.stamp = 0;
    const float r = RandomFloat(0.5f);
    const float g = RandomFloat(0.5f);
    const float b = RandomFloat(0.5f);
    beam.colourA = beam.colourB = Rgb{r, g, b};

    if (hit && onTicks % 10 == 0 && theGame != nullptr) {
        const Vec2 at = hitPoint + hitNormal;
        theGame->particles.Add(std::make_unique<SparkParticles>(at.x, at.y, hitNormal.x, hitNormal.y));
    }
}

bool Laser::CollideShapes(const std::vector<HullCircle>& circles, Vec2* normalOut)
{
    if (!(on && hasBeam))
        return Touches(circles, normalOut, nullptr);
    const Line segment(beam.a, beam.b);
    return Touches(circles, normalOut, &segment);
}

bool Laser::Touches(const std::vector<HullCircle>& circles, Vec2* normalOut, const Line* segment) const
{
    for (const HullCircle& k : circles) {
        for (const HullCircle& o : shapes) {
            if (CirclesOverlap(o, k)) {
                if (normalOut != nullptr)
                    *normalOut = Normalize(o.x - k.x, o.y - k.y);
                return true;
            }
        }
        if (segment != nullptr && DistancePointToSegment(k.x, k.y, *segment) <= k.radius + 2.0f) {
            const Vec2 q = ClosestPointOnSegment(k.x, k.y, *segment);
            if (normalOut != nullptr)
                *normalOut = Normalize(q.x - k.x, q.y - k.y);
            return true;
        }
    }
    return false;
}

void Laser::EnterSectors()
{
    if (theWorld == nullptr)
        return;
    SectorGrid& grid = theWorld->Grid();
    const std::size_t first = sectors.size();
    for (const HullCircle& circle : shapes)
        grid.SectorsForCircle(circle, sectors);
    if (on && hasBeam)
        grid.SectorsForBeam(beam, sectors);
    EnterListedSectors(first);
}

void Laser::Activate(Entity* source)
{
    on = !on;
    PlayPhaseSound();
    activator = source;
    phaseTimer = 0.0f;
    Log::Instance().Write("Laser triggered!\n");
}

void Laser::Draw(float alpha)
{
    DrawModelPose(*this, "Laser", alpha);
    const ActorCanvas canvas = CurrentCanvas();
    if (!canvas || !on || !hasBeam)
        return;
    canvas.sink->Begin(DrawSink::Primitive::Quads);
    EmitBeamQuads(*canvas.sink, beam);
    EmitBeamQuads(*canvas.sink, beam);
    canvas.sink->End();
}

// Indestructible.
void Laser::Damage(float) {}

// It never dies by itself.
void Laser::Die() {}

Entity* Laser::Clone() const
{
    return new Laser(*this);
}

void Laser::ReadMapRecord(const ActorRecord& record)
{
    std::memcpy(name, record.name, sizeof name);
    onTime = record.onTime;
    offTime = record.offTime;
    startDelay = record.startDelay;
    startsOn = record.startsOn;
}
