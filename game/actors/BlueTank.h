#pragma once

#include "Beam.h"
#include "Entity.h"

#include <cstdint>

// A gun crawling back and forth along the beam it stands on.
class BlueTank : public Entity {
public:
    float frame = 0.0f;            // animation frame in [0, 3)
    Beam* surface = nullptr;       // the beam it crawls on (a live beam); found after level start
    bool towardB = false;          // crawling along the beam's direction
    float speed = 0.0f;            // units per tick, 0..2
    bool accelerating = false;
    std::int32_t fireTimer = 0;
    std::int32_t shotCount = 0;    // fire attempts since the last pause

    BlueTank();

    void Spawn(float x, float y, float angle) override;
    void Update() override;
    void Draw(float alpha) override;
    void Damage(float amount) override;
    void Die() override;
    Entity* Clone() const override;
    // Finds the beam within 5 units of its centre: the first hit of its cells.
    void PostLoad() override;
    // The frame's model ("BlueTank_01" to "_03").
    const char* FrameModel() const;

    static constexpr std::int32_t kPoints = 100;
    static constexpr float kTopSpeed = 2.0f;

private:
    void Crawl();
};
