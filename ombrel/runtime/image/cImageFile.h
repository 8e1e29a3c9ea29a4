// Reads and writes image files of any format an image plug-in handles: one
// input stream, one output stream and one filter made by the registry, the
// filter chosen by content when reading. Exported: 36 bytes, no table.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"
#include "image/cImageFilter.h"

class cByteSink;
class cByteSource;
class cImagePluginRegistry;

class cImageFile {
 public:
  explicit cImageFile(cImagePluginRegistry* registry);
  // A copy keeps the registry, the user value, the caller's own (not owned)
  // streams and its own copy of the previous frame; streams and the filter
  // that the source owns stay with the source.
  cImageFile& operator=(const cImageFile& other);
  ~cImageFile();

  int32_t SelectFilterByIndex(int32_t index) OMB_EXPORT_AS(cImageFile_SelectFilterByIndex);
  int32_t SelectFilterById(uint32_t id) OMB_EXPORT_AS(cImageFile_SelectFilterById);
  int32_t OpenRead(const char* path) OMB_EXPORT_AS(cImageFile_OpenRead);
  int32_t OpenReadStream(cByteSource* source) OMB_EXPORT_AS(cImageFile_OpenReadStream);
  int32_t BeginRead() OMB_EXPORT_AS(cImageFile_BeginRead);
  int32_t SetReadFormat(int32_t width, int32_t height, int32_t depth, const PaletteBlock* palette)
      OMB_EXPORT_AS(cImageFile_SetReadFormat);
  int32_t ReadFrame(void* bits, int32_t width, int32_t height, int32_t pitch, int32_t depth,
                    const PaletteBlock* palette, void* alphaRows, int32_t alphaPitch)
      OMB_EXPORT_AS(cImageFile_ReadFrame);
  int32_t SeekFrame(void* bits, int32_t pitch, int32_t frame) OMB_EXPORT_AS(cImageFile_SeekFrame);
  void Rewind() OMB_EXPORT_AS(cImageFile_Rewind);
  void Close() OMB_EXPORT_AS(cImageFile_Close);
  void SetOption(uint32_t value) OMB_EXPORT_AS(cImageFile_SetOption);
  int32_t SaveToFile(const char* path, const void* bits, int32_t width, int32_t height, int32_t depth, int32_t pitch,
                     const PaletteBlock* palette, const void* alphaOrColour, int32_t alphaPitch)
      OMB_EXPORT_AS(cImageFile_SaveToFile);
  int32_t OpenWrite(const char* path, int32_t width, int32_t height, int32_t depth, uint32_t v1, uint32_t v2,
                    uint32_t v3, uint32_t v4, uint32_t v5, uint32_t v6) OMB_EXPORT_AS(cImageFile_OpenWrite);
  int32_t OpenWriteStream(cByteSink* sink, int32_t width, int32_t height, int32_t depth, uint32_t v1, uint32_t v2,
                          uint32_t v3, uint32_t v4, uint32_t v5, uint32_t v6) OMB_EXPORT_AS(cImageFile_OpenWriteStream);
  int32_t WriteFrame(const void* bits, int32_t width, int32_t height, int32_t pitch, int32_t depth,
                     const PaletteBlock* palette, uint32_t f1, uint32_t f2, uint32_t f3, uint32_t f4)
      OMB_EXPORT_AS(cImageFile_WriteFrame);
  int32_t WriteFrameWithPrevious(const void* bits, const void* previous, int32_t width, int32_t height,
                                 int32_t pitch, int32_t depth, const PaletteBlock* palette, uint32_t f1,
                                 uint32_t f2, uint32_t f3, uint32_t f4, uint32_t f5)
      OMB_EXPORT_AS(cImageFile_WriteFrameWithPrevious);
  void AddToOutput(uint32_t value) OMB_EXPORT_AS(cImageFile_AddToOutput);
  uint32_t GetOutputSize() OMB_EXPORT_AS(cImageFile_GetOutputSize);
  uint32_t SetUserValue(uint32_t value) OMB_EXPORT_AS(cImageFile_SetUserValue);
  int32_t GetFilterIndex() OMB_EXPORT_AS(cImageFile_GetFilterIndex);

  // Forwarders to the filter's slots (0 or nothing without a filter).
  uint32_t GetFilterID() OMB_EXPORT_AS(cImageFile_GetFilterID);
  const char* GetFilterName() OMB_EXPORT_AS(cImageFile_GetFilterName);
  uint32_t GetSupportedDepths() OMB_EXPORT_AS(cImageFile_GetSupportedDepths);
  int32_t CanWriteImages() OMB_EXPORT_AS(cImageFile_CanWriteImages);
  int32_t CanWriteAnimations() OMB_EXPORT_AS(cImageFile_CanWriteAnimations);
  int32_t GetWidth() OMB_EXPORT_AS(cImageFile_GetWidth);
  int32_t GetHeight() OMB_EXPORT_AS(cImageFile_GetHeight);
  int32_t GetPitch() OMB_EXPORT_AS(cImageFile_GetPitch);
  int32_t GetDepth() OMB_EXPORT_AS(cImageFile_GetDepth);
  int32_t GetImageSize() OMB_EXPORT_AS(cImageFile_GetImageSize);
  PaletteBlock* GetPalette() OMB_EXPORT_AS(cImageFile_GetPalette);
  int32_t GetTransparentColour(uint32_t* out) OMB_EXPORT_AS(cImageFile_GetTransparentColour);
  int32_t HasAlpha() OMB_EXPORT_AS(cImageFile_HasAlpha);
  int32_t IsAnimation() OMB_EXPORT_AS(cImageFile_IsAnimation);
  int32_t GetFrameCount() OMB_EXPORT_AS(cImageFile_GetFrameCount);
  int32_t GetCurrentFrame() OMB_EXPORT_AS(cImageFile_GetCurrentFrame);
  void GetRect(SurfaceRect* out) OMB_EXPORT_AS(cImageFile_GetRect);
  int32_t GetAnimInfoA() OMB_EXPORT_AS(cImageFile_GetAnimInfoA);
  int32_t GetAnimInfoB() OMB_EXPORT_AS(cImageFile_GetAnimInfoB);
  int32_t GetAnimInfoC() OMB_EXPORT_AS(cImageFile_GetAnimInfoC);
  int32_t GetFrameInfo(int32_t frame) OMB_EXPORT_AS(cImageFile_GetFrameInfo);
  int32_t GetAnimInfoD() OMB_EXPORT_AS(cImageFile_GetAnimInfoD);
  int32_t GetAnimInfoE() OMB_EXPORT_AS(cImageFile_GetAnimInfoE);

  cImageFilter* Filter() const { return filter_; }
  cByteSource* Input() const { return input_; }

 private:
  void ReleaseFilter();
  void DropInput();
  void DropOutput();
  void FreePrevious();
  bool KeepPrevious(const void* bits, int32_t height, int32_t pitch);
  int32_t CheckFrame(int32_t width, int32_t height, int32_t depth);
  static void CheckLayout();

  cImagePluginRegistry* registry_;
  cByteSource* input_ = nullptr;
  int32_t ownsInput_ = 0;
  int32_t readFormatSet_ = 0;
  cByteSink* output_ = nullptr;
  int32_t ownsOutput_ = 0;
  uint8_t* previous_ = nullptr;
  uint32_t userValue_ = 0;
  cImageFilter* filter_ = nullptr;
};
OMB_PIN_SIZE(cImageFile, 36);
