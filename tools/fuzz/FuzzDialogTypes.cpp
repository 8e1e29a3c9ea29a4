// Plug-in texts (names and extension lists) through the image file dialog's
// type-list builder: the input is split at zero bytes into texts, the first
// of each group a name and the rest its extensions (a 0xFF byte ends a
// group). The blocks sit between guards that must stay untouched.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "image/DialogTypes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::deque<std::string> texts;
  std::vector<std::vector<const char*>> exts(1);
  std::vector<const char*> names;
  std::string current;
  for (size_t i = 0; i <= size; ++i) {
    const uint8_t c = i < size ? data[i] : 0;
    if (c == 0xFF || i == size) {
      if (!names.empty() || !current.empty()) exts.emplace_back();
      current.clear();
      continue;
    }
    if (c != 0) {
      current += static_cast<char>(c);
      continue;
    }
    texts.push_back(current);
    current.clear();
    if (exts.size() > names.size()) names.push_back(texts.back().c_str());
    else exts[names.size() - 1].push_back(texts.back().c_str());
  }
  std::vector<DialogFormat> formats;
  for (size_t i = 0; i < names.size(); ++i) {
    exts[i].push_back(nullptr);
    formats.push_back({names[i], exts[i].data(), static_cast<uint32_t>(i)});
  }
  struct Guarded {
    uint8_t before[32];
    DialogTypeBlocks blocks;
    uint8_t after[32];
  };
  auto g = std::make_unique<Guarded>();
  std::memset(g->before, 0xA5, sizeof g->before);
  std::memset(g->after, 0xA5, sizeof g->after);
  const DialogStrings strings = {"Image files", "%s files (", "All files (*.*)|*.*||"};
  BuildDialogTypes(formats.data(), static_cast<int32_t>(formats.size()), size % 2 == 0, 1, strings, g->blocks);
  for (uint8_t b : g->before)
    if (b != 0xA5) std::abort();
  for (uint8_t b : g->after)
    if (b != 0xA5) std::abort();
  return 0;
}
