#pragma once

// Where a frame's geometry lands on the window: a render state that follows
// the 2D view and the matrix calls, and a sink that records every vertex with
// the point it was given and the place it lands, as a fraction of the window
// (0, 0 top left, 1, 1 bottom right). Tests draw a frame through the pair and
// compare what the world draw and the HUD put on the screen.
#include "DrawSink.h"
#include "Vec2.h"
#include "WorldDrawState.h"

#include <cmath>
#include <vector>

// A 2D affine map: (x, y) -> (a x + c y + e, b x + d y + f).
struct Affine2 {
    float a = 1.0f, b = 0.0f, c = 0.0f, d = 1.0f, e = 0.0f, f = 0.0f;

    Vec2 Apply(float x, float y) const { return {a * x + c * y + e, b * x + d * y + f}; }
    // This map followed by m applied first (as OpenGL multiplies).
    Affine2 Then(const Affine2& m) const
    {
        return {a * m.a + c * m.b, b * m.a + d * m.b, a * m.c + c * m.d,
                b * m.c + d * m.d, a * m.e + c * m.f + e, b * m.e + d * m.f + f};
    }
};

class ScreenPlacementState : public WorldDrawState {
public:
    // The view's point (x, y) as a fraction of the window.
    Vec2 ToWindow(float x, float y) const
    {
        const Vec2 p = top.Apply(x, y);
        return {p.x / viewSize.x, p.y / viewSize.y};
    }

    void Setup2DView(float width, float height) override
    {
        viewSize = {width, height};
        top = Affine2{};
        stack.clear();
    }
    void PushMatrix() override { stack.push_back(top); }
    void PopMatrix() override
    {
        if (!stack.empty()) {
            top = stack.back();
            stack.pop_back();
        }
    }
    void Translate(float x, float y) override { top = top.Then(Affine2{1, 0, 0, 1, x, y}); }
    void Scale(float x, float y) override { top = top.Then(Affine2{x, 0, 0, y, 0, 0}); }
    // glRotatef(degrees, 0, 0, -1): a turn by -degrees about +z.
    void Rotate(float degrees) override
    {
        const float r = -degrees * 3.14159265358979f / 180.0f;
        const float cs = std::cos(r), sn = std::sin(r);
        top = top.Then(Affine2{cs, sn, -sn, cs, 0, 0});
    }

    void BindTexture(unsigned int) override {}
    void SetBlend(int, int) override {}
    void Finish() override {}
    void Clear(float, float, float, float) override {}
    void FullViewport(int, int) override {}
    void Viewport(int, int, int, int) override {}
    void DisableBlend() override {}
    void DisableDepthTest() override {}
    void Present() override {}

private:
    Vec2 viewSize{1.0f, 1.0f};
    Affine2 top;
    std::vector<Affine2> stack;
};

class ScreenPlacementSink : public DrawSink {
public:
    struct Placed {
        Vec2 given;  // the point the drawing code passed
        Vec2 window; // where it lands, as a fraction of the window
        float r, g, b, a;
    };

    explicit ScreenPlacementSink(const ScreenPlacementState& state) : state(state) {}

    void Begin(Primitive) override {}
    void End() override {}
    void Colour(float r, float g, float b) override { Colour(r, g, b, 1.0f); }
    void Colour(float r, float g, float b, float a) override
    {
        colour[0] = r;
        colour[1] = g;
        colour[2] = b;
        colour[3] = a;
    }
    void TexCoord(float, float) override {}
    void Vertex(float x, float y) override
    {
        vertices.push_back(Placed{{x, y}, state.ToWindow(x, y), colour[0], colour[1], colour[2], colour[3]});
    }

    std::vector<Placed> vertices;

private:
    const ScreenPlacementState& state;
    float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
};
