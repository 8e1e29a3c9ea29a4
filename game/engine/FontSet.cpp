#include "FontSet.h"


#include "GlDrawSink.h"
#include "GlState.h"
#include "ImagePixels.h"
#include "PictureFile.h"
#include "Texture.h"

#include <GL/gl.h>
#include <IL/il.h>

namespace {

// Text bytes are signed: 128..255 count as negative, below the first glyph.
constexpr int kFirstDrawnCode = 33;

int CodeOf(char c)
{
    return static_cast<signed char>(c);
}

void DeleteTexture(unsigned int& texture)
{
    if (texture != 0) {
        const GLuint name = texture;
        glDeleteTextures(1, &name);
        texture = 0;
    }
}

} // namespace

FontSet::FontSet() : blendSource(GL_SRC_ALPHA), blendDest(GL_ONE_MINUS_SRC_ALPHA)
{
    BuildGlyphGrid();
}

FontSet::~FontSet()
{
    DeleteTexture(texture);
    DeleteTexture(shadowTexture);
}

bool FontSet::Load(const std::string& fontFile, const std::string& shadowFile, int minFilter, int magFilter,
                   Log& log)
{
    if (!LoadGlyphTexture(fontFile, minFilter, magFilter, log))
        return false;
    BuildGlyphGrid();

    const unsigned int shadowImage = LoadTextureAuto(shadowFile, log);
    if (shadowImage == 0)
        return false;
    // LoadTextureAuto leaves the new texture bound.
    SetTextureFilter(minFilter, magFilter);
    SetTextureWrap(GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
    DeleteTexture(shadowTexture);
    shadowTexture = shadowImage;
    return true;
}

bool FontSet::LoadGlyphTexture(const std::string& path, int minFilter, int magFilter, Log& log)
{
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    ImagePixels pixels;
    const bool loaded = PictureFileAcceptable(path, log) &&
                        ilLoadImage(path.c_str()) == IL_TRUE && CopyBoundImageRgba(pixels);
    ilDeleteImages(1, &image);
    if (!loaded) {
        log.Write("Failed to load fontset: " + path + "!\n");
        return false;
    }
    log.Write("Image Loaded: " + path + ".\n");

    const std::array<int, kGlyphCount> widths = MeasureGlyphs(pixels.bytes.data(), pixels.width, pixels.height);
    for (int g = 0; g < kGlyphCount; ++g)
        glyphs[static_cast<std::size_t>(g)].width = widths[static_cast<std::size_t>(g)];

    DeleteTexture(texture);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, pixels.width, pixels.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.bytes.data());
    texture = name;
    return true;
}

void FontSet::BuildGlyphGrid()
{
    for (int g = 0; g < kGlyphCount; ++g) {
        Glyph& glyph = glyphs[static_cast<std::size_t>(g)];
        glyph.u = static_cast<float>(g % kGlyphGridSize) * kCellSpan;
        glyph.v = static_cast<float>(g / kGlyphGridSize) * kCellSpan;
    }
}

void FontSet::SetBlend(int source, int dest)
{
    blendSource = source;
    blendDest = dest;
}

void FontSet::SetScale(float x, float y)
{
    scaleX = x;
    scaleY = y;
}

void FontSet::SetColour(float r, float g, float b, float a)
{
    colour[0] = r;
    colour[1] = g;
    colour[2] = b;
    colour[3] = a;
}

void FontSet::SetAlign(int alignment)
{
    align = alignment;
}

void FontSet::EnableFixedPitch()
{
    fixedPitch = true;
}

void FontSet::DisableFixedPitch()
{
    fixedPitch = false;
}

void FontSet::DisableShadow()
{
    shadow = false;
}

float FontSet::TextWidth(const char* text) const
{
    if (text == nullptr)
        return 0.0f;
    float width = 0.0f;
    for (const char* c = text; *c != '\0'; ++c) {
        const int code = CodeOf(*c);
        if (code < kFirstDrawnCode)
            width += kSpaceAdvance * scaleX;
        else if (fixedPitch)
            width += kFixedAdvance * scaleX;
        else
            width += static_cast<float>(glyphs[static_cast<std::size_t>(code)].width) * scaleX;
    }
    return width;
}

void FontSet::DrawText(const char* text, float x, float y)
{
    DrawText(text, x, y, GlSink(), GlTextState());
}

void FontSet::DrawText(const char* text, float x, float y, DrawSink& sink, TextDrawState& state)
{
    if (text == nullptr)
        return;
    state.BindTexture(texture);
    state.SetBlend(blendSource, blendDest);
    sink.Colour(colour[0], colour[1], colour[2], colour[3]);

    if (align == AlignCentre)
        x -= TextWidth(text) * 0.5f;
    else if (align == AlignRight)
        x -= TextWidth(text);

    if (shadow && shadowTexture != 0) {
        state.BindTexture(shadowTexture);
        DrawPass(text, x + kShadowOffset * scaleX, y + kShadowOffset * scaleY, sink);
        state.BindTexture(texture);
    }
    DrawPass(text, x, y, sink);
    state.Finish();
}

void FontSet::DrawPass(const char* text, float x, float y, DrawSink& sink) const
{
    const float size = kQuadSize * scaleX;
    const float sizeY = kQuadSize * scaleY;
    float pen = x;
    sink.Begin(DrawSink::Primitive::Quads);
    for (const char* c = text; *c != '\0'; ++c) {
        const int code = CodeOf(*c);
        const Glyph* glyph = code >= kFirstDrawnCode ? &glyphs[static_cast<std::size_t>(code)] : nullptr;
        if (glyph == nullptr || glyph->width < kMinDrawnWidth) {
            pen += kSpaceAdvance * scaleX;
            continue;
        }
        sink.TexCoord(glyph->u, glyph->v);
        sink.Vertex(pen, y);
        sink.TexCoord(glyph->u + kCellSpan, glyph->v);
        sink.Vertex(pen + size, y);
        sink.TexCoord(glyph->u + kCellSpan, glyph->v + kCellSpan);
        sink.Vertex(pen + size, y + sizeY);
        sink.TexCoord(glyph->u, glyph->v + kCellSpan);
        sink.Vertex(pen, y + sizeY);
        pen += fixedPitch ? kFixedAdvance * scaleX : static_cast<float>(glyph->width) * scaleX;
    }
    sink.End();
}
