#pragma once

// Two floats: a point, a direction or a normal.
struct Vec2 {
    float x = 0.0f;
    float y = 0.0f;
};
// Files store it as two packed floats.
static_assert(sizeof(Vec2) == 8, "Vec2 must stay two packed floats");

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 v, float s) { return {v.x * s, v.y * s}; }
inline Vec2 operator*(float s, Vec2 v) { return {v.x * s, v.y * s}; }
inline Vec2& operator+=(Vec2& a, Vec2 b) { a.x += b.x; a.y += b.y; return a; }
inline Vec2& operator-=(Vec2& a, Vec2 b) { a.x -= b.x; a.y -= b.y; return a; }
inline bool operator==(Vec2 a, Vec2 b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(Vec2 a, Vec2 b) { return !(a == b); }
inline float Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
