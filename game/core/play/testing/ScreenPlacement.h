#pragma once

// Where a frame's geometry lands on the window: a render state that follows
// the 2D view and the matrix calls, and a sink that records every vertex with
// the point it was given and the place it lands, as a fraction of the window
// (0, 0 top left, 1, 1 bottom right). Tests draw a frame through the pair and
// compare what the world draw and the HUD put on the screen.
#include "DrawSink.h"
#include "Vec2.h"
#include "WorldDrawState.h"

#include <vector>

class ScreenPlacementState : public WorldDrawState {
public:
    // The view's point (x, y) as a fraction of the window.
    Vec2 ToWindow(float x, float y) const
    {
        const Vec2 p = view.ToView(x, y);
        return {p.x / view.ViewSize().x, p.y / view.ViewSize().y};
    }

    void Setup2DView(float width, float height) override { view.Setup2DView(width, height); }
    void PushMatrix() override { view.Push(); }
    void PopMatrix() override { view.Pop(); }
    void Translate(float x, float y) override { view.Translate(x, y); }
    void Scale(float x, float y) override { view.Scale(x, y); }
    void Rotate(float degrees) override { view.Rotate(degrees); }
    std::optional<PlaneBox> ShownBox() const override
    {
        return tellsShownBox ? view.ShownBox() : std::nullopt;
    }

    // Off: the state still follows the matrices but does not tell a drawing
    // what the view shows, so it leaves nothing out (the full draw to compare
    // with).
    bool tellsShownBox = true;

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
    ViewMatrices view;
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
