#include "Trail.h"

#include "MathUtil.h"

#include <algorithm>

Trail::Trail(float x, float y, float r, float g, float b)
{
    onScreen = true;
    Emit(x, y, r, g, b);
}

namespace {
// The unit perpendicular (-dy, dx) of the step from `from` to (x, y).
Vec2 AcrossStep(const TrailPoint& from, float x, float y)
{
    return Normalize(from.position.y - y, x - from.position.x);
}
} // namespace

void Trail::Emit(float x, float y, float r, float g, float b)
{
    TrailPoint point;
    point.position = {x, y};
    point.colour[0] = r;
    point.colour[1] = g;
    point.colour[2] = b;
    point.life = kPointLife;
    point.width = point.previousWidth = kHalfWidth;
    if (particles.size() == 1)
        particles.front().normal = AcrossStep(particles.front(), x, y);
    if (!particles.empty()) {
        const TrailPoint& last = particles.back();
        point.normal = (last.position.x == x && last.position.y == y) ? last.normal
                                                                       : AcrossStep(last, x, y);
    }
    particles.push_back(point);
}

void Trail::Update()
{
    bool anyAlive = false;
    TrailPoint* previousExpired = nullptr; // the point just walked, when it expired
    for (TrailPoint& point : particles) {
        point.life -= kTick;
        if (point.life <= 0.0f) {
            if (previousExpired != nullptr)
                previousExpired->dead = true;
            previousExpired = &point;
        } else {
            for (float& c : point.colour)
                c -= 0.02f;
            anyAlive = true;
            previousExpired = nullptr;
        }
    }
    RemoveDeadPoints();
    if (particles.empty() || !anyAlive)
        finished = true;
}

void Trail::Translate(float dx, float dy)
{
    for (TrailPoint& point : particles) {
        point.position.x += dx;
        point.position.y += dy;
    }
}

bool IsDeadTrailPoint(const TrailPoint& point)
{
    return point.dead;
}

void Trail::RemoveDeadPoints()
{
    particles.erase(std::remove_if(particles.begin(), particles.end(), IsDeadTrailPoint),
                    particles.end());
}
