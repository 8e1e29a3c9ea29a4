#include "sound/cSoundDecoder.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "ExportedTable.h"
#include "plugin/cSoundPluginRegistry.h"
#include "stream/cByteSource.h"

// The table is emitted in the module that defines the first out-of-line slot
// (SetOutputFormat): here for the library, in the plug-in for a plug-in.
OMB_EXPORT_VFTABLE(cSoundDecoder, "_ZTV13cSoundDecoder")

void cSoundDecoder::CheckLayout() {
  OMB_PIN_OFFSET(cSoundDecoder, outputFormat, 4);
  OMB_PIN_OFFSET(cSoundDecoder, sourceFormat, 22);
  OMB_PIN_OFFSET(cSoundDecoder, converting, 40);
  OMB_PIN_OFFSET(cSoundDecoder, ratio, 44);
  OMB_PIN_OFFSET(cSoundDecoder, conversionBuffer, 48);
  OMB_PIN_OFFSET(cSoundDecoder, converter, 52);
  OMB_PIN_OFFSET(cSoundDecoder, frameStep, 56);
  OMB_PIN_OFFSET(cSoundDecoder, frameRepeat, 60);
}

cSoundDecoder::cSoundDecoder(const cSoundDecoder& other) : outputFormat{}, sourceFormat{} { CopyFrom(other); }

cSoundDecoder& cSoundDecoder::operator=(const cSoundDecoder& other) {
  if (this != &other) {
    FreeOwned(conversionBuffer);
    CopyFrom(other);
  }
  return *this;
}

void cSoundDecoder::CopyFrom(const cSoundDecoder& other) {
  outputFormat = other.outputFormat;
  sourceFormat = other.sourceFormat;
  converting = other.converting;
  ratio = other.ratio;
  converter = other.converter;
  frameStep = other.frameStep;
  frameRepeat = other.frameRepeat;
  conversionBuffer = nullptr;
  if (!other.conversionBuffer) return;
  const uint32_t size = RingBytes(sourceFormat);
  void* block = nullptr;
  if (size && MemAlloc(size, &block)) {
    std::memcpy(block, other.conversionBuffer, size);
    conversionBuffer = static_cast<uint8_t*>(block);
  }
}

SoundFormat* cSoundDecoder::GetSourceFormat() { return &sourceFormat; }
SoundFormat* cSoundDecoder::GetOutputFormat() { return &outputFormat; }

void cSoundDecoder::SetOutputFormat(const SoundFormat* format) {
  FreeOwned(conversionBuffer);
  if (format) outputFormat = *format;
  converter = nullptr;
  frameStep = 1;
  frameRepeat = 1;
  ratio = 1.0f;
  converting = 0;
  if (SameShape(outputFormat, sourceFormat)) return;
  // From here on reads convert; without a converter or buffer they fail
  // rather than deliver the source's bytes as another format.
  converting = 1;
  converter = FindSampleConverter(sourceFormat, outputFormat);
  const uint32_t in = sourceFormat.samplesPerSec;
  const uint32_t out = outputFormat.samplesPerSec;
  if (out > in) {
    frameRepeat = in ? out / in : 1;
  } else {
    frameStep = out ? in / out : 1;
  }
  const uint32_t sourceRing = RingBytes(sourceFormat);
  if (!converter || sourceRing == 0) return;
  ratio = static_cast<float>(RingBytes(outputFormat)) / static_cast<float>(sourceRing);
  void* block = nullptr;
  if (MemAlloc(sourceRing, &block)) conversionBuffer = static_cast<uint8_t*>(block);
}

int32_t cSoundDecoder::ReadConverted(void* buffer, uint32_t bytes, uint32_t* count) {
  uint32_t local = 0;
  if (!count) count = &local;
  *count = 0;
  if (!converting) return Read(buffer, bytes, count);
  if (!converter || !conversionBuffer || !buffer) return static_cast<int32_t>(ErrOutOfMemory);
  const uint32_t inFrame = sourceFormat.blockAlign;
  const uint32_t outFrame = outputFormat.blockAlign;
  const uint32_t capacity = RingBytes(sourceFormat) / inFrame;
  uint8_t* out = static_cast<uint8_t*>(buffer);
  int32_t result = 0;
  for (;;) {
    // Source frames whose output still fits: whole output frames, whole steps.
    const uint32_t roomFrames = (bytes - *count) / outFrame / frameRepeat;
    const uint32_t frames = std::min(roomFrames * frameStep, capacity);
    if (frames == 0) break;
    uint32_t read = 0;
    result = Read(conversionBuffer, frames * inFrame, &read);
    if (result != 0) break;
    const uint32_t whole = std::min(read / inFrame, frames);
    *count += converter(conversionBuffer, whole, out + *count, frameStep, frameRepeat);
    if (read < frames * inFrame) break;  // the end of the data
  }
  return result;
}

OMB_FLAT cSoundDecoder* OMB_STDCALL FindSoundDecoder(cSoundPluginRegistry* registry, cByteSource* source) {
  if (!registry || !source) return nullptr;
  const uint32_t start = source->Tell();
  const int32_t n = registry->GetCount();
  for (int32_t i = 0; i < n; ++i) {
    if (!registry->CanRead(i, source)) continue;  // puts the stream back itself
    auto* decoder = static_cast<cSoundDecoder*>(registry->CreateAt(i));
    if (!decoder) continue;
    if (decoder->Open(source) == 0) {
      decoder->SetOutputFormat(&decoder->sourceFormat);
      return decoder;
    }
    decoder->Release();
    if (source->Tell() != start) source->Seek(static_cast<int32_t>(start), SeekStart);
  }
  return nullptr;
}
