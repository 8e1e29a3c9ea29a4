#pragma once

#include <cstdint>

// One number space for every button source:
//   0          unbound
//   1 .. 7     mouse buttons by SDL's number (4 and 5 the wheel)
//   8 .. 322   SDL key symbols
//   323 .. 326 joystick left, right, up, down (axes 0 and 1)
//   327 .. 346 joystick buttons 0 to 19
//   347 .. 356 named "MOUSE1" .. "MOUSE10"; no event produces them
using KeyCode = std::int32_t;

namespace KeyCodes {
constexpr KeyCode Unbound = 0;
constexpr KeyCode MouseLeft = 1;
constexpr KeyCode MouseMiddle = 2;
constexpr KeyCode MouseRight = 3;
constexpr KeyCode WheelUp = 4;
constexpr KeyCode WheelDown = 5;
constexpr KeyCode LastMouseButton = 7;
constexpr KeyCode Backspace = 8;
constexpr KeyCode Tab = 9;
constexpr KeyCode Return = 13;
constexpr KeyCode Pause = 19;
constexpr KeyCode Escape = 27;
constexpr KeyCode KeyP = 112;
constexpr KeyCode KeyX = 120;
constexpr KeyCode KeyZ = 122;
constexpr KeyCode CursorUp = 273;
constexpr KeyCode CursorRight = 275;
constexpr KeyCode CursorLeft = 276;
constexpr KeyCode JoyLeft = 323;
constexpr KeyCode JoyRight = 324;
constexpr KeyCode JoyUp = 325;
constexpr KeyCode JoyDown = 326;
constexpr KeyCode JoyButton0 = 327;
constexpr int JoyButtonCount = 20;
constexpr KeyCode Last = 356;
} // namespace KeyCodes
