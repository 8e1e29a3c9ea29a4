#include "image/DialogTypes.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Appends to a zero-terminated text in a block of `size` bytes; false (and
// nothing appended) when it would not fit.
bool Append(char* block, size_t size, const std::string& text) {
  const size_t used = std::strlen(block);
  if (used + text.size() + 1 > size) return false;
  std::memcpy(block + used, text.c_str(), text.size() + 1);
  return true;
}

}  // namespace

void BuildDialogTypes(const DialogFormat* formats, int32_t count, bool open, uint32_t formatId,
                      const DialogStrings& strings, DialogTypeBlocks& out) {
  std::memset(&out, 0, sizeof out);
  Append(out.filter, kFilterBlock, std::string(strings.title ? strings.title : "") + "|");
  size_t defaultUsed = 0;
  for (int32_t i = 0; i < count && formats; ++i) {
    const DialogFormat& f = formats[i];
    if (!f.exts || !f.exts[0]) continue;
    std::string listed, patterns;
    for (const char* const* e = f.exts; *e; ++e) {
      if (e != f.exts) listed += ", ", patterns += ";";
      listed += std::string("*.") + *e;
      patterns += std::string("*.") + *e;
    }
    char caption[512];
    std::snprintf(caption, sizeof caption, strings.caption ? strings.caption : "%s", f.name ? f.name : "");
    const std::string entry = std::string(caption) + listed + ")|" + patterns + "|";
    const std::string filterPart = (out.entries ? ";" : "") + patterns;
    const size_t extLength = std::strlen(f.exts[0]) + 1;
    // An entry goes in whole or not at all; room stays for what follows it
    // in the filter text ("|", the list, the all-files pair).
    const size_t filterAfter = std::strlen(out.filter) + filterPart.size() + 1 + std::strlen(out.perFormat) +
                               entry.size() + (strings.allFiles ? std::strlen(strings.allFiles) : 0) + 3;
    if (std::strlen(out.perFormat) + entry.size() + 1 > kPerFormatBlock || filterAfter > kFilterBlock ||
        defaultUsed + extLength + 1 > kDefaultExtBlock || out.entries >= static_cast<int32_t>(std::size(out.ids)))
      continue;
    Append(out.perFormat, kPerFormatBlock, entry);
    Append(out.filter, kFilterBlock, filterPart);
    std::memcpy(out.defaultExts + defaultUsed, f.exts[0], extLength);
    defaultUsed += extLength;
    out.ids[out.entries++] = f.id;
    if (f.id == formatId && formatId != 0 && out.initialIndex == 0) out.initialIndex = out.entries;
  }
  if (open) {
    Append(out.filter, kFilterBlock, "|");
    Append(out.filter, kFilterBlock, out.perFormat);
    Append(out.filter, kFilterBlock, strings.allFiles ? strings.allFiles : "");
  } else {
    std::memset(out.filter, 0, kFilterBlock);
    std::memcpy(out.filter, out.perFormat, std::strlen(out.perFormat));
    Append(out.filter, kFilterBlock, "||");
  }
  // The system's list of description and pattern pairs.
  for (char* c = out.filter; c < out.filter + kFilterBlock; ++c)
    if (*c == '|') *c = '\0';
}

PreviewRect FitPreview(int32_t imageW, int32_t imageH, int32_t boxW, int32_t boxH) {
  if (imageW < 1 || imageH < 1 || boxW < 1 || boxH < 1) return {0, 0, 0, 0};
  int32_t w = imageW, h = imageH;
  const auto byWidth = [&] {
    w = boxW;
    h = static_cast<int32_t>(int64_t{imageH} * boxW / imageW);
  };
  const auto byHeight = [&] {
    h = boxH;
    w = static_cast<int32_t>(int64_t{imageW} * boxH / imageH);
  };
  if (boxW < imageW) {
    // The width limits unless the image's height-to-frame ratio is not the
    // smaller one.
    const bool heightTighter = boxH < imageH && int64_t{imageH} * boxW >= int64_t{imageW} * boxH;
    if (heightTighter) byHeight();
    else byWidth();
  } else if (boxH < imageH) {
    byHeight();
  }
  return {(boxW - w) / 2, (boxH - h) / 2, w, h};
}

PreviewPalette ChoosePreviewPalette(int32_t screenBits, bool previewHasPalette) {
  if (screenBits > 8) return PreviewPalette::None;
  return previewHasPalette ? PreviewPalette::Preview : PreviewPalette::Halftone;
}
