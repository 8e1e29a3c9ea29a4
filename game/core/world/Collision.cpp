#include "Collision.h"

#include "DrawSink.h"

#include <algorithm>
#include <cmath>

bool PointInRect(float x, float y, const Rect& box)
{
    return box.min.x <= x && x <= box.max.x && box.min.y <= y && y <= box.max.y;
}

bool RectsOverlap(const Rect& a, const Rect& b)
{
    return a.max.x >= b.min.x && a.max.y >= b.min.y && a.min.x <= b.max.x && a.min.y <= b.max.y;
}

bool PointInCircle(float x, float y, float radius, float centreX, float centreY)
{
    const float dx = x - centreX;
    const float dy = y - centreY;
    return std::sqrt(dx * dx + dy * dy) <= radius;
}

bool CirclesOverlap(const HullCircle& a, const HullCircle& b)
{
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    return a.radius + b.radius >= std::sqrt(dx * dx + dy * dy);
}

Vec2 ClosestPointOnSegment(float x, float y, const Line& line)
{
    if (!(line.length > 0.0f))
        return line.p0; // a point-like segment: its only point
    const Vec2 d = line.p1 - line.p0;
    float t = ((x - line.p0.x) * d.x + (y - line.p0.y) * d.y) / (line.length * line.length);
    if (t < 0.0f)
        t = 0.0f;
    if (t > 1.0f)
        t = 1.0f;
    return line.p0 + d * t;
}

float DistancePointToSegment(float x, float y, const Line& line)
{
    const Vec2 c = ClosestPointOnSegment(x, y, line);
    const float dx = x - c.x;
    const float dy = y - c.y;
    return std::sqrt(dx * dx + dy * dy);
}

bool PointNearSegment(const Line& line, const HullCircle& circle)
{
    return DistancePointToSegment(circle.x, circle.y, line) <= circle.radius;
}

namespace {
Rect SegmentBounds(const Line& s)
{
    Rect r;
    r.min = {std::min(s.p0.x, s.p1.x), std::min(s.p0.y, s.p1.y)};
    r.max = {std::max(s.p0.x, s.p1.x), std::max(s.p0.y, s.p1.y)};
    return r;
}
} // namespace

bool SegmentBoundsOverlap(const Line& a, const Line& b)
{
    return RectsOverlap(SegmentBounds(a), SegmentBounds(b));
}

bool SegmentsIntersect(const Line& a, const Line& b, Vec2* out)
{
    if (!SegmentBoundsOverlap(a, b))
        return false;
    const Vec2 da = a.p1 - a.p0;
    const Vec2 db = b.p1 - b.p0;
    const float denominator = da.x * db.y - db.x * da.y;
    if (denominator == 0.0f)
        return false;
    const float ua = ((a.p0.y - b.p0.y) * db.x - (a.p0.x - b.p0.x) * db.y) / denominator;
    const float ub = ((a.p0.y - b.p0.y) * da.x - (a.p0.x - b.p0.x) * da.y) / denominator;
    if (!(ua >= 0.0f && ua <= 1.0f && ub >= 0.0f && ub <= 1.0f))
        return false;
    if (out != nullptr)
        *out = a.p0 + da * ua;
    return true;
}

bool SegmentIntersectsRect(const Line& line, const Rect& box)
{
    if (line.p0.x < box.min.x && line.p1.x < box.min.x)
        return false;
    if (line.p0.x > box.max.x && line.p1.x > box.max.x)
        return false;
    if (line.p0.y < box.min.y && line.p1.y < box.min.y)
        return false;
    if (line.p0.y > box.max.y && line.p1.y > box.max.y)
        return false;
    const Vec2 c = ClosestPointOnSegment(box.centre.x, box.centre.y, line);
    return PointInRect(c.x, c.y, box);
}

bool CircleIntersectsRect(const HullCircle& circle, const Rect& box)
{
    if (PointInRect(circle.x, circle.y, box))
        return true;
    const float dx = box.centre.x - circle.x;
    const float dy = box.centre.y - circle.y;
    const float distance = std::sqrt(dx * dx + dy * dy);
    if (distance > 0.0f) {
        const float px = circle.x + dx / distance * circle.radius;
        const float py = circle.y + dy / distance * circle.radius;
        if (PointInRect(px, py, box))
            return true;
    }
    if (distance <= circle.radius)
        return true;
    return PointInCircle(box.min.x, box.min.y, circle.radius, circle.x, circle.y) ||
           PointInCircle(box.max.x, box.max.y, circle.radius, circle.x, circle.y) ||
           PointInCircle(box.min.x, box.max.y, circle.radius, circle.x, circle.y) ||
           PointInCircle(box.max.x, box.min.y, circle.radius, circle.x, circle.y);
}

bool SegmentCircleIntersection(const Line& line, const HullCircle& circle, Vec2* out)
{
    if (!(DistancePointToSegment(circle.x, circle.y, line) <= circle.radius))
        return false;
    const Vec2 d = line.p1 - line.p0;
    const Vec2 f = {line.p0.x - circle.x, line.p0.y - circle.y};
    const float a = Dot(d, d);
    const float b = 2.0f * Dot(f, d);
    const float c = Dot(f, f) - circle.radius * circle.radius;
    const float discriminant = b * b - 4.0f * a * c;
    if (discriminant < 0.0f)
        return false;
    float t = 0.0f;
    if (a == 0.0f) {
        t = 0.0f; // a point-like segment lying in the circle: the point itself
    } else if (discriminant == 0.0f) {
        t = -b / (2.0f * a);
    } else if (PointInCircle(line.p0.x, line.p0.y, circle.radius, circle.x, circle.y)) {
        t = (std::sqrt(discriminant) - b) / (2.0f * a);
    } else {
        t = (-b - std::sqrt(discriminant)) / (2.0f * a);
    }
    if (out != nullptr)
        *out = line.p0 + d * t;
    return true;
}

void DrawCircle(DrawSink& sink, const HullCircle& circle, int segments)
{
    if (segments > 0) {
        sink.Begin(DrawSink::Primitive::LineLoop);
        for (int k = 0; k < segments; ++k) {
            const float a = static_cast<float>(k) * 360.0f / static_cast<float>(segments) * 0.017453292f;
            sink.Vertex(circle.x + circle.radius * std::sin(a), circle.y + circle.radius * std::cos(a));
        }
        sink.End();
    }
    sink.Begin(DrawSink::Primitive::Points);
    sink.Vertex(circle.x, circle.y);
    sink.End();
}
