#include "ModelTransform.h"

void OffsetModel(std::vector<Beam>& beams, std::vector<HullCircle>& circles, float dx, float dy)
{
    const Vec2 shift{dx, dy};
    for (Beam& beam : beams) {
        beam.a -= shift;
        beam.b -= shift;
    }
    for (HullCircle& circle : circles) {
        circle.x -= dx;
        circle.y -= dy;
        circle.offsetX -= dx;
        circle.offsetY -= dy;
    }
}

void ScaleModel(std::vector<Beam>& beams, std::vector<HullCircle>& circles, float factor)
{
    for (Beam& beam : beams) {
        beam.a = beam.a * factor;
        beam.b = beam.b * factor;
    }
    for (HullCircle& circle : circles) {
        circle.radius *= factor;
        circle.x *= factor;
        circle.y *= factor;
        circle.offsetX *= factor;
        circle.offsetY *= factor;
    }
}
