#include "GlyphMetrics.h"

#include <cstddef>

std::array<int, kGlyphCount> MeasureGlyphs(const std::uint8_t* pixels, int width, int height)
{
    std::array<int, kGlyphCount> widths{};
    if (pixels == nullptr || width < kGlyphGridSize || height < kGlyphGridSize)
        return widths;
    const int cellWidth = width / kGlyphGridSize;
    const int cellHeight = height / kGlyphGridSize;
    const std::size_t stride = static_cast<std::size_t>(width) * 4;

    for (int row = 0; row < kGlyphGridSize; ++row) {
        for (int column = 0; column < kGlyphGridSize; ++column) {
            int inked = 0;
            for (int x = 0; x < cellWidth; ++x) {
                const std::size_t px = static_cast<std::size_t>(column * cellWidth + x);
                for (int y = 0; y < cellHeight; ++y) {
                    const std::size_t py = static_cast<std::size_t>(row * cellHeight + y);
                    if (pixels[py * stride + px * 4 + 3] > 0) {
                        ++inked;
                        break;
                    }
                }
            }
            widths[static_cast<std::size_t>(row * kGlyphGridSize + column)] = inked;
        }
    }
    return widths;
}
