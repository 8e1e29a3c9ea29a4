#pragma once

#include "Vec2.h"

// The mouse point in the virtual screen: window pixels scaled by the screen
// size over the window size. A window side of 0 maps to 0.
Vec2 CursorScreenPosition(int mouseX, int mouseY, int windowWidth, int windowHeight, Vec2 screenSize);

// The cursor is a 32-unit square with the mouse point at its top left.
constexpr float kCursorSize = 32.0f;
