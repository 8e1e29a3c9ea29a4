#include "ScorePopup.h"

#include "FontSet.h"
#include "MathUtil.h"

#include <GL/gl.h>

#include <cstring>

ScorePopup::ScorePopup(const char* source, float x, float y) : position{x, y}, previousPosition{x, y}
{
    if (source != nullptr)
        std::strncpy(text, source, kTextBytes - 1);
    text[kTextBytes - 1] = '\0';
}

bool ScorePopup::Update()
{
    previousPosition = position;
    position.y -= kRisePerTick;
    life -= 1;
    return life <= 0;
}

void ScorePopup::Draw(float alpha, FontSet& font, DrawSink& sink, TextDrawState& state) const
{
    font.SetAlign(FontSet::AlignCentre);
    font.SetScale(0.5f, 0.5f);
    font.EnableFixedPitch();
    font.SetBlend(GL_ONE, GL_ONE);
    const float grey = Interpolate(1.0f, 0.0f, 0.0f, static_cast<float>(kLifeTicks),
                                   static_cast<float>(kLifeTicks - life));
    font.SetColour(grey, grey, grey, grey);
    const Vec2 at = Lerp2(position, previousPosition, alpha);
    font.DrawText(text, at.x, at.y, sink, state);
    font.DisableFixedPitch();
    font.SetBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}
