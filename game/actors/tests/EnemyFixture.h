#pragma once

// A headless game for the enemies' tests: the ship's fixture with hulls for
// every enemy and shot, a long floor, and helpers to place actors and shots.
#include "ShipFixture.h"

#include "EnemyBullet.h"
#include "ExplosionParticles.h"
#include "PuffParticles.h"
#include "Seeker.h"
#include "ShockRing.h"
#include "SparkParticles.h"

#include <string>
#include <typeinfo>

struct EnemyFixture : ShipFixture {
    float floorY = 0.0f; // the floor's height after the build's shift

    // The floor is the first beam, 4000 long; `extra` beams follow it.
    explicit EnemyFixture(const std::vector<Beam>& extra = {})
    {
        const struct {
            const char* name;
            float radius;
        } hulls[] = {{"EnemyBullet01", 2.0f}, {"EnemyBullet02", 2.0f}, {"Seeker", 3.0f},
                     {"BlueTurret", 10.0f},   {"RedTurret", 10.0f},    {"SuperTurret", 10.0f},
                     {"BlueTank_01", 8.0f},   {"BlueTank_02", 8.0f},   {"BlueTank_03", 8.0f},
                     {"Lander", 10.0f},       {"Mutant", 10.0f},       {"Scientist_01", 5.0f},
                     {"Missile", 4.0f},       {"Mine", 6.0f},          {"MineLayer", 10.0f}};
        for (const auto& h : hulls) {
            models.models[h.name].circles = {HullCircle(h.radius, 0, 0)};
            models.models[h.name].beams = {MakeBeam({-1, 0}, {1, 0})};
        }
        // Two feet, the left one first (turning mirrors x offsets): each can
        // meet a beam of its own.
        models.models["Flea"].circles = {HullCircle(5.0f, 0, 0, 8.0f, 0.0f), HullCircle(5.0f, 0, 0, -8.0f, 0.0f)};
        models.models["Flea"].beams = {MakeBeam({-1, 0}, {1, 0})};
        std::vector<Beam> beams{MakeBeam({0, 0}, {4000, 0})};
        beams.insert(beams.end(), extra.begin(), extra.end());
        StartLevelOf(beams);
        floorY = game.map.liveBeams[0].a.y;
        host.audio.calls.clear();
        game.particles.Clear();
    }

    template <typename T>
    T* Add(Vec2 at, float angle = 0.0f)
    {
        auto* actor = new T();
        actor->Spawn(at.x, at.y, angle);
        actor->EnterSectors();
        game.entities.Append(actor);
        return actor;
    }

    // A shot of the kind in the list, registered as after an update.
    template <typename T>
    T* Shoot(std::list<Projectile*>& list, Vec2 at, Vec2 velocity, float angle = 0.0f)
    {
        auto* shot = new T();
        shot->Spawn(at.x, at.y, velocity.x, velocity.y, angle);
        shot->EnterSectors();
        list.push_back(shot);
        return shot;
    }

    template <typename T>
    int CountParticles(const ParticleList& list) const
    {
        int n = 0;
        for (std::size_t i = 0; i < list.Size(); ++i)
            n += dynamic_cast<const T*>(list.At(i)) != nullptr ? 1 : 0;
        return n;
    }

    // Enemy bullets and seekers fired so far.
    int EnemyShotsOfKind(int kind) const
    {
        int n = 0;
        for (const Projectile* shot : game.enemyShots)
            n += shot->kind == kind ? 1 : 0;
        return n;
    }

    std::vector<std::string> PopupTexts() const
    {
        std::vector<std::string> texts;
        for (const ScorePopup& popup : game.scorePopups)
            texts.push_back(popup.text);
        return texts;
    }
};
