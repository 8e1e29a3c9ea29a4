#include "ViewMatrices.h"

#include <algorithm>
#include <cmath>
#include <limits>

void ViewMatrices::Setup2DView(float width, float height)
{
    viewSet = true;
    viewSize = {width, height};
    top = Affine2{};
    stack.clear();
}

void ViewMatrices::Push() { stack.push_back(top); }

void ViewMatrices::Pop()
{
    if (stack.empty())
        return;
    top = stack.back();
    stack.pop_back();
}

void ViewMatrices::Translate(float x, float y) { top = top.Then(Affine2{1, 0, 0, 1, x, y}); }

void ViewMatrices::Scale(float x, float y) { top = top.Then(Affine2{x, 0, 0, y, 0, 0}); }

void ViewMatrices::Rotate(float degrees)
{
    const float r = -degrees * 3.14159265358979f / 180.0f;
    const float cs = std::cos(r), sn = std::sin(r);
    top = top.Then(Affine2{cs, sn, -sn, cs, 0, 0});
}

std::optional<PlaneBox> ViewMatrices::ShownBox() const
{
    if (!viewSet)
        return std::nullopt;
    const float inf = std::numeric_limits<float>::infinity();
    Affine2 back;
    if (!top.Inverse(back))
        return PlaneBox{{inf, inf}, {-inf, -inf}};
    const Vec2 corners[4] = {back.Apply(0.0f, 0.0f), back.Apply(viewSize.x, 0.0f), back.Apply(0.0f, viewSize.y),
                             back.Apply(viewSize.x, viewSize.y)};
    PlaneBox box{corners[0], corners[0]};
    for (const Vec2& p : corners) {
        box.min = {std::min(box.min.x, p.x), std::min(box.min.y, p.y)};
        box.max = {std::max(box.max.x, p.x), std::max(box.max.y, p.y)};
    }
    return box;
}
