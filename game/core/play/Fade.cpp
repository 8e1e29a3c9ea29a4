#include "Fade.h"

#include "DrawSink.h"
#include "MathUtil.h"
#include "WorldDrawState.h"

#include <GL/gl.h>

Fade::Fade(const float start[3], const float end[3], float startAlpha_, float endAlpha_, float seconds,
           int hidden_)
    : startAlpha(startAlpha_), endAlpha(endAlpha_), alpha(startAlpha_), secondsLeft(seconds),
      duration(seconds), hidden(hidden_)
{
    for (int i = 0; i < 3; ++i) {
        startColour[i] = start[i];
        endColour[i] = end[i];
        colour[i] = start[i];
    }
}

Fade Fade::Black(float startAlpha, float endAlpha, float seconds, int hidden)
{
    const float black[3] = {0.0f, 0.0f, 0.0f};
    return Fade(black, black, startAlpha, endAlpha, seconds, hidden);
}

void Fade::Update(float frameSeconds)
{
    secondsLeft -= frameSeconds;
    if (secondsLeft <= 0.0f)
        finished = true;
    const float elapsed = duration - secondsLeft;
    // Interpolate jumps to the end values for a duration of 0 (no 0 / 0).
    for (int i = 0; i < 3; ++i)
        colour[i] = Interpolate(startColour[i], endColour[i], 0.0f, duration, elapsed);
    alpha = Interpolate(startAlpha, endAlpha, 0.0f, duration, elapsed);
}

void Fade::Draw(float, DrawSink& sink, WorldDrawState& state) const
{
    if (hidden > 0)
        return;
    state.Setup2DView(1.0f, 1.0f);
    state.SetBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    sink.Begin(DrawSink::Primitive::Quads);
    sink.Colour(colour[0], colour[1], colour[2], alpha);
    sink.Vertex(0.0f, 0.0f);
    sink.Vertex(1.0f, 0.0f);
    sink.Vertex(1.0f, 1.0f);
    sink.Vertex(0.0f, 1.0f);
    sink.End();
    state.DisableBlend();
}

bool UpdateOrReapFade(Fade& fade, float frameSeconds)
{
    if (fade.finished)
        return true;
    fade.Update(frameSeconds);
    return false;
}
