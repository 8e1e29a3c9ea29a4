// The decoder of wav.sft: PCM RIFF/WAVE files, 8 or 16 bits, mono or stereo.
// It reads the "fmt " and "data" chunks and serves the data chunk's frames.
#pragma once

#include <cstdint>

#include "sound/cSoundDecoder.h"

class WavDecoder final : public cSoundDecoder {
 public:
  // A decoder in a MemAlloc block, or null.
  static WavDecoder* New();

  void Release() override { Destruct(1); }
  int32_t Open(cByteSource* source) override;
  void Close() override { source_ = nullptr; }
  uint32_t GetLength() override;
  int32_t Reserved() override { return 0; }
  int32_t Seek(uint32_t bytes) override;
  int32_t Read(void* buffer, uint32_t bytes, uint32_t* count) override;

 private:
  void* source_ = nullptr;
  uint32_t dataStart_ = 0;
  uint32_t dataBytes_ = 0;  // whole frames only
  uint32_t read_ = 0;       // source bytes of the data chunk read so far
};

// 1 when the stream starts like a RIFF/WAVE file.
int32_t WavLooksLike(void* source);
