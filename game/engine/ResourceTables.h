#pragma once

#include <array>
#include <cstddef>

// What the resource store loads at start-up, in loading order. The
// enumerators carry the resources' file names so code reads like the data.

enum class TextureId {
    BeamParticle, // every beam, star and particle
    Cursor,
    HUD_radar,
    shield,
    fuel,
    HUDBar,
};
constexpr std::size_t kTextureCount = 6;

enum class TextureFilter { Linear, Nearest };

struct TextureEntry {
    const char* name; // "Data/Gfx/<name>.png"
    TextureFilter filter; // minification and magnification alike
};

// Where a model's collision circles go when it loads.
enum class CircleList {
    Own,     // its own list
    None,    // a scratch list thrown away after loading: the model has none
    Shared,  // a list it shares with the other model of its pair; the one
             // loaded second overwrites what the first one put there
};

enum class ModelId {
    Player, Player_Fly, Player_Leg, PlayerBullet01, EnemyBullet01, EnemyBullet02, Seeker,
    BlueTurret, RedTurret, BlueTank_01, BlueTank_02, BlueTank_03, FuelPod,
    Scientist_01, Scientist_02, Scientist_03, Scientist_04, Generator, Button01, Button02, Laser,
    Tree01, Tree02, Tree03, Tree04, Tree05, Tree06,
    CheckPoint01, CheckPoint02, CheckPoint03, CheckPoint04, ParticleEmitter, RedShield, PlayerShield,
    BrokenShip1, BrokenShip2, BrokenShip3, BrokenShip4, BrokenShip5, BrokenShip6, BrokenShip7,
    Mine, Missile, Flea, Lander, Mutant, MineLayer, game_over, hiscores, SuperTurret, Station, Station2,
};
constexpr std::size_t kModelCount = 52;
constexpr std::size_t kSharedCircleListCount = 3;

struct ModelEntry {
    const char* name;  // "Data/Objects/<name>.obj"
    float scale;       // applied after every model has loaded; 1 leaves it as is
    CircleList circles;
    int sharedList;    // which shared list (0..2) for CircleList::Shared, else -1
    bool scalesSharedList; // a shared list is scaled once, with this model
};

enum class SampleId {
    PlayerLaser, Engine, PlayerShield, ShieldReflect, PlayerLand, PlayerLand2, CannonLaser,
    HomingLaunch, ExplosionSmall1, ExplosionSmall2, ExplosionMed1, ExplosionMed2, ExplosionMed3,
    ExplosionBig1, ExplosionBig2, ExplosionBig3, PlanetExplosion, Hitsound1, Hitsound2, Activate,
    DeActivate, ClockTick, Siren1, Air, PlayerCrash1, PlayerCrash2, PlayerCrash3, LaserSpark, ui1,
    ui2, LaserBeam, LaserDischarge, FleaJump, Hydraulic, HydraulicStop, HydraulicStop2, Teleport,
    FuelPod, BulletTime, Mutant, RocketLaunch, Missile, Scientist, UI3, MenuOpen, MenuClose, ExtraLife,
};
constexpr std::size_t kSampleCount = 47;

const std::array<TextureEntry, kTextureCount>& TextureTable();
const std::array<ModelEntry, kModelCount>& ModelTable();
// File names under "Data/Sound/".
const std::array<const char*, kSampleCount>& SampleFiles();

constexpr std::size_t Index(TextureId id) { return static_cast<std::size_t>(id); }
constexpr std::size_t Index(ModelId id) { return static_cast<std::size_t>(id); }
constexpr std::size_t Index(SampleId id) { return static_cast<std::size_t>(id); }
