#include "image/cImageFile.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "FileIo.h"
#include "Memory.h"
#include "image/FileReplace.h"
#include "plugin/cImagePluginRegistry.h"
#include "stream/cFileSink.h"
#include "stream/cFileSource.h"

namespace {

constexpr uint32_t kSinkBuffer = 4096;

// The bit of a depth in a filter's supported-depth set; 0 for others.
uint32_t DepthBit(int32_t depth) {
  switch (depth) {
    case 8: return 4;
    case 15: return 8;
    case 16: return 16;
    case 24: return 32;
    case 32: return 64;
    default: return 0;
  }
}

uint32_t RowSpan(int32_t pitch) { return static_cast<uint32_t>(pitch < 0 ? -int64_t{pitch} : pitch); }

// The previous-frame copy carries its byte count just before its first byte
// (heap block sizes may be rounded up).
constexpr size_t kSizePrefix = 8;

uint8_t* NewFrameCopy(uint32_t size) {
  void* block = nullptr;
  if (size > UINT32_MAX - kSizePrefix || !MemAlloc(static_cast<uint32_t>(size + kSizePrefix), &block)) return nullptr;
  std::memcpy(block, &size, sizeof size);
  return static_cast<uint8_t*>(block) + kSizePrefix;
}

uint32_t FrameCopySize(const uint8_t* copy) {
  uint32_t size = 0;
  if (copy) std::memcpy(&size, copy - kSizePrefix, sizeof size);
  return size;
}

}  // namespace

cImageFile::cImageFile(cImagePluginRegistry* registry) : registry_(registry) {}

void cImageFile::CheckLayout() {
  OMB_PIN_OFFSET(cImageFile, registry_, 0);
  OMB_PIN_OFFSET(cImageFile, input_, 4);
  OMB_PIN_OFFSET(cImageFile, readFormatSet_, 12);
  OMB_PIN_OFFSET(cImageFile, previous_, 24);
  OMB_PIN_OFFSET(cImageFile, filter_, 32);
}

cImageFile& cImageFile::operator=(const cImageFile& other) {
  if (this == &other) return *this;
  Close();
  ReleaseFilter();
  registry_ = other.registry_;
  userValue_ = other.userValue_;
  readFormatSet_ = 0;
  if (!other.ownsInput_) input_ = other.input_;
  if (!other.ownsOutput_) output_ = other.output_;
  if (other.previous_) {
    const uint32_t size = FrameCopySize(other.previous_);
    previous_ = NewFrameCopy(size);
    if (previous_) std::memcpy(previous_, other.previous_, size);
  }
  return *this;
}

cImageFile::~cImageFile() {
  FreePrevious();
  ReleaseFilter();
  DropOutput();
  DropInput();
}

void cImageFile::ReleaseFilter() {
  if (filter_) filter_->Release();
  filter_ = nullptr;
}

void cImageFile::DropInput() {
  if (input_ && ownsInput_) input_->Delete();
  input_ = nullptr;
  ownsInput_ = 0;
}

void cImageFile::DropOutput() {
  if (output_ && ownsOutput_) output_->Destruct(1);
  output_ = nullptr;
  ownsOutput_ = 0;
}

void cImageFile::FreePrevious() {
  if (!previous_) return;
  void* block = previous_ - kSizePrefix;
  MemFree(&block);
  previous_ = nullptr;
}

int32_t cImageFile::SelectFilterByIndex(int32_t index) {
  if (!registry_ || index < 0 || index >= registry_->GetCount()) return 0;
  cImageFilter* made = registry_->CreateFilterAt(index);
  if (!made) return 0;
  ReleaseFilter();
  filter_ = made;
  return 1;
}

int32_t cImageFile::SelectFilterById(uint32_t id) {
  if (!registry_) return 0;
  cImageFilter* made = static_cast<cImageFilter*>(registry_->CreateByID(id));
  if (!made) return 0;
  ReleaseFilter();
  filter_ = made;
  return 1;
}

int32_t cImageFile::OpenRead(const char* path) {
  if (!input_) {
    if (!path) return ImageErrNoFile;
    cFileSource* source = cFileSource::New();
    if (!source) return ImageErrOutOfMemory;
    if (source->Open(path) != LibOk) {
      source->Delete();
      return ImageErrOpen;
    }
    input_ = source;
    ownsInput_ = 1;
  }
  return BeginRead();
}

