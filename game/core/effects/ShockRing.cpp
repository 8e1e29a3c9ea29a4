#include "ShockRing.h"

#include "MathUtil.h"

#include <cmath>

ShockRing::ShockRing(float x, float y, float, float, float)
{
    box = Rect(250.0f, 250.0f, x, y);
    centre = {x, y};
    onScreen = true;
}

void ShockRing::Emit(float x, float y, float r, float g, float b)
{
    const float radius = speed;
    if (!(radius >= 0.0f) || !std::isfinite(radius)) // negative, infinite or not a number: no ring
        return;
    const int last = radius >= kMaxPoints - 1 ? kMaxPoints - 1 : static_cast<int>(radius);
    const float step = 360.0f / radius;
    particles.reserve(particles.size() + static_cast<std::size_t>(last) + 1);
    float theta = 0.0f;
    for (int i = 0; i <= last; ++i) {
        const float s = std::sin(theta * kDegToRad);
        const float c = std::cos(theta * kDegToRad);
        TrailPoint point;
        point.position = {x + s * radius * 0.5f, y + c * radius * 0.5f};
        point.normal = {s, c};
        point.colour[0] = r;
        point.colour[1] = g;
        point.colour[2] = b;
        point.life = 1.0f;
        point.width = point.previousWidth = radius;
        particles.push_back(point);
        theta += step;
    }
}

void ShockRing::Update()
{
    if (particles.empty()) {
        UpdateVisibility();
        finished = true;
        return;
    }
    bool anyAlive = false;
    const bool movesOut = speed > 25.0f;
    for (TrailPoint& point : particles) {
        point.life -= kTick;
        if (!(point.life > 0.0f))
            continue;
        anyAlive = true;
        point.previousWidth = point.width;
        point.width += kTick * speed;
        if (movesOut) {
            const Vec2 out = Normalize(point.position.x - centre.x, point.position.y - centre.y);
            point.position += 2.0f * out;
        }
        for (float& c : point.colour)
            c -= 0.02f;
    }
    UpdateVisibility();
    if (!anyAlive)
        finished = true;
}
