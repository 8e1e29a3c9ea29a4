// The 52 vector models the game loads, in its loading order, with the scale
// factor it applies after loading (world size = file size x scale).
#pragma once

#include <array>

namespace datagen {

struct ModelName {
    const char* name;
    float scale;
};

inline constexpr std::array<ModelName, 52> kModelNames = {{
    {"Player", 0.275f},       {"Player_Fly", 0.275f},    {"Player_Leg", 0.275f},
    {"PlayerBullet01", 1.0f}, {"EnemyBullet01", 1.0f},   {"EnemyBullet02", 1.0f},
    {"Seeker", 1.0f},         {"BlueTurret", 0.6f},      {"RedTurret", 0.6f},
    {"BlueTank_01", 0.6f},    {"BlueTank_02", 0.6f},     {"BlueTank_03", 0.6f},
    {"FuelPod", 0.5f},        {"Scientist_01", 0.135f},  {"Scientist_02", 0.135f},
    {"Scientist_03", 0.135f}, {"Scientist_04", 0.135f},  {"Generator", 0.5f},
    {"Button01", 0.3f},       {"Button02", 0.3f},        {"Laser", 1.0f},
    {"Tree01", 0.5f},         {"Tree02", 0.5f},          {"Tree03", 0.5f},
    {"Tree04", 0.5f},         {"Tree05", 0.5f},          {"Tree06", 0.5f},
    {"CheckPoint01", 0.5f},   {"CheckPoint02", 0.5f},    {"CheckPoint03", 0.5f},
    {"CheckPoint04", 0.5f},   {"ParticleEmitter", 1.0f}, {"RedShield", 0.75f},
    {"PlayerShield", 0.75f},  {"BrokenShip1", 0.275f},   {"BrokenShip2", 0.275f},
    {"BrokenShip3", 0.275f},  {"BrokenShip4", 0.275f},   {"BrokenShip5", 0.275f},
    {"BrokenShip6", 0.275f},  {"BrokenShip7", 0.275f},   {"Mine", 0.75f},
    {"Missile", 0.75f},       {"Flea", 0.5f},            {"Lander", 1.0f},
    {"Mutant", 1.0f},         {"MineLayer", 1.0f},       {"game_over", 1.0f},
    {"hiscores", 1.0f},       {"SuperTurret", 0.6f},     {"Station", 0.5f},
    {"Station2", 0.5f},
}};

}  // namespace datagen
