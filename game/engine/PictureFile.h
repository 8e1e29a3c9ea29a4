#pragma once

#include "Log.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The image library reads pictures itself, but the data file rule comes
// first: no picture of the game exceeds 4096 x 4096 pixels of four bytes, so
// a file above that much uncompressed (with 1 MB to spare for headers), or a
// path that is not a regular file, is refused before the library opens it.
constexpr std::int64_t kImageFileSizeCap = (std::int64_t{4096} * 4096 * 4) + (1 << 20);
constexpr std::uint32_t kPictureSideLimit = 4096;

// The image library trusts a Photoshop file's section lengths and row byte
// counts and reads past the end of a short one (a truncated font sheet
// crashes it), so the game checks that layout itself: the 26-byte header
// (version 1, 1 to 56 channels, sides of 1 to 4096 pixels, depth 1, 8 or 16),
// the three length-prefixed sections inside the file, and image data that
// holds every row it declares, raw or run-length coded (each row's codes
// decode to exactly one row within its byte count). False with a reason
// (one line, no line end) otherwise.
bool PsdLayoutFits(const std::uint8_t* bytes, std::size_t size, std::string& reason);

// The checks a picture passes before the image library may open it: the data
// file rule, and for a ".psd" file (any case) its layout. A refusal is logged
// ("Refused <path>: <why>"); a missing file passes (the library then reports
// it in its usual words).
bool PictureFileAcceptable(const std::string& path, Log& log);
