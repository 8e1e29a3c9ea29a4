#include "Rect.h"

Rect::Rect(float width, float height, float centreX, float centreY)
    : half{width * 0.5f, height * 0.5f}, centre{centreX, centreY}
{
    SetCentre(centreX, centreY);
}

void Rect::SetCentre(float x, float y)
{
    centre = {x, y};
    min = {x - half.x, y - half.y};
    max = {x + half.x, y + half.y};
}
