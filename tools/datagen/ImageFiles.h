// Writing the generated pictures: PNG and PSD through DevIL, 24-bit BMP by hand.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

enum class ImageFormat { Png, Psd };

// Saves width x height RGBA pixels (top row first) in the format; the file is
// replaced. False (with a message on stderr) when DevIL cannot write it.
bool SaveRgbaImage(const std::string& path, ImageFormat format, int width, int height,
                   const std::vector<std::uint8_t>& rgba);

// The bytes of an uncompressed 24-bit Windows bitmap from RGB pixels (top row
// first): 54-byte header, rows bottom-up in B, G, R order padded to 4 bytes.
std::vector<std::uint8_t> EncodeBmp24(int width, int height, const std::vector<std::uint8_t>& rgb);

// Writes bytes to a file (created or replaced); false when it could not.
bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace datagen
