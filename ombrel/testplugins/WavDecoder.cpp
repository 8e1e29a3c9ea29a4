#include "WavDecoder.h"

#include <cstring>
#include <new>

#include "StreamCalls.h"

namespace {

constexpr uint32_t kOpenFailed = 1;

uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t{p[3]} << 24; }
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

bool ReadExactly(void* source, void* buffer, uint32_t n) {
  uint32_t got = 0;
  return SourceReadCount(source, buffer, n, &got) == 0 && got == n;
}

}  // namespace

WavDecoder* WavDecoder::New() {
  void* block = nullptr;
  if (!MemAlloc(sizeof(WavDecoder), &block)) return nullptr;
  return new (block) WavDecoder();
}

int32_t WavLooksLike(void* source) {
  uint8_t h[12];
  if (SourceRead(source, h, 12) != 0) return 0;
  return std::memcmp(h, "RIFF", 4) == 0 && std::memcmp(h + 8, "WAVE", 4) == 0;
}

int32_t WavDecoder::Open(cByteSource* source) {
  if (!source || !WavLooksLike(source)) return kOpenFailed;
  bool haveFormat = false;
  // Chunks follow the 12-byte header; each is padded to an even size.
  for (;;) {
    uint8_t chunk[8];
    if (!ReadExactly(source, chunk, 8)) return kOpenFailed;
    const uint32_t size = Le32(chunk + 4);
    const uint32_t at = SourceTell(source);
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      uint8_t f[16];
      if (size < 16 || !ReadExactly(source, f, 16)) return kOpenFailed;
      SoundFormat format{};
      format.formatTag = Le16(f);
      format.channels = Le16(f + 2);
      format.samplesPerSec = Le32(f + 4);
      format.avgBytesPerSec = Le32(f + 8);
      format.blockAlign = Le16(f + 12);
      format.bitsPerSample = Le16(f + 14);
      if (!IsPlayableFormat(format)) return kOpenFailed;
      // The rate decides the byte rate, whatever the header claims.
      format.avgBytesPerSec = format.samplesPerSec * format.blockAlign;
      sourceFormat = format;
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!haveFormat) return kOpenFailed;
      const uint32_t end = SourceSeek(source, 0, 2);
      const uint32_t available = end > at ? end - at : 0;
      const uint32_t bytes = size < available ? size : available;
      dataStart_ = at;
      dataBytes_ = bytes - bytes % sourceFormat.blockAlign;
      read_ = 0;
      source_ = source;
      SourceSeek(source, static_cast<int32_t>(dataStart_), 0);
      return 0;
    }
    const uint64_t next = uint64_t{at} + size + (size & 1);
    if (next > 0x7FFFFFFF || SourceSeek(source, static_cast<int32_t>(next), 0) != next) return kOpenFailed;
  }
}

uint32_t WavDecoder::GetLength() {
  if (!sourceFormat.blockAlign || !outputFormat.blockAlign) return 0;
  const uint64_t frames = dataBytes_ / sourceFormat.blockAlign;
  const uint32_t step = frameStep ? frameStep : 1;
  const uint64_t out = (frames + step - 1) / step * frameRepeat * outputFormat.blockAlign;
  return out > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(out);
}

int32_t WavDecoder::Seek(uint32_t bytes) {
  if (!source_ || !outputFormat.blockAlign) return kOpenFailed;
  const uint64_t outFrames = bytes / outputFormat.blockAlign;
  const uint64_t frames = outFrames / (frameRepeat ? frameRepeat : 1) * (frameStep ? frameStep : 1);
  const uint64_t offset = frames * sourceFormat.blockAlign;
  read_ = offset < dataBytes_ ? static_cast<uint32_t>(offset) : dataBytes_;
  SourceSeek(source_, static_cast<int32_t>(dataStart_ + read_), 0);
  return 0;
}

int32_t WavDecoder::Read(void* buffer, uint32_t bytes, uint32_t* count) {
  uint32_t local = 0;
  if (!count) count = &local;
  *count = 0;
  if (!source_ || !buffer) return kOpenFailed;
  const uint32_t left = dataBytes_ - read_;
  const uint32_t n = bytes < left ? bytes : left;
  if (n == 0) return 0;
  if (SourceTell(source_) != dataStart_ + read_) SourceSeek(source_, static_cast<int32_t>(dataStart_ + read_), 0);
  uint32_t got = 0;
  const uint32_t e = SourceReadCount(source_, buffer, n, &got);
  read_ += got;
  *count = got;
  return got == 0 && e != 0 ? static_cast<int32_t>(e) : 0;
}
