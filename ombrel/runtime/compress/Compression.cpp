#include "compress/Compression.h"

#include <zlib.h>

#include <algorithm>
#include <memory>

#include "Memory.h"
#include "stream/cFileSink.h"
#include "stream/cFileSource.h"
#include "stream/cMemorySink.h"
#include "stream/cMemorySource.h"

namespace {

constexpr uint32_t kDefaultBuffer = 8192;
constexpr uint32_t kFileSinkBuffer = 4096;
constexpr uint32_t kUnboundedBlock = 0x7FFFFFF;

// A MemAlloc block freed on every path out of a job.
struct Block {
  explicit Block(uint32_t size) { MemAlloc(size, &data); }
  ~Block() {
    if (data) MemFree(&data);
  }
  Block(const Block&) = delete;
  Block& operator=(const Block&) = delete;
  uint8_t* bytes() const { return static_cast<uint8_t*>(data); }
  void* data = nullptr;
};

LibError InitError(int result) { return result == Z_MEM_ERROR ? ErrOutOfMemory : ErrCompression; }

// The input side of a job: reads up to one buffer of what is left. With the
// whole source asked for, a short read is the end of the input.
class InputPump {
 public:
  InputPump(cByteSource* source, uint32_t length)
      : source_(source), wholeSource_(length == kWholeSource),
        left_(length == kWholeSource ? source->GetSize() : length) {}

  bool Done() const { return left_ == 0; }

  // Gives zlib the next buffer of input when it has used the last one;
  // *more is false when the input has ended.
  LibError Feed(z_stream& z, uint8_t* buffer, uint32_t capacity, bool* more) {
    *more = true;
    if (z.avail_in != 0) return LibOk;
    uint32_t got = 0;
    const LibError e = Done() ? LibOk : Fill(buffer, capacity, &got);
    if (e != LibOk) return e;
    *more = got != 0;
    z.next_in = buffer;
    z.avail_in = got;
    return LibOk;
  }

 private:
  LibError Fill(uint8_t* buffer, uint32_t capacity, uint32_t* got) {
    const uint32_t want = std::min(capacity, left_);
    *got = 0;
    const LibError e = source_->ReadCount(buffer, want, got);
    if (e != LibOk) {
      if (!(wholeSource_ && e == ErrEndOfFile)) return e;
      left_ = 0;
      return LibOk;
    }
    left_ -= want;
    return LibOk;
  }

  cByteSource* source_;
  bool wholeSource_;
  uint32_t left_;
};

}  // namespace

uint32_t CompressionBufferSize(uint32_t asked) {
  return asked == 0 || asked == 0xFFFFFFFFu ? kDefaultBuffer : asked;
}

LibError InflateWith(cByteSink* destination, cByteSource* source, uint32_t length, uint32_t bufferSize) {
  if (!destination || !source) return ErrInvalidData;
  bufferSize = CompressionBufferSize(bufferSize);
  Block in(bufferSize), out(bufferSize);
  if (!in.data || !out.data) return ErrOutOfMemory;
  z_stream z{};
  const int init = inflateInit(&z);
  if (init != Z_OK) return InitError(init);
  std::unique_ptr<z_stream, int (*)(z_stream*)> end(&z, inflateEnd);

  InputPump input(source, length);
  for (;;) {
    bool more = true;
    const LibError fed = input.Feed(z, in.bytes(), bufferSize, &more);
    if (fed != LibOk) return fed;
    if (!more) break;
    z.next_out = out.bytes();
    z.avail_out = bufferSize;
    const int r = inflate(&z, Z_NO_FLUSH);
    if (r != Z_OK && r != Z_STREAM_END) return ErrCompression;
    const uint32_t produced = bufferSize - z.avail_out;
    if (produced) {
      const LibError e = destination->Write(out.bytes(), produced);
      if (e != LibOk) return e;
    }
    if (r == Z_STREAM_END) break;
  }
  // Drain: output zlib still holds; a stream cut short fails here.
  for (;;) {
    z.next_out = out.bytes();
    z.avail_out = bufferSize;
    const int r = inflate(&z, Z_FINISH);
    if (r != Z_OK && r != Z_STREAM_END) return ErrCompression;
    const uint32_t produced = bufferSize - z.avail_out;
    if (produced == 0) break;
    const LibError e = destination->Write(out.bytes(), produced);
    if (e != LibOk) return e;
  }
  return LibOk;
}

