#include "ResourceTables.h"

namespace {

constexpr ModelEntry Own(const char* name, float scale)
{
    return {name, scale, CircleList::Own, -1, false};
}
constexpr ModelEntry NoCircles(const char* name, float scale)
{
    return {name, scale, CircleList::None, -1, false};
}
constexpr ModelEntry Shared(const char* name, float scale, int list, bool scalesList)
{
    return {name, scale, CircleList::Shared, list, scalesList};
}

} // namespace

const std::array<TextureEntry, kTextureCount>& TextureTable()
{
    static const std::array<TextureEntry, kTextureCount> table = {{
        {"BeamParticle", TextureFilter::Linear},
        {"Cursor", TextureFilter::Linear},
        {"HUD_radar", TextureFilter::Nearest},
        {"shield", TextureFilter::Nearest},
        {"fuel", TextureFilter::Nearest},
        {"HUDBar", TextureFilter::Nearest},
    }};
    return table;
}

const std::array<ModelEntry, kModelCount>& ModelTable()
{
    static const std::array<ModelEntry, kModelCount> table = {{
        Own("Player", 0.275f),
        NoCircles("Player_Fly", 0.275f),
        NoCircles("Player_Leg", 0.275f),
        Own("PlayerBullet01", 1.0f),
        // Both bullets end up with EnemyBullet02's circles.
        Shared("EnemyBullet01", 1.0f, 0, false),
        Shared("EnemyBullet02", 1.0f, 0, true),
        Own("Seeker", 1.0f),
        Own("BlueTurret", 0.6f),
        Own("RedTurret", 0.6f),
        Own("BlueTank_01", 0.6f),
        Own("BlueTank_02", 0.6f),
        Own("BlueTank_03", 0.6f),
        Own("FuelPod", 0.5f),
        Own("Scientist_01", 0.135f),
        Own("Scientist_02", 0.135f),
        Own("Scientist_03", 0.135f),
        Own("Scientist_04", 0.135f),
        Own("Generator", 0.5f),
        Own("Button01", 0.3f),
        Own("Button02", 0.3f),
        Own("Laser", 1.0f),
        Own("Tree01", 0.5f),
        Own("Tree02", 0.5f),
        Own("Tree03", 0.5f),
        Own("Tree04", 0.5f),
        Own("Tree05", 0.5f),
        Own("Tree06", 0.5f),
        Own("CheckPoint01", 0.5f),
        Own("CheckPoint02", 0.5f),
        Own("CheckPoint03", 0.5f),
        Own("CheckPoint04", 0.5f),
        Own("ParticleEmitter", 1.0f),
        // Both shields end up with PlayerShield's circles, scaled once.
        Shared("RedShield", 0.75f, 1, false),
        Shared("PlayerShield", 0.75f, 1, true),
        Own("BrokenShip1", 0.275f),
        Own("BrokenShip2", 0.275f),
        Own("BrokenShip3", 0.275f),
        Own("BrokenShip4", 0.275f),
        Own("BrokenShip5", 0.275f),
        Own("BrokenShip6", 0.275f),
        Own("BrokenShip7", 0.275f),
        Own("Mine", 0.75f),
        Own("Missile", 0.75f),
        Own("Flea", 0.5f),
        Own("Lander", 1.0f),
        Own("Mutant", 1.0f),
        Own("MineLayer", 1.0f),
        NoCircles("game_over", 1.0f),
        NoCircles("hiscores", 1.0f),
        Own("SuperTurret", 0.6f),
        // Both stations end up with Station2's circles, scaled once.
        Shared("Station", 0.5f, 2, true),
        Shared("Station2", 0.5f, 2, false),
    }};
    return table;
}

const std::array<const char*, kSampleCount>& SampleFiles()
{
    static const std::array<const char*, kSampleCount> files = {{
        "PlayerLaser.wav",     "Engine.wav",         "PlayerShield.wav",    "ShieldReflect.wav",
        "PlayerLand.wav",      "PlayerLand2.wav",    "CannonLaser.wav",     "HomingLaunch.wav",
        "ExplosionSmall1.wav", "ExplosionSmall2.wav", "ExplosionMed1.wav",  "ExplosionMed2.wav",
        "ExplosionMed3.wav",   "ExplosionBig1.wav",  "ExplosionBig2.wav",   "ExplosionBig3.wav",
        "PlanetExplosion.wav", "Hitsound1.wav",      "Hitsound2.wav",       "Activate.wav",
        "DeActivate.wav",      "ClockTick.wav",      "Siren1.wav",          "Air.wav",
        "PlayerCrash1.wav",    "PlayerCrash2.wav",   "PlayerCrash3.wav",    "LaserSpark.wav",
        "ui1.wav",             "ui2.wav",            "LaserBeam.wav",       "LaserDischarge.wav",
        "FleaJump.wav",        "Hydraulic.wav",      "HydraulicStop.wav",   "HydraulicStop2.wav",
        "Teleport.wav",        "FuelPod.wav",        "BulletTime.wav",      "Mutant.wav",
        "RocketLaunch.wav",    "Missile.wav",        "Scientist.wav",       "UI3.wav",
        "MenuOpen.wav",        "MenuClose.wav",      "ExtraLife.wav",
    }};
    return files;
}