int32_t cImageFile::OpenReadStream(cByteSource* source) {
  if (input_) return ImageErrAlreadyOpen;
  if (!source) return ImageErrNoFile;
  input_ = source;
  ownsInput_ = 0;
  return BeginRead();
}

int32_t cImageFile::BeginRead() {
  if (!input_) return ImageErrNotOpen;
  if (filter_) {
    const uint32_t at = input_->Tell();
    const int32_t readable = filter_->CanRead(input_);
    if (input_->Tell() != at) input_->Seek(static_cast<int32_t>(at), SeekStart);
    if (!readable) ReleaseFilter();
  }
  if (!filter_ && registry_) filter_ = static_cast<cImageFilter*>(registry_->CreateForStream(input_));
  int32_t e = filter_ ? filter_->Open(input_) : ImageErrNoFilter;
  if (e == ImageOk && filter_->GetDepth() < 8) e = ImageErrLowDepth;
  if (e == ImageOk) {
    readFormatSet_ = 0;
    return ImageOk;
  }
  ReleaseFilter();
  DropInput();
  return e;
}

int32_t cImageFile::SetReadFormat(int32_t width, int32_t height, int32_t depth, const PaletteBlock* palette) {
  if (!filter_ || !input_) return ImageErrNotOpen;
  if (width != filter_->GetWidth() || height != filter_->GetHeight()) return ImageErrSize;
  if (depth == 0) depth = filter_->GetDepth();
  if (depth == 8 && !palette) palette = filter_->GetPalette();
  const int32_t e = filter_->SetOutputFormat(depth, palette);
  if (e == ImageOk) readFormatSet_ = 1;
  return e;
}

int32_t cImageFile::ReadFrame(void* bits, int32_t width, int32_t height, int32_t pitch, int32_t depth,
                              const PaletteBlock* palette, void* alphaRows, int32_t alphaPitch) {
  if (!filter_ || !input_) return ImageErrNotOpen;
  if (!readFormatSet_) {
    const int32_t e = SetReadFormat(width, height, depth, palette);
    if (e != ImageOk) return e;
  }
  return filter_->ReadFrame(input_, bits, pitch, alphaRows, alphaPitch);
}

int32_t cImageFile::SeekFrame(void* bits, int32_t pitch, int32_t frame) {
  if (!readFormatSet_ || !filter_) return ImageErrNotStarted;
  if (!filter_->IsAnimation()) return ImageErrUnsupported;
  if (frame < 0) return ImageErrArgument;
  const int32_t count = filter_->GetFrameCount();
  if (frame >= count) frame = count - 1;
  int32_t current = filter_->GetCurrentFrame();
  if (current > frame) {
    filter_->Rewind();
    current = -1;
  }
  while (current < frame) {
    const int32_t e = filter_->ReadFrame(input_, bits, pitch, nullptr, 0);
    if (e != ImageOk) return e;
    const int32_t now = filter_->GetCurrentFrame();
    current = now > current ? now : current + 1;
  }
  return ImageOk;
}

void cImageFile::Rewind() {
  if (filter_ && filter_->IsAnimation()) filter_->Rewind();
}

void cImageFile::Close() {
  FreePrevious();
  readFormatSet_ = 0;
  if (filter_) {
    if (output_) filter_->EndWrite(output_);
    if (input_) filter_->EndRead(input_);
  }
  DropOutput();
  DropInput();
}

void cImageFile::SetOption(uint32_t value) {
  if (filter_) filter_->SetOption(value);
}

