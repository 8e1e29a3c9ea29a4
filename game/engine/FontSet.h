#pragma once

#include "DrawSink.h"
#include "GlyphMetrics.h"
#include "Log.h"
#include "TextDrawState.h"

#include <array>
#include <cstdint>
#include <string>

// A bitmap font: 256 glyphs in a 16 x 16 grid on one image, each glyph's
// width measured from the image's alpha, and a second image of the same
// layout drawn first, offset, as a drop shadow. Text is drawn as textured
// quads in the 2D view (one unit per pixel, y downward). Settings persist
// until a caller changes them.
class FontSet {
public:
    struct Glyph {
        float u = 0.0f; // texture coordinates of the cell's top-left corner
        float v = 0.0f;
        std::int32_t width = 0; // measured width in image pixels
    };

    enum Align { AlignLeft = 0, AlignCentre = 1, AlignRight = 2 };

    // Texture span of one cell, drawn size of a glyph quad at scale 1, the
    // advance of spaces and narrow glyphs, of fixed pitch, and the shadow's offset.
    static constexpr float kCellSpan = 0.0625f;
    static constexpr float kQuadSize = 32.0f;
    static constexpr float kSpaceAdvance = 10.0f;
    static constexpr float kFixedAdvance = 20.0f;
    static constexpr float kShadowOffset = 4.0f;
    // Glyphs narrower than this draw nothing and advance like a space.
    static constexpr int kMinDrawnWidth = 3;

    FontSet();
    // Deletes both textures.
    ~FontSet();
    FontSet(const FontSet&) = delete;
    FontSet& operator=(const FontSet&) = delete;

    // The glyph sheet with its measured widths (repeat wrapping), the grid,
    // then the shadow sheet through the image library's own upload (clamped
    // to the edge); both with these filters. False if either image fails.
    bool Load(const std::string& fontFile, const std::string& shadowFile, int minFilter, int magFilter,
              Log& log = Log::Instance());
    // The glyph sheet alone: measured as 8-bit RGBA (other layouts are
    // converted first) and uploaded as RGBA. Logs "Image Loaded: <path>." or
    // "Failed to load fontset: <path>!".
    bool LoadGlyphTexture(const std::string& path, int minFilter, int magFilter, Log& log = Log::Instance());
    // Every glyph's u and v from its place in the grid.
    void BuildGlyphGrid();

    void SetBlend(int source, int dest);
    void SetScale(float x, float y);
    void SetColour(float r, float g, float b, float a);
    // 0 left, 1 centre, 2 right; any other value draws as left.
    void SetAlign(int alignment);
    void EnableFixedPitch();
    void DisableFixedPitch();
    // There is no way back: the shadow stays off for this font.
    void DisableShadow();

    // The width the text advances, in units. Null text is 0 wide.
    float TextWidth(const char* text) const;
    // Draws the text with (x, y) the top of the line at its left end, centre
    // or right end by the alignment. Bytes below 33 (128..255 included) draw
    // nothing and advance like a space. The shadow pass is skipped while no
    // shadow texture is loaded.
    void DrawText(const char* text, float x, float y);
    void DrawText(const char* text, float x, float y, DrawSink& sink, TextDrawState& state);

    std::array<Glyph, kGlyphCount> glyphs;
    unsigned int texture = 0;
    // Kept by name: the shadow is whatever texture Load made for it, not
    // assumed to be the name after the glyph texture's.
    unsigned int shadowTexture = 0;
    int blendSource;
    int blendDest;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    bool shadow = true;
    float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    std::int32_t align = AlignCentre;
    bool fixedPitch = false;

private:
    void DrawPass(const char* text, float x, float y, DrawSink& sink) const;
};
