#pragma once

// How actors reach the sink and render state of the world draw in progress.
#include "BeamDraw.h"
#include "Entity.h"
#include "Game.h"
#include "MathUtil.h"
#include "ObjectModel.h"
#include "Vec2.h"
#include "WorldDrawState.h"

// The pair the Game holds while DrawWorld runs; null outside it, and then
// actors draw nothing.
struct ActorCanvas {
    DrawSink* sink = nullptr;
    WorldDrawState* state = nullptr;
    explicit operator bool() const { return sink != nullptr && state != nullptr; }
};

inline ActorCanvas CurrentCanvas()
{
    if (theGame == nullptr)
        return {};
    return {theGame->drawSink, theGame->drawState};
}

// A model of the game's model source by name; null when missing.
inline const ObjectModel* FindActorModel(const char* name)
{
    if (theGame == nullptr || theGame->models == nullptr)
        return nullptr;
    return theGame->models->FindModel(name);
}

// Push, move to p and turn by degrees clockwise on screen (y grows downward):
// the render state turns the other way, hence the negated angle.
inline void PushPose(WorldDrawState& state, Vec2 p, float degrees)
{
    state.PushMatrix();
    state.Translate(p.x, p.y);
    state.Rotate(-degrees);
}

// The named model at the entity's interpolated pose, mirrored or not;
// nothing outside a world draw or without the model.
inline void DrawModelPose(const Entity& entity, const char* name, float alpha, bool mirror = false)
{
    const ActorCanvas canvas = CurrentCanvas();
    const ObjectModel* model = FindActorModel(name);
    if (!canvas || model == nullptr)
        return;
    PushPose(*canvas.state, Lerp2(entity.position, entity.previousPosition, alpha),
             Lerp(entity.angle, entity.previousAngle, alpha));
    DrawObject(*canvas.sink, model->beams, mirror);
    canvas.state->PopMatrix();
}
