#pragma once

#include "Clock.h"
#include "Game.h"
#include "Particle.h"
#include "Player.h"
#include "Random.h"

#include <cstdint>

// A clock the test sets by hand.
class FakeClock : public Clock {
public:
    std::uint32_t now = 0;
    std::uint32_t Ticks() override { return now; }
};

// A Game with a seeded generator, no gravity and the view's top-left at the
// origin (640 x 480). LookAt centres the view on a point.
struct ParticleFixture {
    Game game;
    Player& ship = *game.player;

    ParticleFixture()
    {
        SeedRandom(1234);
        game.gravity = {0.0f, 0.0f};
        ship.camera = {0.0f, 0.0f};
    }
    void LookAt(float x, float y) { ship.camera = {x - 320.0f, y - 240.0f}; }
};

inline Particle MakeParticle(float x, float y, float vx, float vy, float life, float maxLife = 2.0f)
{
    Particle p;
    p.position = p.previousPosition = {x, y};
    p.velocity = {vx, vy};
    p.life = life;
    p.maxLife = maxLife;
    p.size = 8.0f;
    return p;
}
