#pragma once

// The 2D view's matrix stack followed beside the render state's own, so a
// drawing can ask which part of its plane the view shows and leave the rest
// out (a brick of a million cells draws the few hundred on the screen).
#include "Affine2.h"
#include "Vec2.h"

#include <optional>
#include <vector>

// A box of the plane, min to max corner; nothing when min exceeds max on an
// axis (or a corner is not a number).
struct PlaneBox {
    Vec2 min;
    Vec2 max;
};

class ViewMatrices {
public:
    // The view shows (0, 0) to (width, height) of the plane as it stands
    // after this call, whatever part of the window the viewport is.
    void Setup2DView(float width, float height);
    void Push();
    void Pop();
    void Translate(float x, float y);
    void Scale(float x, float y);
    // glRotatef(degrees, 0, 0, -1): a turn by -degrees about +z.
    void Rotate(float degrees);

    // The current coordinates' point (x, y) in view units.
    Vec2 ToView(float x, float y) const { return top.Apply(x, y); }
    Vec2 ViewSize() const { return viewSize; }
    // The box, in the current coordinates, around everything the view shows;
    // empty when the matrix squashes the plane flat or is not finite (then
    // nothing drawn can show). Unknown before the first Setup2DView.
    std::optional<PlaneBox> ShownBox() const;

private:
    bool viewSet = false;
    Vec2 viewSize{1.0f, 1.0f};
    Affine2 top;
    std::vector<Affine2> stack;
};
