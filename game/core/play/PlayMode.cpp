#include "PlayMode.h"

#include "Debris.h"
#include "Entity.h"
#include "EntityFactory.h"
#include "Game.h"
#include "GameShip.h"
#include "MathUtil.h"
#include "PlayModeLinks.h"
#include "Random.h"

#include <algorithm>

namespace {

constexpr FlashColour kFlashColours[8] = {
    {1, 0, 0}, {1, 1, 0}, {1, 0, 1}, {0, 1, 0}, {1, 1, 1}, {1, 0, 1}, {0, 1, 1}, {0, 0, 1},
};

constexpr float kFlashSeconds = 0.5f;
constexpr float kDetonationDamage = 100.0f;
constexpr float kSlowestTick = 0.1f;
constexpr float kNormalTick = 0.02f;
constexpr int kSlowMotionUntil = 250; // death timer above this: slowing down

bool MissionOver(const Game& game) { return game.missionState.aborted || game.missionState.completed; }

// The pause and escape keys: close the open menus, or open the pause menu.
void HandlePauseKey(Game& game)
{
    if (!game.fades.empty() || !PauseKeyPressed(game))
        return;
    if (HasMenus(game)) {
        CloseEveryMenu(game);
        return;
    }
    game.paused = !game.paused;
    if (game.paused) {
        OpenPauseMenu(game);
        PauseGameAudio(game);
    }
}

// Advances every list of the level, each deleting its dead members.
void UpdateLevelLists(Game& game)
{
    game.entities.Pass();
    UpdateParticleLists(game);
    UpdateProjectileLists(game);
    game.scorePopups.erase(std::remove_if(game.scorePopups.begin(), game.scorePopups.end(),
                                          [](ScorePopup& popup) { return popup.Update(); }),
                           game.scorePopups.end());
    for (std::vector<Star>& layer : game.starLayers)
        for (Star& star : layer)
            UpdateStar(star);
}

} // namespace

const FlashColour& DetonationFlashColour(int index)
{
    return kFlashColours[static_cast<unsigned>(index) % 8u];
}

void RunSelfDestruct(Game& game)
{
    Game::SelfDestruct& sd = game.selfDestruct;
    if (!sd.running)
        return;
    sd.secondsLeft -= game.simulationStep;
    if (!sd.detonated) {
        if (!MissionOver(game)) {
            const float x = RandomFloat(5.0f) - 2.5f;
            const float y = RandomFloat(5.0f) - 2.5f;
            game.shakeOffset = {x, y};
            if (static_cast<int>(sd.lastWholeSecond) != static_cast<int>(sd.secondsLeft)) {
                sd.lastWholeSecond = static_cast<int>(sd.secondsLeft);
                PlayCentred(game, SampleId::ClockTick);
            }
        } else {
            // The shaking stops with the mission: the view settles back.
            game.shakeOffset = {};
        }
    }
    if (sd.secondsLeft < 0.0f && !sd.detonated) {
        sd.detonated = true;
        sd.flashTimer = kFlashSeconds;
        // The shaking ends with the countdown: the view settles for the flash.
        game.shakeOffset = {};
        PlayCentred(game, SampleId::PlanetExplosion);
    }
    if (sd.detonated) {
        sd.flashTimer -= game.simulationStep;
        sd.flashColour = Random() % 8;
        if (sd.flashTimer < 0.0f && !sd.detonationDone) {
            sd.detonationDone = true;
            DetonateVisibleSectors(game);
        }
    }
}

