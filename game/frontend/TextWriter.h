#pragma once

class DrawSink;
class FontSet;
class TextDrawState;

// Where the front end's text goes: the font's current scale, colour and
// alignment apply. The game's version draws glyph quads; tests record the
// strings with their settings.
class TextWriter {
public:
    virtual ~TextWriter() = default;
    virtual void Write(FontSet& font, const char* text, float x, float y) = 0;
};

// Draws through a font's own glyph quads into the given sink and state.
class FontTextWriter : public TextWriter {
public:
    FontTextWriter(DrawSink& sink, TextDrawState& state) : sink(sink), state(state) {}
    void Write(FontSet& font, const char* text, float x, float y) override;

private:
    DrawSink& sink;
    TextDrawState& state;
};
