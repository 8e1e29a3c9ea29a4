#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The bound image's pixels as 8-bit bytes, 3 or 4 per pixel, rows top first.
struct ImagePixels {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 0;
    std::vector<std::uint8_t> bytes;
};

// The channel orders an upload accepts as they are.
enum class ChannelOrder { RedFirst, RedOrBlueFirst };

// Copies the image bound in the image library. An image that is not 8-bit
// with 3 or 4 channels in an accepted order is converted first (to RGBA when
// it has alpha, else RGB; blue-first when blueFirstTarget). False when the
// image is empty or cannot be converted.
bool CopyBoundImage(ImagePixels& out, ChannelOrder accepted, bool blueFirstTarget);

// Same, always as 8-bit RGBA.
bool CopyBoundImageRgba(ImagePixels& out);

// True when the path asks for the red/blue swap (".tga" anywhere, case-sensitive).
bool PathSwapsRedBlue(const std::string& path);

// Swaps the first and third byte of every 3- or 4-byte pixel.
void SwapRedBlue(ImagePixels& image);
