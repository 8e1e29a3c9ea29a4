#pragma once

// What the two platforms (Rotator, Mover) share: moving what they carry,
// dropping riders that left, the hydraulic sound and the hand-over of an
// activation to named actors.
#include "Beam.h"
#include "Entity.h"
#include "HullCircle.h"
#include "Vec2.h"

#include <vector>

// Drops every rider that ShouldReleaseCarried lets go: deleted, dead, a
// launched missile, the ship once it no longer stands. Runs before anything
// moves, so no platform reads through a rider that is gone.
void DropReleasedRiders(std::vector<EntityRef<>>& riders);

// Moves the beams (out of the grid, moved, back in) and the riders (placed,
// re-registered) by d; null riders are skipped.
void TranslateCarried(const std::vector<Beam*>& beams, const std::vector<EntityRef<>>& riders, Vec2 d);

// Moves beams and riders by d without touching the grid (level start, before
// the grid is built).
void ShiftCarriedUnregistered(const std::vector<Beam*>& beams, const std::vector<EntityRef<>>& riders, Vec2 d);

// Whether the rider list holds the entity.
bool CarriesActor(const std::vector<EntityRef<>>& riders, const Entity* entity);
bool CarriesBeam(const std::vector<Beam*>& beams, const Beam* beam);

// Takes on a standing ship or flea whose landed beam is one of the beams:
// its carrier becomes the platform and it joins the riders once.
void TakeOnLandedRider(Entity& platform, std::vector<Beam*>& beams, std::vector<EntityRef<>>& riders,
                       Entity* other);

// Calls Activate(null) on every actor named `name` except `self`.
void ActivateNamed(const char* name, Entity* self);

// A switch's or zone's press: every idle rotator or mover and every laser
// named `name` (other than self) receives Activate(source); answers whether
// any did.
bool ActivateIdleNamed(const char* name, Entity* self, Entity* source);

// The hydraulic loop of a platform, placed at the rim point of the circle
// facing the ship (or at the ship when it stands inside). A turning or
// travelling tick starts the loop when it is not playing and places it; the
// stop halts it with one clank at the sound point.
void RunHydraulicLoop(int& channel, bool& playing, const HullCircle& circle);
void StopHydraulicLoop(int channel, bool& playing, const HullCircle& circle);
