#include "ScreenLayout.h"

#include "Game.h"

Vec2 MapLayoutPoint(float x, float y, int width, int height, bool rotated)
{
    // The reciprocals as the game has always rounded them.
    const float sx = x * 0.0015625f;
    const float sy = y * 0.0020833334f;
    const float w = static_cast<float>(rotated ? height : width);
    const float h = static_cast<float>(rotated ? width : height);
    return {sx * w, sy * h};
}

Vec2 Game::LayoutToView(float x, float y) const
{
    return MapLayoutPoint(x, y, viewWidth, viewHeight, rotatedScreen);
}

Vec2 Game::LayoutToWindow(float x, float y) const
{
    return MapLayoutPoint(x, y, windowWidth, windowHeight, rotatedScreen);
}

void Game::UpdateScreenSize()
{
    const float w = static_cast<float>(viewWidth);
    const float h = static_cast<float>(viewHeight);
    screenSize = rotatedScreen ? Vec2{h, w} : Vec2{w, h};
    screenCentre = screenSize * 0.5f;
}