int32_t cImageFile::SaveToFile(const char* path, const void* bits, int32_t width, int32_t height, int32_t depth,
                               int32_t pitch, const PaletteBlock* palette, const void* alphaOrColour,
                               int32_t alphaPitch) {
  if (!filter_) return ImageErrNotStarted;
  if (!path || !*path || !bits || width < 1 || height < 1) return ImageErrArgument;
  if (!(DepthBit(depth) & filter_->GetSupportedDepths())) return ImageErrDepth;
  // Written beside the target and put in its place only when complete.
  const std::string temporary = std::string(path) + ".part";
  cFileSink* sink = cFileSink::New();
  if (!sink) return ImageErrOutOfMemory;
  const OmbHandle file = FileCreate(temporary.c_str());
  if (file == OmbInvalidHandle()) {
    sink->Destruct(1);
    return ImageErrCreate;
  }
  sink->Attach(file, kSinkBuffer);
  int32_t e = filter_->Save(sink, bits, width, height, depth, pitch, palette, alphaOrColour, alphaPitch);
  if (e == ImageOk && sink->Flush() != LibOk) e = ImageErrCreate;
  sink->ReleaseHandle();  // bytes still held after a failure are dropped with the file
  sink->Destruct(1);
  FileClose(file);
  if (e == ImageOk && !ReplaceFileWith(path, temporary.c_str())) e = ImageErrCreate;
  if (e != ImageOk) RemoveFile(temporary.c_str());
  return e;
}

int32_t cImageFile::OpenWrite(const char* path, int32_t width, int32_t height, int32_t depth, uint32_t v1,
                              uint32_t v2, uint32_t v3, uint32_t v4, uint32_t v5, uint32_t v6) {
  if (!filter_) return ImageErrNotStarted;
  if (!filter_->CanWriteAnimations()) return ImageErrUnsupported;
  bool created = false;
  if (!output_) {
    if (!path) return ImageErrNoFile;
    cFileSink* sink = cFileSink::New();
    if (!sink) return ImageErrOutOfMemory;
    if (sink->Create(path, kSinkBuffer) != LibOk) {
      sink->Destruct(1);
      return ImageErrCreate;
    }
    output_ = sink;
    ownsOutput_ = 1;
    created = true;
  }
  const int32_t e = filter_->BeginWrite(output_, width, height, depth, v1, v2, v3, v4, v5, v6);
  if (e != ImageOk && created) DropOutput();
  return e;
}

int32_t cImageFile::OpenWriteStream(cByteSink* sink, int32_t width, int32_t height, int32_t depth, uint32_t v1,
                                    uint32_t v2, uint32_t v3, uint32_t v4, uint32_t v5, uint32_t v6) {
  if (!filter_) return ImageErrNotStarted;
  if (!filter_->CanWriteAnimations()) return ImageErrUnsupported;
  if (!sink) return ImageErrNoFile;
  if (output_) Close();
  output_ = sink;
  ownsOutput_ = 0;
  return filter_->BeginWrite(output_, width, height, depth, v1, v2, v3, v4, v5, v6);
}

int32_t cImageFile::CheckFrame(int32_t width, int32_t height, int32_t depth) {
  if (!filter_ || !output_) return ImageErrNotOpen;
  if (!filter_->CanWriteAnimations()) return ImageErrUnsupported;
  if (width != filter_->GetWidth() || height != filter_->GetHeight()) return ImageErrSize;
  if (depth != filter_->GetDepth()) return ImageErrDepth;
  return ImageOk;
}

bool cImageFile::KeepPrevious(const void* bits, int32_t height, int32_t pitch) {
  const uint64_t size = uint64_t{RowSpan(pitch)} * static_cast<uint32_t>(height);
  if (size == 0 || size > UINT32_MAX) return false;
  // A frame of another size needs a block of its size.
  if (previous_ && FrameCopySize(previous_) != size) FreePrevious();
  if (!previous_) previous_ = NewFrameCopy(static_cast<uint32_t>(size));
  if (!previous_) return false;
  const uint8_t* lowest = static_cast<const uint8_t*>(bits);
  if (pitch < 0) lowest += static_cast<intptr_t>(pitch) * (height - 1);
  std::memcpy(previous_, lowest, static_cast<size_t>(size));
  return true;
}

int32_t cImageFile::WriteFrame(const void* bits, int32_t width, int32_t height, int32_t pitch, int32_t depth,
                               const PaletteBlock* palette, uint32_t f1, uint32_t f2, uint32_t f3, uint32_t f4) {
  int32_t e = CheckFrame(width, height, depth);
  if (e != ImageOk) return e;
  if (!bits) return ImageErrArgument;
  if (filter_->GetCurrentFrame() == -1) FreePrevious();
  if (previous_ && FrameCopySize(previous_) != uint64_t{RowSpan(pitch)} * static_cast<uint32_t>(height))
    FreePrevious();
  const uint8_t* previous = previous_;
  if (previous && pitch < 0) previous += static_cast<size_t>(RowSpan(pitch)) * static_cast<size_t>(height - 1);
  e = filter_->WriteFrame(output_, previous, bits, width, height, pitch, depth, palette, 0, f1, f2, f3, f4);
  if (e != ImageOk) return e;
  return KeepPrevious(bits, height, pitch) ? ImageOk : ImageErrOutOfMemory;
}

