#include "WrapFrame.h"

#include "MathUtil.h"

namespace {

struct ImageDistances {
    Vec2 own, plus, minus;
    float d0, dp, dm;
};

ImageDistances Measure(float x, float y, const WrapFrame& frame)
{
    const Vec2 p = frame.player;
    const float w = frame.worldWidth;
    ImageDistances d{p, {p.x + w, p.y}, {p.x - w, p.y}, 0.0f, 0.0f, 0.0f};
    d.d0 = Distance(x, y, d.own.x, d.own.y);
    d.dp = Distance(x, y, d.plus.x, d.plus.y);
    d.dm = Distance(x, y, d.minus.x, d.minus.y);
    return d;
}

} // namespace

Vec2 NearestPlayerPosition(float x, float y, const WrapFrame& frame)
{
    const ImageDistances d = Measure(x, y, frame);
    if (d.dp <= d.d0 && d.dp <= d.dm)
        return d.plus;
    if (d.dm <= d.d0 && d.dm <= d.dp)
        return d.minus;
    return d.own;
}

Vec2 DirectionToPlayer(float x, float y, const WrapFrame& frame)
{
    const ImageDistances d = Measure(x, y, frame);
    Vec2 target = d.minus;
    if (d.d0 <= d.dp && d.d0 <= d.dm)
        target = d.own;
    else if (d.dp <= d.d0 && d.dp <= d.dm)
        target = d.plus;
    return Normalize(target.x - x, target.y - y);
}
