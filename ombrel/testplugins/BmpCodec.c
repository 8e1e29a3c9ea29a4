#include "BmpCodec.h"

#include <stdlib.h>
#include <string.h>

#include "StreamCalls.h"

static uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; }
static uint16_t Le16(const uint8_t* p) { return (uint16_t)(p[0] | p[1] << 8); }
static void Put32(uint8_t* p, uint32_t v) {
  p[0] = (uint8_t)v;
  p[1] = (uint8_t)(v >> 8);
  p[2] = (uint8_t)(v >> 16);
  p[3] = (uint8_t)(v >> 24);
}
static void Put16(uint8_t* p, uint32_t v) {
  p[0] = (uint8_t)v;
  p[1] = (uint8_t)(v >> 8);
}

int32_t BmpLooksLike(void* source) {
  uint8_t magic[2] = {0, 0};
  if (SourceRead(source, magic, 2) != 0) return 0;
  return magic[0] == 'B' && magic[1] == 'M';
}

int32_t BmpReadHeader(void* source, BmpInfo* info) {
  uint8_t h[54];
  uint32_t headerSize, clrUsed, i;
  int32_t height;
  memset(info, 0, sizeof *info);
  if (SourceRead(source, h, 54) != 0 || h[0] != 'B' || h[1] != 'M') return 5;
  headerSize = Le32(h + 14);
  info->width = (int32_t)Le32(h + 18);
  height = (int32_t)Le32(h + 22);
  info->depth = Le16(h + 28);
  if (headerSize < 40 || headerSize > 124 || Le16(h + 26) != 1 || Le32(h + 30) != 0) return 5;
  if (info->depth != 4 && info->depth != 8 && info->depth != 24 && info->depth != 32) return 5;
  if (info->width < 1 || info->width > kBmpMaxSide || height == 0 || height < -kBmpMaxSide ||
      height > kBmpMaxSide)
    return 5;
  info->topDown = height < 0;
  info->height = height < 0 ? -height : height;
  info->rowBytes = (((uint32_t)info->width * (uint32_t)info->depth + 31) / 32) * 4;
  info->dataOffset = Le32(h + 10);
  if ((Le32(h + 6) & 0xFF000000u) == 0x80000000u) {
    info->hasKey = 1;
    info->key = Le32(h + 6) & 0xFFFFFFu;
  }
  if (headerSize > 40) SourceSeek(source, (int32_t)(headerSize - 40), 1);
  if (info->depth <= 8) {
    clrUsed = Le32(h + 46);
    info->paletteCount = clrUsed == 0 || clrUsed > (1u << info->depth) ? 1u << info->depth : clrUsed;
    for (i = 0; i < info->paletteCount; ++i) {
      uint8_t q[4];
      if (SourceRead(source, q, 4) != 0) return 5;
      info->palette[i][0] = q[2];
      info->palette[i][1] = q[1];
      info->palette[i][2] = q[0];
    }
  }
  if (info->dataOffset < 54 || SourceSeek(source, (int32_t)info->dataOffset, 0) != info->dataOffset) return 5;
  return 0;
}

int32_t BmpReadRows(void* source, const BmpInfo* info, uint8_t* bits, int32_t pitch, uint8_t* alphaRows,
                    int32_t alphaPitch, BmpRowConverter convert, void* context) {
  int32_t i, x;
  uint8_t* row = (uint8_t*)malloc(info->rowBytes);
  if (!row) return 1;
  for (i = 0; i < info->height; ++i) {
    const int32_t y = info->topDown ? i : info->height - 1 - i;
    uint8_t* out = bits + (intptr_t)pitch * y;
    if (SourceRead(source, row, info->rowBytes) != 0) {
      free(row);
      return 5;
    }
    if (alphaRows && info->depth == 32)
      for (x = 0; x < info->width; ++x) alphaRows[(intptr_t)alphaPitch * y + x] = row[4 * x + 3];
    if (convert) convert(context, out, row, info->width);
    else memcpy(out, row, (size_t)info->width * (size_t)(info->depth / 8));
  }
  free(row);
  return 0;
}

int32_t BmpWrite(void* sink, const uint8_t* bits, int32_t width, int32_t height, int32_t depth, int32_t pitch,
                 const void* paletteBlock, const void* alphaOrKey, int32_t alphaPitch) {
  uint8_t h[54];
  const uint32_t rowBytes = (((uint32_t)width * (uint32_t)depth + 31) / 32) * 4;
  const uint32_t paletteCount = depth == 8 ? 256 : 0;
  const uint32_t offset = 54 + 4 * paletteCount;
  uint8_t* row;
  int32_t y, x;
  uint32_t i;
  if (depth != 8 && depth != 24 && depth != 32) return 10;
  memset(h, 0, sizeof h);
  h[0] = 'B';
  h[1] = 'M';
  Put32(h + 2, offset + rowBytes * (uint32_t)height);
  if (alphaPitch == 0 && alphaOrKey) Put32(h + 6, 0x80000000u | (*(const uint32_t*)alphaOrKey & 0xFFFFFFu));
  Put32(h + 10, offset);
  Put32(h + 14, 40);
  Put32(h + 18, (uint32_t)width);
  Put32(h + 22, (uint32_t)height);
  Put16(h + 26, 1);
  Put16(h + 28, (uint32_t)depth);
  Put32(h + 34, rowBytes * (uint32_t)height);
  Put32(h + 46, paletteCount);
  if (SinkWrite(sink, h, 54) != 0) return 3;
  for (i = 0; i < paletteCount; ++i) {
    uint8_t q[4] = {0, 0, 0, 0};
    const uint8_t* block = (const uint8_t*)paletteBlock;
    if (block && i < Le16(block + 2) && i < 256) {
      q[0] = block[4 + 4 * i + 2];
      q[1] = block[4 + 4 * i + 1];
      q[2] = block[4 + 4 * i];
    }
    if (SinkWrite(sink, q, 4) != 0) return 3;
  }
  row = (uint8_t*)calloc(1, rowBytes);
  if (!row) return 1;
  for (y = height - 1; y >= 0; --y) {
    memcpy(row, bits + (intptr_t)pitch * y, (size_t)width * (size_t)(depth / 8));
    if (depth == 32)
      for (x = 0; x < width; ++x)
        row[4 * x + 3] = alphaPitch && alphaOrKey ? ((const uint8_t*)alphaOrKey)[(intptr_t)alphaPitch * y + x] : 0;
    if (SinkWrite(sink, row, rowBytes) != 0) {
      free(row);
      return 3;
    }
  }
  free(row);
  return 0;
}
