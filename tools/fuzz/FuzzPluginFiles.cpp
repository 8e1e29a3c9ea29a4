// The test plug-ins' readers (BMP and the animation format, built in with
// renamed entry points) through cImageFile: the first input byte picks the
// output depth, the rest is the file. Rows beyond 4 Mi pixels are not read.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "BuiltInTestPlugins.h"
#include "image/cImageFile.h"
#include "stream/cMemorySource.h"

namespace {

cImagePluginRegistry& Registry() {
  static cImagePluginRegistry* registry = [] {
    auto* r = new cImagePluginRegistry();
    AddBuiltInTestPlugins(*r);
    return r;
  }();
  return *registry;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  static const int32_t kDepths[] = {8, 15, 16, 24, 32};
  const int32_t depth = kDepths[data[0] % 5];
  cMemorySource src;
  src.Attach(data + 1, static_cast<uint32_t>(size - 1));
  cImageFile file(&Registry());
  if (file.OpenReadStream(&src) != ImageOk) return 0;
  const int32_t w = file.GetWidth(), h = file.GetHeight();
  if (w < 1 || h < 1) std::abort();
  if (int64_t{w} * h > (4 << 20)) return 0;
  const int32_t pitch = w * 4;
  std::vector<uint8_t> rows(static_cast<size_t>(pitch) * static_cast<size_t>(h));
  std::vector<uint8_t> alpha(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int frame = 0; frame < 3; ++frame)
    if (file.ReadFrame(rows.data(), w, h, pitch, depth, nullptr, alpha.data(), w) != ImageOk) break;
  file.Close();
  return 0;
}
