#include "JetParticles.h"

JetParticles::JetParticles(float x, float y, float, float)
{
    box = Rect(300.0f, 300.0f, x, y);
    UpdateVisibilityWide();
    particles.reserve(350);
}

void JetParticles::Emit(float x, float y, float a, float b, std::int32_t count)
{
    if (!onScreenWide)
        return;
    EmitFan(x, y, a, b, count, Fan{1.0f, -0.5f, 1.5f, 1.5f}, 2.0f, {1.0f, 1.0f, 1.0f});
}

void JetParticles::Update()
{
    if (!BeginNearView())
        return;
    Walk(Fall::none, Hit::bounce, nullptr, [](Particle& p) { FadeColour(p, 0.2f, 1.0f, 0.2f); });
    UpdateVisibility();
}
