#pragma once

#include "Vec2.h"

class DrawSink;
class FontSet;
class TextDrawState;

// A short text (a points value) that rises from where something happened and
// fades out over 100 ticks. Kept by value in the game's popup list.
struct ScorePopup {
    static constexpr int kLifeTicks = 100;
    static constexpr float kRisePerTick = 0.4f;
    static constexpr int kTextBytes = 16;

    Vec2 position;
    Vec2 previousPosition;
    int life = kLifeTicks;
    char text[kTextBytes] = {};

    // Null text is empty; longer text is cut to 15 characters.
    ScorePopup(const char* text, float x, float y);

    // One tick: rises; true once expired (the pass then removes it).
    bool Update();
    // The text at the interpolated position, grey level life / 100, with
    // additive blending; the font's blend is set back afterwards.
    void Draw(float alpha, FontSet& font, DrawSink& sink, TextDrawState& state) const;
};
