#pragma once

#include "WrapFrame.h"

class Audio;

// Where the mixer puts a sound relative to the ship: angle in degrees (90
// right, 180 ahead, 270 left) and distance 0..255 before the mixer's cut.
struct SoundPlacement {
    int angle = 0;
    int distance = 0;
};

// The placement of a sound at (x, y). At the ship's exact position it is
// centred (0, 0). Otherwise the nearest image of the ship across the wrap
// decides side and distance d: angle 180 + 90 * u.x * min(d, 255) / 255 with
// u the unit vector toward the ship, so a far sound stays on its side;
// distance d * 0.55. Both truncated toward zero.
SoundPlacement ComputeSoundPlacement(float x, float y, const WrapFrame& frame);

// Places a sound already playing on the channel; a negative channel (a
// failed PlaySample) is left alone.
void PlaceSound(Audio& audio, int channel, float x, float y, const WrapFrame& frame);
