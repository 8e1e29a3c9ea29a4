// Seeded mutations of the test plug-ins' file headers (BMP, the animation
// format, WAV) through their readers and cImageFile: every outcome is a clear
// image file code, reads stay inside the caller's rows, and nothing crashes.
// The plug-ins' sources are built in natively (their entry points renamed).
// Deterministic: a failing case is reproduced by its iteration number.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>

#include "BuiltInTestPlugins.h"
#include "MutateBytes.h"
#include "ScratchDir.h"
#include "image/cImageFile.h"
#include "stream/cMemorySource.h"

extern "C" int32_t WavCanReadFile(void*);

namespace {

void Put32(Bytes& b, size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); }

Bytes Bmp(int w, int h, int bits) {
  const int rowBytes = ((w * bits + 31) / 32) * 4;
  const int colours = bits <= 8 ? 1 << bits : 0;
  const int offset = 54 + 4 * colours;
  Bytes f(static_cast<size_t>(offset + rowBytes * h), 0x5A);
  std::memset(f.data(), 0, static_cast<size_t>(offset));
  f[0] = 'B', f[1] = 'M';
  Put32(f, 2, static_cast<uint32_t>(f.size()));
  Put32(f, 10, static_cast<uint32_t>(offset));
  Put32(f, 14, 40);
  Put32(f, 18, static_cast<uint32_t>(w));
  Put32(f, 22, static_cast<uint32_t>(h));
  f[26] = 1;
  f[28] = static_cast<uint8_t>(bits);
  return f;
}

Bytes Anim(int w, int h, int depth, int frames) {
  const int line = depth == 8 ? w : w * ((depth + 1) / 8);
  Bytes f(20 + (depth == 8 ? 1024 : 0) + static_cast<size_t>(line * h * frames), 0x33);
  std::memcpy(f.data(), "ZANM", 4);
  Put32(f, 4, static_cast<uint32_t>(w));
  Put32(f, 8, static_cast<uint32_t>(h));
  Put32(f, 12, static_cast<uint32_t>(depth));
  Put32(f, 16, static_cast<uint32_t>(frames));
  return f;
}

Bytes Wav() {
  Bytes f(44, 0);
  std::memcpy(f.data(), "RIFF", 4);
  std::memcpy(f.data() + 8, "WAVEfmt ", 8);
  return f;
}

TEST(FuzzPluginFiles, MutatedHeadersGiveClearCodesThroughTheReaders) {
  cImagePluginRegistry registry;
  ASSERT_TRUE(AddBuiltInTestPlugins(registry));

  const Bytes seeds[] = {Bmp(17, 5, 8), Bmp(40, 10, 24), Bmp(9, 4, 32), Bmp(5, 3, 4), Anim(6, 4, 24, 5),
                         Anim(5, 3, 8, 2), Wav()};
  const std::set<int32_t> allowed = {ImageOk, ImageErrOutOfMemory, ImageErrNoFilter, ImageErrUnsupported,
                                     ImageErrLowDepth, ImageErrArgument};
  int opened = 0;
  for (uint32_t iteration = 0; iteration < 4000; ++iteration) {
    SCOPED_TRACE("iteration " + std::to_string(iteration));
    std::mt19937 rng(iteration);
    Bytes input = seeds[iteration % std::size(seeds)];
    Mutate(input, rng);
    cMemorySource wav;
    wav.Attach(input.data(), static_cast<uint32_t>(input.size()));
    const int32_t isWav = WavCanReadFile(&wav);
    ASSERT_TRUE(isWav == 0 || isWav == 1);

    cMemorySource src;
    src.Attach(input.data(), static_cast<uint32_t>(input.size()));
    cImageFile file(&registry);
    const int32_t e = file.OpenReadStream(&src);
    ASSERT_TRUE(allowed.count(e)) << e;
    if (e != ImageOk) continue;
    ++opened;
    const int32_t w = file.GetWidth(), h = file.GetHeight();
    ASSERT_GE(w, 1);
    ASSERT_GE(h, 1);
    if (int64_t{w} * h > (4 << 20)) continue;  // the caller's rows would pass the test's budget
    // Rows of 32 bits with a guard after them.
    const size_t pitch = static_cast<size_t>(w) * 4;
    Bytes rows(pitch * static_cast<size_t>(h) + 16, 0xC3);
    Bytes alpha(static_cast<size_t>(w) * static_cast<size_t>(h) + 16, 0xC3);
    for (int frame = 0; frame < 3; ++frame) {
      const int32_t r = file.ReadFrame(rows.data(), w, h, static_cast<int32_t>(pitch), 32, nullptr, alpha.data(), w);
      ASSERT_TRUE(allowed.count(r)) << r;
      if (r != ImageOk) break;
    }
    for (size_t i = rows.size() - 16; i < rows.size(); ++i) ASSERT_EQ(rows[i], 0xC3) << "written past the rows";
    for (size_t i = alpha.size() - 16; i < alpha.size(); ++i) ASSERT_EQ(alpha[i], 0xC3);
    file.Close();
  }
  EXPECT_GT(opened, 100) << "the mutations leave many files readable";
  registry.UnloadWith(SystemPlugins());
}

}  // namespace
