#pragma once

// Small shared rules of the fixed actors (lasers, jets) and the platforms.
#include "Game.h"
#include "MathUtil.h"
#include "Vec2.h"

// The axis U of an actor turned by degrees: the second vector of the angle,
// pointing down the screen at angle 0. Beams and jets run along -U.
inline Vec2 ActorAxis(float degrees)
{
    Vec2 forward;
    Vec2 u;
    AngleToVectors(degrees, forward, u);
    return u;
}

// The simulated seconds of one tick (0.02 without a game).
inline float SimulationStep()
{
    return theGame != nullptr ? theGame->simulationStep : 0.02f;
}
