// The portable parts of the image file dialog: the list of file types built
// from the listed plug-ins into fixed blocks (nothing is written past a
// block: a plug-in whose entry does not fit is left out), the preview's fit
// in its frame, and the preview's palette choice.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr size_t kPerFormatBlock = 4096;
inline constexpr size_t kFilterBlock = 8192;
inline constexpr size_t kDefaultExtBlock = 1024;

// Dialog kinds.
enum : uint32_t { DialogStillImages = 1, DialogAnimations = 2 };

// One plug-in the dialog lists: its name, extensions (null-ended, may be
// empty) and identifier.
struct DialogFormat {
  const char* name;
  const char* const* exts;
  uint32_t id;
};

// The texts of the library's string table that the list uses.
struct DialogStrings {
  const char* title;        // 100, 101 or 102 by the kinds
  const char* caption;      // 104: "%s files ("
  const char* allFiles;     // 103: "All files (*.*)|*.*||"
};

struct DialogTypeBlocks {
  char perFormat[kPerFormatBlock];
  char filter[kFilterBlock];
  char defaultExts[kDefaultExtBlock];  // zero-terminated entries, one per entry made
  int32_t initialIndex;                // 1-based position of the caller's format, 0 when none
  int32_t entries;                     // entries made
  // Identifiers of the entries made, in order (for the chosen index in save mode).
  uint32_t ids[kPerFormatBlock / 8];
};

// Builds the blocks; the filter text ends with its "|" turned into zero bytes.
void BuildDialogTypes(const DialogFormat* formats, int32_t count, bool open, uint32_t formatId,
                      const DialogStrings& strings, DialogTypeBlocks& out);

struct PreviewRect {
  int32_t x, y, width, height;
};
// Where an image of imageW x imageH is drawn in a frame of boxW x boxH:
// centred at its own size when it fits, else scaled to fit with its
// proportions.
PreviewRect FitPreview(int32_t imageW, int32_t imageH, int32_t boxW, int32_t boxH);

enum class PreviewPalette { None, Preview, Halftone };
// On a screen of 8 bits or less the preview's own palette is realised, or a
// halftone palette when the preview has none.
PreviewPalette ChoosePreviewPalette(int32_t screenBits, bool previewHasPalette);