LibError DeflateWith(cByteSink* destination, cByteSource* source, uint32_t length, int32_t level,
                     uint32_t bufferSize) {
  if (!destination || !source) return ErrInvalidData;
  if (level != Z_DEFAULT_COMPRESSION) level = std::clamp(level, 0, 9);
  bufferSize = CompressionBufferSize(bufferSize);
  const uint32_t outSize = bufferSize + bufferSize / 4 + 12;
  Block in(bufferSize), out(outSize);
  if (!in.data || !out.data) return ErrOutOfMemory;
  z_stream z{};
  const int init = deflateInit(&z, level);
  if (init != Z_OK) return InitError(init);
  std::unique_ptr<z_stream, int (*)(z_stream*)> end(&z, deflateEnd);

  InputPump input(source, length);
  for (;;) {
    bool more = true;
    const LibError fed = input.Feed(z, in.bytes(), bufferSize, &more);
    if (fed != LibOk) return fed;
    if (!more) break;
    z.next_out = out.bytes();
    z.avail_out = outSize;
    if (deflate(&z, Z_NO_FLUSH) != Z_OK) return ErrCompression;
    const uint32_t produced = outSize - z.avail_out;
    if (produced) {
      const LibError e = destination->Write(out.bytes(), produced);
      if (e != LibOk) return e;
    }
  }
  for (;;) {
    z.next_out = out.bytes();
    z.avail_out = outSize;
    const int r = deflate(&z, Z_FINISH);
    if (r != Z_OK && r != Z_STREAM_END) return ErrCompression;
    const uint32_t produced = outSize - z.avail_out;
    if (produced) {
      const LibError e = destination->Write(out.bytes(), produced);
      if (e != LibOk) return e;
    }
    if (r == Z_STREAM_END) return LibOk;
    if (produced == 0) return ErrCompression;
  }
}

OMB_FLAT LibError OMB_STDCALL InflateStream(cByteSink* destination, cByteSource* source, uint32_t length) {
  return InflateWith(destination, source, length, kDefaultBuffer);
}

OMB_FLAT LibError OMB_STDCALL DeflateStream(cByteSink* destination, cByteSource* source, uint32_t length,
                                            int32_t level) {
  return DeflateWith(destination, source, length, level, kDefaultBuffer);
}

namespace {

// Runs a job into a file sink attached to `output`, flushed at the end; the
// handle stays open.
template <typename Job>
LibError IntoFile(OmbHandle output, Job job) {
  cFileSink sink;
  sink.Attach(output, kFileSinkBuffer);
  const LibError e = job(&sink);
  const LibError flushed = sink.Flush();
  sink.ReleaseHandle();
  return e != LibOk ? e : flushed;
}

}  // namespace

OMB_FLAT LibError OMB_STDCALL InflateFileToFile(OmbHandle output, OmbHandle input, uint32_t length) {
  cFileSource source;
  const LibError e = source.AttachHandle(input);
  if (e != LibOk) return e;
  const LibError result = IntoFile(output, [&](cByteSink* sink) { return InflateStream(sink, &source, length); });
  return result;
}

OMB_FLAT LibError OMB_STDCALL InflateMemToFile(OmbHandle output, const void* block, uint32_t length) {
  cMemorySource source;
  source.Attach(block, length);
  return IntoFile(output, [&](cByteSink* sink) { return InflateStream(sink, &source, length); });
}

OMB_FLAT LibError OMB_STDCALL InflateFileToMem(void* destination, OmbHandle input, uint32_t length) {
  cFileSource source;
  const LibError e = source.AttachHandle(input);
  if (e != LibOk) return e;
  cMemorySink sink;
  sink.AttachFixed(destination, kUnboundedBlock);
  const LibError result = InflateStream(&sink, &source, length);
  return result;
}

LibError InflateFileToBlock(void* destination, uint32_t size, OmbHandle input, uint32_t offset, uint32_t length) {
  cFileSource source;
  const LibError e = source.AttachRange(input, offset, length);
  if (e != LibOk) return e;
  cMemorySink sink;
  sink.AttachFixed(destination, size);
  LibError result = InflateStream(&sink, &source, length);
  if (result == ErrBufferFull || (result == LibOk && sink.GetSize() != size)) result = ErrCompression;
  return result;
}

OMB_FLAT LibError OMB_STDCALL DeflateFileToFile(OmbHandle output, OmbHandle input, uint32_t length,
                                                int32_t level) {
  cFileSource source;
  const LibError e = source.AttachHandle(input);
  if (e != LibOk) return e;
  const LibError result =
      IntoFile(output, [&](cByteSink* sink) { return DeflateStream(sink, &source, length, level); });
  return result;
}

OMB_FLAT LibError OMB_STDCALL DeflateMemToFile(OmbHandle output, const void* block, uint32_t length,
                                               int32_t level) {
  cMemorySource source;
  source.Attach(block, length);
  return IntoFile(output, [&](cByteSink* sink) { return DeflateStream(sink, &source, length, level); });
}

OMB_FLAT void OMB_STDCALL ReferenceExports() {}
