/* BMP files (uncompressed, 4, 8, 24 and 32 bits per pixel) over the
   library's streams, in plain C so that both test filters share it. The
   transparent colour travels in the file header's reserved words as
   0x80BBGGRR. */
#ifndef OMBREL_TESTPLUGINS_BMPCODEC_H
#define OMBREL_TESTPLUGINS_BMPCODEC_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum { kBmpMaxSide = 16384 };

typedef struct BmpInfo {
  int32_t width, height, depth;
  int32_t topDown;
  uint32_t dataOffset;
  uint32_t rowBytes; /* padded to 4 bytes */
  uint32_t paletteCount;
  uint8_t palette[256][4]; /* red, green, blue, 0: the LOGPALETTE entry order */
  uint32_t key;
  int32_t hasKey;
} BmpInfo;

/* Nonzero when the stream starts with "BM" (reads two bytes). */
int32_t BmpLooksLike(void* source);
/* Reads the headers and palette, leaving the stream at the first row; 0 or
   an image file error (5 not a BMP this codec reads). */
int32_t BmpReadHeader(void* source, BmpInfo* info);
/* Reads the rows into `bits` (top row first at bits, `pitch` apart) in the
   file's own pixel format, with 32-bit alpha bytes into alphaRows when given.
   `convert` (may be null) turns each file row into the caller's format. */
typedef void (*BmpRowConverter)(void* context, uint8_t* destination, const uint8_t* row, int32_t width);
int32_t BmpReadRows(void* source, const BmpInfo* info, uint8_t* bits, int32_t pitch, uint8_t* alphaRows,
                    int32_t alphaPitch, BmpRowConverter convert, void* context);
/* Writes an 8, 24 or 32-bit image (palette block for 8 bits: version, count,
   entries red, green, blue, flags). alphaPitch 0 means alphaOrKey is the
   address of the transparent colour (or null). */
int32_t BmpWrite(void* sink, const uint8_t* bits, int32_t width, int32_t height, int32_t depth, int32_t pitch,
                 const void* paletteBlock, const void* alphaOrKey, int32_t alphaPitch);

#ifdef __cplusplus
}
#endif

#endif
