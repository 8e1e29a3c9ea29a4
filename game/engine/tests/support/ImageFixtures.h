#pragma once

// Small picture files written byte by byte, so tests know exactly what a file
// holds without trusting the image library that reads it. Pixels are given
// top row first, interleaved R, G, B (and A).
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

namespace fixture_detail {

inline void Put16Le(Bytes& out, unsigned v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Put32Le(Bytes& out, unsigned v)
{
    Put16Le(out, v & 0xFFFFu);
    Put16Le(out, v >> 16);
}
inline void Put16Be(Bytes& out, unsigned v)
{
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}
inline void Put32Be(Bytes& out, unsigned v)
{
    Put16Be(out, v >> 16);
    Put16Be(out, v & 0xFFFFu);
}
inline void Save(const std::string& path, const Bytes& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace fixture_detail

// Uncompressed 8-bit RGB or RGBA Photoshop file (planar channels, top row first).
inline void WritePsd(const std::string& path, int width, int height, int channels, const Bytes& pixels)
{
    using namespace fixture_detail;
    Bytes out = {'8', 'B', 'P', 'S'};
    Put16Be(out, 1);
    out.insert(out.end(), 6, 0);
    Put16Be(out, static_cast<unsigned>(channels));
    Put32Be(out, static_cast<unsigned>(height));
    Put32Be(out, static_cast<unsigned>(width));
    Put16Be(out, 8); // bits per channel
    Put16Be(out, 3); // RGB colour mode
    Put32Be(out, 0); // colour mode data
    Put32Be(out, 0); // image resources
    Put32Be(out, 0); // layers and masks
    Put16Be(out, 0); // raw image data
    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < width * height; ++i)
            out.push_back(pixels[static_cast<std::size_t>(i * channels + c)]);
    Save(path, out);
}

// Uncompressed true-colour Targa (stored blue first), rows stored bottom-up
// unless topFirst.
inline void WriteTga(const std::string& path, int width, int height, int channels, const Bytes& pixels,
                     bool topFirst)
{
    using namespace fixture_detail;
    Bytes out = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Put16Le(out, static_cast<unsigned>(width));
    Put16Le(out, static_cast<unsigned>(height));
    out.push_back(static_cast<std::uint8_t>(channels * 8));
    out.push_back(static_cast<std::uint8_t>((channels == 4 ? 8 : 0) | (topFirst ? 0x20 : 0)));
    for (int row = 0; row < height; ++row) {
        const int y = topFirst ? row : height - 1 - row;
        for (int x = 0; x < width; ++x) {
            const std::size_t i = static_cast<std::size_t>((y * width + x) * channels);
            out.push_back(pixels[i + 2]);
            out.push_back(pixels[i + 1]);
            out.push_back(pixels[i]);
            if (channels == 4)
                out.push_back(pixels[i + 3]);
        }
    }
    Save(path, out);
}

// Uncompressed 8-bit grey Targa, rows stored bottom-up.
inline void WriteGreyTga(const std::string& path, int width, int height, const Bytes& grey)
{
    using namespace fixture_detail;
    Bytes out = {0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Put16Le(out, static_cast<unsigned>(width));
    Put16Le(out, static_cast<unsigned>(height));
    out.push_back(8);
    out.push_back(0);
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x)
            out.push_back(grey[static_cast<std::size_t>(y * width + x)]);
    Save(path, out);
}

// Windows bitmap, rows stored bottom-up and padded to 4 bytes: 24-bit from RGB
// pixels, or 8-bit with a palette (RGB triples) when palette is not empty, in
// which case pixels holds one index per pixel.
inline void WriteBmp(const std::string& path, int width, int height, const Bytes& pixels,
                     const Bytes& palette = {})
{
    using namespace fixture_detail;
    const bool indexed = !palette.empty();
    const unsigned colours = static_cast<unsigned>(palette.size() / 3);
    const int bytesPerPixel = indexed ? 1 : 3;
    const int stride = (width * bytesPerPixel + 3) & ~3;
    const unsigned dataOffset = 14 + 40 + colours * 4;
    const unsigned dataSize = static_cast<unsigned>(stride * height);
    Bytes out = {'B', 'M'};
    Put32Le(out, dataOffset + dataSize);
    Put32Le(out, 0);
    Put32Le(out, dataOffset);
    Put32Le(out, 40);
    Put32Le(out, static_cast<unsigned>(width));
    Put32Le(out, static_cast<unsigned>(height));
    Put16Le(out, 1);
    Put16Le(out, static_cast<unsigned>(bytesPerPixel * 8));
    Put32Le(out, 0);
    Put32Le(out, dataSize);
    Put32Le(out, 2835);
    Put32Le(out, 2835);
    Put32Le(out, colours);
    Put32Le(out, 0);
    for (unsigned c = 0; c < colours; ++c) {
        out.push_back(palette[c * 3 + 2]);
        out.push_back(palette[c * 3 + 1]);
        out.push_back(palette[c * 3]);
        out.push_back(0);
    }
    for (int y = height - 1; y >= 0; --y) {
        Bytes row;
        for (int x = 0; x < width; ++x) {
            const std::size_t i = static_cast<std::size_t>((y * width + x) * bytesPerPixel);
            if (indexed) {
                row.push_back(pixels[i]);
            } else {
                row.push_back(pixels[i + 2]);
                row.push_back(pixels[i + 1]);
                row.push_back(pixels[i]);
            }
        }
        row.resize(static_cast<std::size_t>(stride), 0);
        out.insert(out.end(), row.begin(), row.end());
    }
    Save(path, out);
}
