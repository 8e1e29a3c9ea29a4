#pragma once

// What the enemies share: where the ship is seen from them, the shots they
// fire, the bursts they leave, and the bonus a kill by a shot pays.
#include "Beam.h"
#include "ResourceTables.h"
#include "Vec2.h"

#include <cstdint>
#include <vector>

class Entity;
class Player;
class Sector;
struct Line;

// The running game's ship; null without a game.
Player* TheShip();
// The ship is spawning or dying: nothing waiting for it starts.
bool ShipAbsent();
// Unit vector toward the nearest image of the ship ((0, 0) on it).
Vec2 ToShip(Vec2 from);
// Distance to the nearest image of the ship.
float ShipDistance(Vec2 from);

// The horizontal wrap of an actor: x below 0 moves by +W, then x at or
// beyond W by -W, the previous position with it. Answers the total shift.
float WrapAcrossSeam(Vec2& position, Vec2& previous);

// Plays the sample once (or looping) and places it at `at`; the channel.
int PlaySampleAt(SampleId id, Vec2 at, bool loop = false);

// Plays the sample once, not placed.
void PlaySampleUnplaced(SampleId id);

// An enemy bullet owned by `owner` from the muzzle into the enemies' shots,
// a puff at the muzzle, the cannon sound placed at the owner.
void FireEnemyBullet(Entity& owner, Vec2 muzzle, Vec2 velocity);
// A seeker owned by `owner` into the enemies' shots (no sound).
void FireSeeker(Entity& owner, Vec2 muzzle, Vec2 velocity, float angle);
// A gun whose barrel points along minus its side vector: an enemy bullet
// from `muzzleDistance` out along the barrel toward the ship, 4 units a
// tick, when the ship is within range and on the barrel's side.
void FireBulletFromBarrel(Entity& gun, float muzzleDistance);

// A shock ring of the given speed and colour.
void AddShockRing(Vec2 at, float speed, Rgb colour);
// The death of a gun: bursts of 30, 20 and 15 particles in the three start
// colours, a ring of speed 30, the medium explosion sound.
void GunBursts(Vec2 at, const Rgb (&colours)[3], Rgb ring);

// After a hit: when it turned the victim from alive to dead, pays
// `times` x its points more with the popup "<times + 1>X <points>" at `at`.
void PayKillBonus(const Entity& victim, bool wasAlive, int times, Vec2 at);

// The first beam the circle meets in the cells (in list order); null when
// none. The answer of the actors' terrain tests with one circle.
Beam* FirstBeamMet(const std::vector<Sector*>& cells, float radius, Vec2 centre);
// The same test answering whether a beam was met, with its normal written
// to normalOut only then.
bool BeamNormalMet(const std::vector<Sector*>& cells, float radius, Vec2 centre, Vec2* normalOut);

// The crossings of the probe with the cell's beams, each measured from
// `from`: every one nearer than `nearest` lowers it and is written to `at`.
// Answers whether any was nearer.
bool NearerBeamCrossing(const Sector& cell, const Line& probe, Vec2 from, float& nearest, Vec2& at);

// A gun's fire timer: counted down; at its expiry reloaded with 150 or 200
// ticks, and true is answered (the time for an attempt).
bool GunReloaded(std::int32_t& fireTimer);
// Guns fire only at a ship image closer than this.
constexpr float kGunRange = 500.0f;

// The model drawn at the interpolated pose, not mirrored; turned by the
// interpolated angle when `rotate`, at half brightness when `dimmed`.
void DrawActorModel(const Entity& actor, const char* model, float alpha, bool rotate = true,
                    bool dimmed = false);