void DetonateVisibleSectors(Game& game)
{
    if (GameShip* ship = game.Ship())
        ship->Body().Damage(kDetonationDamage);
    // A dying actor may register debris in the lists: the beams are walked
    // by index, the entities through the cell's walk, which allows it.
    for (std::vector<Sector*>& image : game.visibleSectors) {
        for (std::size_t s = 0; s < image.size(); ++s) {
            Sector* sector = image[s];
            for (Entity* entity : sector->Entities()) {
                if (!entity->dead)
                    entity->Die();
                entity->dead = true;
            }
        }
    }
    game.frameStamp += 1;
    for (std::vector<Sector*>& image : game.visibleSectors) {
        for (std::size_t s = 0; s < image.size(); ++s) {
            Sector* sector = image[s];
            for (std::size_t b = 0; b < sector->beams.size(); ++b) {
                Beam* beam = sector->beams[b];
                if (beam->stamp == game.frameStamp)
                    continue;
                beam->stamp = game.frameStamp;
                Entity* made = CreateEntity(EntityTypes::Debris);
                if (made == nullptr)
                    continue;
                auto* debris = static_cast<Debris*>(made);
                debris->beam = *beam;
                debris->Spawn(beam->a.x, beam->a.y, 0.0f);
                game.entities.Append(debris);
            }
            sector->beams.clear();
        }
    }
}

void CountBonusTime(Game& game)
{
    if (!game.missionState.completed && game.bonusTime > 0 && game.tickCount % 2 == 0)
        game.bonusTime -= 1;
}

void ApplyDeathSlowMotion(Game& game)
{
    const GameShip* ship = game.Ship();
    if (ship == nullptr || !ship->Dying())
        return;
    if (ship->DeathTicks() > kSlowMotionUntil) {
        game.tickLength *= 1.05f;
        if (game.tickLength > kSlowestTick)
            game.tickLength = kSlowestTick;
    } else {
        game.tickLength *= 0.9f;
        if (game.tickLength < kNormalTick)
            game.tickLength = kNormalTick;
    }
}

void SectorsForWrapImages(const SectorGrid& grid, Rect box, std::vector<Sector*> lists[3])
{
    const float w = grid.worldWidth;
    const Vec2 centre = box.centre;
    for (int i = 0; i < 3; ++i)
        lists[i].clear();
    grid.SectorsInRange(box, lists[1]);
    box.SetCentre(centre.x + w, centre.y);
    grid.SectorsInRange(box, lists[0]);
    box.SetCentre(centre.x - w, centre.y);
    grid.SectorsInRange(box, lists[2]);
}

void QueryPlaySectors(Game& game)
{
    const Vec2 camera = game.Ship() != nullptr ? game.Ship()->Camera() : Vec2{};
    const Vec2 centre = camera + game.screenCentre;
    const Rect view(game.screenSize.x, game.screenSize.y, centre.x, centre.y);
    SectorsForWrapImages(game.sectorGrid, view, game.visibleSectors);
    const float activeHeight = game.screenSize.y * (game.rotatedScreen ? 2.0f : 1.5f);
    const Rect active(game.screenSize.x * 2.5f, activeHeight, centre.x, centre.y);
    SectorsForWrapImages(game.sectorGrid, active, game.activeSectors);
}

void Game::UpdatePlay()
{
    HandlePauseKey(*this);
    const GameMode screen = mode;
    UpdateMenus();
    // A menu's closing action may have left this screen (quit to the title).
    if (mode != screen)
        return;
    if (paused) {
        // The pointer moves over the menu meanwhile: that is not steering.
        ClearMouseMotion(*this);
        if (!HasMenus(*this)) {
            paused = false;
            ResumeGameAudio(*this);
        }
        return;
    }

    RunSelfDestruct(*this);
    GameShip* ship = Ship();
    if (ship != nullptr)
        ship->Body().Update();
    CountBonusTime(*this);
    ApplyDeathSlowMotion(*this);
    ClearMouseMotion(*this);
    QueryPlaySectors(*this);
    UpdateLevelLists(*this);

    const Vec2 cameraMove = ship != nullptr ? ship->Camera() - ship->PreviousCamera() : Vec2{};
    previousParallaxOffset = parallaxOffset;
    parallaxOffset -= cameraMove;
}
