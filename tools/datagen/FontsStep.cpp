// The font sheets "Fonts.psd", "Fonts2.psd" and "FontShadow.psd": 512 x 512
// RGBA, 16 x 16 cells of 32 pixels, glyph g in column g % 16, row g / 16.
// The game measures each glyph's advance as the number of cell columns that
// hold any alpha, so each glyph sits at the cell's left edge and its gaps
// and two spacing columns after it carry an alpha of 1 (invisible).
#include "Steps.h"

#include "ImageFiles.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace datagen {
namespace {

constexpr int kSheet = 512;
constexpr int kCell = 32;
constexpr int kPixelSize = 24;
constexpr int kBaseline = 24;    // row of the baseline inside a cell
constexpr int kSpacing = 2;      // columns after each glyph
constexpr int kMinColumns = 3;   // narrower glyphs would be drawn as spaces
constexpr const char* kFontDir = "/usr/share/fonts/truetype/dejavu/";

// Coverage of one sheet, 0..255 a pixel, plus the advance of each glyph.
struct Coverage {
    std::vector<std::uint8_t> ink = std::vector<std::uint8_t>(kSheet * kSheet, 0);
    int advance[256] = {};
};

bool RenderCoverage(const std::string& fontFile, Coverage& out)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        std::fprintf(stderr, "FreeType did not start\n");
        return false;
    }
    FT_Face face = nullptr;
    const std::string path = std::string(kFontDir) + fontFile;
    bool ok = FT_New_Face(library, path.c_str(), 0, &face) == 0;
    if (!ok) std::fprintf(stderr, "cannot open %s (install the fonts-dejavu-core package)\n", path.c_str());
    if (ok) ok = FT_Set_Pixel_Sizes(face, 0, kPixelSize) == 0;
    for (int code = 33; ok && code <= 126; ++code) {
        if (FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_RENDER) != 0) {
            std::fprintf(stderr, "%s has no glyph %d\n", fontFile.c_str(), code);
            ok = false;
            break;
        }
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        const int rows = static_cast<int>(bitmap.rows);
        const int width = static_cast<int>(bitmap.width);
        // The bitmap's first and last inked columns.
        int first = width, last = -1;
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < width; ++x)
                if (bitmap.buffer[y * bitmap.pitch + x] > 0) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        const int cellX = (code % 16) * kCell;
        const int cellY = (code / 16) * kCell;
        const int top = kBaseline - face->glyph->bitmap_top;
        const int extent = last >= first ? std::min(last - first + 1, kCell - kSpacing) : 0;
        for (int y = 0; y < rows; ++y) {
            const int cy = top + y;
            if (cy < 0 || cy >= kCell) continue;
            for (int x = 0; x < extent; ++x) {
                out.ink[static_cast<std::size_t>((cellY + cy) * kSheet + cellX + x)] =
                    bitmap.buffer[y * bitmap.pitch + first + x];
            }
        }
        out.advance[code] = std::max(extent + kSpacing, kMinColumns);
    }
    if (face != nullptr) FT_Done_Face(face);
    FT_Done_FreeType(library);
    return ok;
}

// White glyphs; every column of a glyph's advance gets at least alpha 1 on
// the cell's bottom row so the measured width is the advance.
std::vector<std::uint8_t> GlyphSheet(const Coverage& coverage)
{
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(kSheet) * kSheet * 4, 0);
    for (int i = 0; i < kSheet * kSheet; ++i) {
        const std::uint8_t a = coverage.ink[static_cast<std::size_t>(i)];
        if (a == 0) continue;
        rgba[static_cast<std::size_t>(i) * 4 + 0] = 255;
        rgba[static_cast<std::size_t>(i) * 4 + 1] = 255;
        rgba[static_cast<std::size_t>(i) * 4 + 2] = 255;
        rgba[static_cast<std::size_t>(i) * 4 + 3] = a;
    }
    for (int code = 33; code <= 126; ++code) {
        const int cellX = (code % 16) * kCell;
        const int bottom = (code / 16) * kCell + kCell - 1;
        for (int x = 0; x < coverage.advance[code]; ++x) {
            const std::size_t p = (static_cast<std::size_t>(bottom) * kSheet + static_cast<std::size_t>(cellX + x)) * 4;
            if (rgba[p + 3] == 0) {
                rgba[p + 0] = rgba[p + 1] = rgba[p + 2] = 255;
                rgba[p + 3] = 1;
            }
        }
    }
    return rgba;
}

// Black, soft glyphs: the coverage grown and blurred inside each cell.
std::vector<std::uint8_t> ShadowSheet(const Coverage& coverage)
{
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(kSheet) * kSheet * 4, 0);
    constexpr int kRadius = 2;
    std::vector<float> cell(kCell * kCell), tmp(kCell * kCell);
    for (int code = 33; code <= 126; ++code) {
        const int cellX = (code % 16) * kCell;
        const int cellY = (code / 16) * kCell;
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
                cell[y * kCell + x] = coverage.ink[static_cast<std::size_t>((cellY + y) * kSheet + cellX + x)] / 255.0f;
        for (int pass = 0; pass < 2; ++pass) {  // two box passes each way: a soft, near-Gaussian blur
            for (int y = 0; y < kCell; ++y)
                for (int x = 0; x < kCell; ++x) {
                    float sum = 0;
                    for (int k = -kRadius; k <= kRadius; ++k) {
                        const int xx = x + k;
                        if (xx >= 0 && xx < kCell) sum += cell[y * kCell + xx];
                    }
                    tmp[y * kCell + x] = sum / (2 * kRadius + 1);
                }
            for (int y = 0; y < kCell; ++y)
                for (int x = 0; x < kCell; ++x) {
                    float sum = 0;
                    for (int k = -kRadius; k <= kRadius; ++k) {
                        const int yy = y + k;
                        if (yy >= 0 && yy < kCell) sum += tmp[yy * kCell + x];
                    }
                    cell[y * kCell + x] = sum / (2 * kRadius + 1);
                }
        }
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x) {
                const float a = std::min(1.0f, cell[y * kCell + x] * 2.2f) * 0.8f;
                const std::size_t p = (static_cast<std::size_t>(cellY + y) * kSheet + static_cast<std::size_t>(cellX + x)) * 4;
                rgba[p + 3] = static_cast<std::uint8_t>(std::lround(a * 255.0f));
            }
    }
    return rgba;
}

}  // namespace

bool GenerateFonts(const Paths& paths)
{
    Coverage main, popup;
    if (!RenderCoverage("DejaVuSans-Bold.ttf", main)) return false;
    if (!RenderCoverage("DejaVuSansCondensed-Bold.ttf", popup)) return false;
    return SaveRgbaImage((paths.out / "Fonts.psd").string(), ImageFormat::Psd, kSheet, kSheet, GlyphSheet(main)) &&
           SaveRgbaImage((paths.out / "Fonts2.psd").string(), ImageFormat::Psd, kSheet, kSheet, GlyphSheet(popup)) &&
           SaveRgbaImage((paths.out / "FontShadow.psd").string(), ImageFormat::Psd, kSheet, kSheet, ShadowSheet(main));
}

}  // namespace datagen
