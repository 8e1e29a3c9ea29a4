// Writing the generated pictures: PNG through DevIL; PSD and 24-bit BMP by hand.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

enum class ImageFormat { Png, Psd };

// Saves width x height RGBA pixels (top row first) in the format; the file is
// replaced. False (with a message on stderr) when it cannot be written.
bool SaveRgbaImage(const std::string& path, ImageFormat format, int width, int height,
                   const std::vector<std::uint8_t>& rgba);

// The bytes of a Photoshop file of width x height RGBA pixels (top row first):
// RGB colour mode, 4 channels, PackBits (RLE) compressed. DevIL's reader keeps
// the fourth channel as alpha only from compressed data, so no raw variant.
std::vector<std::uint8_t> EncodePsdRgba(int width, int height, const std::vector<std::uint8_t>& rgba);

// The bytes of an uncompressed 24-bit Windows bitmap from RGB pixels (top row
// first): 54-byte header, rows bottom-up in B, G, R order padded to 4 bytes.
std::vector<std::uint8_t> EncodeBmp24(int width, int height, const std::vector<std::uint8_t>& rgb);

// Writes bytes to a file (created or replaced); false when it could not.
bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace datagen
