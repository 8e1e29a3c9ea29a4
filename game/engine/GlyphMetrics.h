#pragma once

#include <array>
#include <cstdint>

// Glyph sheets hold 256 glyphs in a 16 x 16 grid of equal cells.
constexpr int kGlyphCount = 256;
constexpr int kGlyphGridSize = 16;

// The width of every glyph of a sheet: the number of pixel columns of its
// cell that hold at least one pixel with alpha above 0 (columns with ink, not
// the extent from the first to the last). pixels: width x height RGBA bytes,
// top row first; cells are width / 16 by height / 16 pixels. A null buffer or
// a sheet smaller than the grid measures every glyph 0 wide.
std::array<int, kGlyphCount> MeasureGlyphs(const std::uint8_t* pixels, int width, int height);