int32_t cImageFile::WriteFrameWithPrevious(const void* bits, const void* previous, int32_t width, int32_t height,
                                           int32_t pitch, int32_t depth, const PaletteBlock* palette, uint32_t f1,
                                           uint32_t f2, uint32_t f3, uint32_t f4, uint32_t f5) {
  const int32_t e = CheckFrame(width, height, depth);
  if (e != ImageOk) return e;
  FreePrevious();
  // The first two frame values reach the filter exchanged.
  return filter_->WriteFrame(output_, previous, bits, width, height, pitch, depth, palette, f2, f1, f3, f4, f5);
}

void cImageFile::AddToOutput(uint32_t value) {
  if (filter_ && output_) filter_->AddToOutput(output_, value);
}

uint32_t cImageFile::GetOutputSize() {
  if (!filter_ || !output_) return ImageErrNotOpen;
  return output_->GetSize();
}

uint32_t cImageFile::SetUserValue(uint32_t value) { return userValue_ = value; }

int32_t cImageFile::GetFilterIndex() {
  if (!filter_ || !registry_) return -1;
  return registry_->FindByID(filter_->GetID());
}

uint32_t cImageFile::GetFilterID() { return filter_ ? filter_->GetID() : 0; }
const char* cImageFile::GetFilterName() { return filter_ ? filter_->GetName() : nullptr; }
uint32_t cImageFile::GetSupportedDepths() { return filter_ ? filter_->GetSupportedDepths() : 0; }
int32_t cImageFile::CanWriteImages() { return filter_ ? filter_->CanWriteImages() : 0; }
int32_t cImageFile::CanWriteAnimations() { return filter_ ? filter_->CanWriteAnimations() : 0; }
int32_t cImageFile::GetWidth() { return filter_ ? filter_->GetWidth() : 0; }
int32_t cImageFile::GetHeight() { return filter_ ? filter_->GetHeight() : 0; }
int32_t cImageFile::GetPitch() { return filter_ ? filter_->GetPitch() : 0; }
int32_t cImageFile::GetDepth() { return filter_ ? filter_->GetDepth() : 0; }
int32_t cImageFile::GetImageSize() { return filter_ ? filter_->GetImageSize() : 0; }
PaletteBlock* cImageFile::GetPalette() { return filter_ ? filter_->GetPalette() : nullptr; }
int32_t cImageFile::GetTransparentColour(uint32_t* out) { return filter_ ? filter_->GetTransparentColour(out) : 0; }
int32_t cImageFile::HasAlpha() { return filter_ ? filter_->HasAlpha() : 0; }
int32_t cImageFile::IsAnimation() { return filter_ ? filter_->IsAnimation() : 0; }
int32_t cImageFile::GetFrameCount() { return filter_ ? filter_->GetFrameCount() : 0; }
int32_t cImageFile::GetCurrentFrame() { return filter_ ? filter_->GetCurrentFrame() : 0; }
void cImageFile::GetRect(SurfaceRect* out) {
  if (filter_) filter_->GetRect(out);
}
int32_t cImageFile::GetAnimInfoA() { return filter_ ? filter_->GetAnimInfoA() : 0; }
int32_t cImageFile::GetAnimInfoB() { return filter_ ? filter_->GetAnimInfoB() : 0; }
int32_t cImageFile::GetAnimInfoC() { return filter_ ? filter_->GetAnimInfoC() : 0; }
int32_t cImageFile::GetFrameInfo(int32_t frame) { return filter_ ? filter_->GetFrameInfo(frame) : 0; }
int32_t cImageFile::GetAnimInfoD() { return filter_ ? filter_->GetAnimInfoD() : 0; }
int32_t cImageFile::GetAnimInfoE() { return filter_ ? filter_->GetAnimInfoE() : 0; }
