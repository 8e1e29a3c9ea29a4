#include "MapText.h"

#include "ModelStrokeFont.h"

#include <cmath>

namespace datagen {
namespace {

constexpr float kTouch = 0.01f;  // grid units: an end this close to a stroke touches it

float Length(Vec2 v) { return std::sqrt(v.x * v.x + v.y * v.y); }
Vec2 Unit(Vec2 v) { return v * (1.0f / Length(v)); }
// The side a beam from A to B faces: (d.y, -d.x), open air.
Vec2 AirSide(Vec2 a, Vec2 b)
{
    const Vec2 d = Unit(b - a);
    return {d.y, -d.x};
}

float DistanceToSegment(Vec2 p, Vec2 a, Vec2 b)
{
    const Vec2 d = b - a;
    const float len2 = d.x * d.x + d.y * d.y;
    float t = len2 > 0.0f ? ((p.x - a.x) * d.x + (p.y - a.y) * d.y) / len2 : 0.0f;
    t = t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t);
    return Length(p - (a + d * t));
}

bool SegmentsMeet(Vec2 p, Vec2 q, Vec2 a, Vec2 b)
{
    auto side = [](Vec2 o, Vec2 u, Vec2 v) { return (u.x - o.x) * (v.y - o.y) - (u.y - o.y) * (v.x - o.x); };
    const float d1 = side(a, b, p), d2 = side(a, b, q), d3 = side(p, q, a), d4 = side(p, q, b);
    return ((d1 > 0) != (d2 > 0)) && ((d3 > 0) != (d4 > 0));
}

// Whether an end point lies on a segment of the character's strokes other
// than the ones it belongs to (its own segment and its neighbour).
bool EndTouches(const std::vector<Stroke>& strokes, std::size_t self, bool atStart)
{
    const Stroke& own = strokes[self];
    const Vec2 p = atStart ? own.front() : own.back();
    for (std::size_t s = 0; s < strokes.size(); ++s) {
        const Stroke& other = strokes[s];
        for (std::size_t i = 1; i < other.size(); ++i) {
            if (s == self) {
                const std::size_t last = own.size() - 1;
                const bool near = atStart ? i <= 2 : i + 1 >= last;
                if (near)
                    continue;
            }
            if (DistanceToSegment(p, other[i - 1], other[i]) < kTouch)
                return true;
        }
    }
    return false;
}

// Offsets of a polyline's points to one side (mitred joins).
std::vector<Vec2> Offsets(const std::vector<Vec2>& points, bool closed)
{
    const std::size_t n = points.size();
    std::vector<Vec2> out(n);
    for (std::size_t i = 0; i < n; ++i) {
        const bool hasPrev = closed || i > 0;
        const bool hasNext = closed || i + 1 < n;
        const Vec2 prev = points[(i + n - 1) % n], here = points[i], next = points[(i + 1) % n];
        if (hasPrev && hasNext) {
            const Vec2 n1 = AirSide(prev, here), n2 = AirSide(here, next);
            const Vec2 m = Unit(n1 + n2);
            out[i] = m * (1.0f / (m.x * n1.x + m.y * n1.y));
        } else {
            out[i] = hasNext ? AirSide(here, next) : AirSide(prev, here);
        }
    }
    return out;
}

}  // namespace

bool MapTextOutlines(Vec2 topLeft, float height, const std::string& word,
                     std::vector<std::vector<Vec2>>& outlines, std::string& error)
{
    const float unit = height / 6.0f;
    const float t = kMapTextHalfThickness;
    // An end that meets another stroke stops this far short of its line.
    const float gap = 2.0f * t + 4.0f;
    if (!(unit > t)) {
        error = "letters of height " + std::to_string(height) + " are too small for their outlines";
        return false;
    }
    outlines.clear();
    float pen = topLeft.x;
    for (char c : word) {
        const std::vector<Stroke>& strokes = StrokesOf(c == '_' ? ' ' : c);
        for (std::size_t s = 0; s < strokes.size(); ++s) {
            std::vector<Vec2> points;
            for (Vec2 p : strokes[s])
                points.push_back({pen + p.x * unit, topLeft.y + p.y * unit});
            const bool closed = points.size() > 3 && Length(points.front() - points.back()) < kTouch * unit;
            if (closed) {
                points.pop_back();
                // Clockwise on the screen (y down) puts the air side outward.
                float area = 0.0f;
                for (std::size_t i = 0; i < points.size(); ++i) {
                    const Vec2 a = points[i], b = points[(i + 1) % points.size()];
                    area += a.x * b.y - b.x * a.y;
                }
                if (area < 0.0f)
                    points.assign(points.rbegin(), points.rend());
                const std::vector<Vec2> side = Offsets(points, true);
                std::vector<Vec2> outer, inner;
                for (std::size_t i = 0; i < points.size(); ++i) {
                    outer.push_back(points[i] + side[i] * t);
                    inner.push_back(points[i] - side[i] * t);
                }
                outlines.push_back(outer);
                outlines.emplace_back(inner.rbegin(), inner.rend());
                continue;
            }
            const std::size_t last = points.size() - 1;
            const bool trimStart = EndTouches(strokes, s, true), trimEnd = EndTouches(strokes, s, false);
            const float firstLeft = Length(points[1] - points[0]) - (trimStart ? gap : 0.0f) -
                                    (trimEnd && last == 1 ? gap : 0.0f);
            const float lastLeft = Length(points[last] - points[last - 1]) - (trimEnd ? gap : 0.0f);
            if (!(firstLeft > t) || !(lastLeft > t)) {
                error = "letters of height " + std::to_string(height) + " are too small for their outlines";
                return false;
            }
            if (trimStart)
                points.front() = points.front() + Unit(points[1] - points[0]) * gap;
            if (trimEnd)
                points.back() = points.back() + Unit(points[last - 1] - points[last]) * gap;
            const std::vector<Vec2> side = Offsets(points, false);
            std::vector<Vec2> outline;
            for (std::size_t i = 0; i < points.size(); ++i)
                outline.push_back(points[i] + side[i] * t);
            for (std::size_t i = points.size(); i-- > 0;)
                outline.push_back(points[i] - side[i] * t);
            outlines.push_back(outline);
        }
        pen += 6.0f * unit;  // 4 wide plus a gap of 2
    }
    // No outline may cross another or itself.
    for (std::size_t a = 0; a < outlines.size(); ++a)
        for (std::size_t b = a; b < outlines.size(); ++b) {
            const auto& p = outlines[a];
            const auto& q = outlines[b];
            for (std::size_t i = 0; i < p.size(); ++i)
                for (std::size_t j = 0; j < q.size(); ++j) {
                    const std::size_t i2 = (i + 1) % p.size(), j2 = (j + 1) % q.size();
                    if (a == b && (i == j || i2 == j || j2 == i))
                        continue;
                    if (SegmentsMeet(p[i], p[i2], q[j], q[j2])) {
                        error = "the outlines of '" + word + "' cross at letter height " + std::to_string(height);
                        return false;
                    }
                }
        }
    return true;
}

}  // namespace datagen
