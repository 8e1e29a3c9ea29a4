#pragma once

#include "TextDrawState.h"
#include "ViewMatrices.h"

#include <optional>

// The render state around the world draw, fades, the cursor and the loading
// screen: clearing, the 2D view, the matrix stack, textures and blending. The
// game's version sets OpenGL state; tests record the calls. It serves text
// too, so a popup's glyphs go through the same recorder.
class WorldDrawState : public TextDrawState {
public:
    // Clear colour, then the colour and depth buffers.
    virtual void Clear(float r, float g, float b, float a) = 0;
    // The viewport over the whole window.
    virtual void FullViewport(int width, int height) = 0;
    // A viewport of part of the window; y counts from its bottom edge.
    virtual void Viewport(int x, int y, int width, int height) = 0;
    virtual void Setup2DView(float width, float height) = 0;
    virtual void PushMatrix() = 0;
    virtual void PopMatrix() = 0;
    virtual void Translate(float x, float y) = 0;
    virtual void Scale(float x, float y) = 0;
    // Turns the view by degrees about the axis pointing into the screen
    // (glRotatef(degrees, 0, 0, -1)).
    virtual void Rotate(float degrees) = 0;
    virtual void DisableBlend() = 0;
    virtual void DisableDepthTest() = 0;
    // Shows the finished frame (the loading screen's own swap).
    virtual void Present() = 0;
    // The box, in the current matrix's coordinates, around what the view
    // shows, for drawings that leave out what cannot be seen; unknown from a
    // state that does not follow its matrices (a recorder), and then a
    // drawing leaves nothing out.
    virtual std::optional<PlaneBox> ShownBox() const { return std::nullopt; }
};

// The OpenGL version, on the current context.
WorldDrawState& GlWorldState();
