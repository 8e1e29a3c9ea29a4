#pragma once

class DrawSink;
class WorldDrawState;

// A timed change of colour and opacity. Visible fades cover the whole screen
// with one blended quad; hidden ones draw nothing and give a menu its opening
// or closing opacity. The game's list shares ownership with the menu that
// reads one, so the menu may still read it after the list has dropped it.
struct Fade {
    float startColour[3] = {0.0f, 0.0f, 0.0f};
    float endColour[3] = {0.0f, 0.0f, 0.0f};
    float colour[3] = {0.0f, 0.0f, 0.0f};
    float startAlpha = 0.0f;
    float endAlpha = 0.0f;
    float alpha = 0.0f;
    float secondsLeft = 0.0f;
    float duration = 0.0f;
    int hidden = 0; // above 0: never drawn
    bool finished = false;

    Fade() = default;
    Fade(const float start[3], const float end[3], float startAlpha, float endAlpha, float seconds,
         int hidden);
    // The usual black fade.
    static Fade Black(float startAlpha, float endAlpha, float seconds, int hidden);

    // Advances by one frame of the given real seconds; a finished fade holds
    // its end values.
    void Update(float frameSeconds);
    // The covering quad in a unit view; the interpolation factor is unused.
    void Draw(float alpha, DrawSink& sink, WorldDrawState& state) const;
};

// The per-frame pass: true (remove) for a finished fade, otherwise it is
// advanced and stays.
bool UpdateOrReapFade(Fade& fade, float frameSeconds);
