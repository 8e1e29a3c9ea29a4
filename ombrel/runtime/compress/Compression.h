// zlib streams (RFC 1950, nothing of the library's own around them) moved
// between byte streams, file handles and memory blocks. The caller always
// gives the compressed length when decompressing and the input length when
// compressing; -1 means the source's whole size, and then a short last read
// is taken as the end of the input.
#pragma once

#include <cstdint>

#include "FileIo.h"
#include "LibError.h"
#include "OmbrelApi.h"

class cByteSink;
class cByteSource;

inline constexpr uint32_t kWholeSource = 0xFFFFFFFFu;

// The pumping buffers of one job: 0 or -1 ask for the default of 8192 bytes.
uint32_t CompressionBufferSize(uint32_t asked);

// The two jobs with an explicit buffer size (the exported functions use 8192).
LibError InflateWith(cByteSink* destination, cByteSource* source, uint32_t length, uint32_t bufferSize);
LibError DeflateWith(cByteSink* destination, cByteSource* source, uint32_t length, int32_t level,
                     uint32_t bufferSize);

// The library's own way to decompress into a block of known size: the output
// is bounded to `size` bytes and must be exactly that long (ErrCompression
// otherwise), so corrupt data cannot write past the block. The `length`
// compressed bytes are read at `offset`, whatever the handle's position
// (which is left where the last read of the file ended).
LibError InflateFileToBlock(void* destination, uint32_t size, OmbHandle input, uint32_t offset, uint32_t length);

OMB_FLAT LibError OMB_STDCALL InflateStream(cByteSink* destination, cByteSource* source, uint32_t length);
OMB_FLAT LibError OMB_STDCALL InflateFileToFile(OmbHandle output, OmbHandle input, uint32_t length);
OMB_FLAT LibError OMB_STDCALL InflateMemToFile(OmbHandle output, const void* source, uint32_t length);
// The destination has no size: the caller guarantees room for the whole
// decompressed data (the library's own callers use InflateFileToBlock).
OMB_FLAT LibError OMB_STDCALL InflateFileToMem(void* destination, OmbHandle input, uint32_t length);
OMB_FLAT LibError OMB_STDCALL DeflateStream(cByteSink* destination, cByteSource* source, uint32_t length,
                                            int32_t level);
OMB_FLAT LibError OMB_STDCALL DeflateFileToFile(OmbHandle output, OmbHandle input, uint32_t length,
                                                int32_t level);
OMB_FLAT LibError OMB_STDCALL DeflateMemToFile(OmbHandle output, const void* source, uint32_t length,
                                               int32_t level);
// Keeps the zlib exports referenced; does nothing.
OMB_FLAT void OMB_STDCALL ReferenceExports();
