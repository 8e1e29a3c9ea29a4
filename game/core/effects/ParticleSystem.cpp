#include "ParticleSystem.h"

#include "Collision.h"
#include "ParticleWorld.h"

namespace {
// The view box scaled by `scale` around a centre 1.25 half views from the
// camera corner, tested at the images 0, +W and -W.
bool OverlapsView(const Rect& box, float scale)
{
    const ParticleWorld world = CurrentParticleWorld();
    Rect view(scale * world.screenSize.x, scale * world.screenSize.y,
              world.camera.x + 1.25f * world.screenCentre.x,
              world.camera.y + 1.25f * world.screenCentre.y);
    if (RectsOverlap(view, box))
        return true;
    const float cx = view.centre.x;
    view.SetCentre(cx + world.worldWidth, view.centre.y);
    if (RectsOverlap(view, box))
        return true;
    view.SetCentre(cx - world.worldWidth, view.centre.y);
    return RectsOverlap(view, box);
}
} // namespace

ParticleSystem::~ParticleSystem()
{
    if (life)
        life->system = nullptr;
}

void ParticleSystem::UpdateVisibility()
{
    onScreen = OverlapsView(box, 1.25f);
}

void ParticleSystem::UpdateVisibilityWide()
{
    onScreenWide = OverlapsView(box, 1.5f);
}

const std::shared_ptr<ParticleSystemLife>& ParticleSystem::Life()
{
    if (!life)
        life = std::make_shared<ParticleSystemLife>(ParticleSystemLife{this});
    return life;
}
