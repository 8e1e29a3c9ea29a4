// BMP files written by the tests themselves (independently of the plug-ins
// that read them): bottom-up rows padded to 4 bytes, palette entries as
// 0x00RRGGBB words.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

inline std::vector<uint8_t> MakeBmp(int w, int h, int bits, const std::vector<uint32_t>& palette,
                                    const std::vector<uint8_t>& topDownPixels) {
  const int rowBytes = ((w * bits + 31) / 32) * 4;
  const int offset = 54 + 4 * static_cast<int>(palette.size());
  std::vector<uint8_t> f(static_cast<size_t>(offset + rowBytes * h), 0);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&f[at], &v, 4); };
  f[0] = 'B', f[1] = 'M';
  put32(2, static_cast<uint32_t>(f.size()));
  put32(10, static_cast<uint32_t>(offset));
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(h));
  f[26] = 1;
  f[28] = static_cast<uint8_t>(bits);
  put32(46, static_cast<uint32_t>(palette.size()));
  for (size_t i = 0; i < palette.size(); ++i) put32(54 + 4 * i, palette[i]);
  const int pixelBytes = (w * bits + 7) / 8;
  for (int y = 0; y < h; ++y)
    std::memcpy(&f[static_cast<size_t>(offset + rowBytes * (h - 1 - y))],
                &topDownPixels[static_cast<size_t>(pixelBytes * y)], static_cast<size_t>(pixelBytes));
  return f;
}
