// The length-prefixed block readers, over any heap (the exported readers use
// the process heap).
#pragma once

#include "FileIo.h"
#include "Memory.h"

enum class BlockPrefix { Bits16, Bits32 };

// Reads a little-endian length n, then n bytes into a fresh block stored in
// *out; with terminate, the block has one more byte holding 0. When the bytes
// cannot all be read the block stays in *out for the caller to free.
LibError ReadPrefixedBlock(OmbHandle file, BlockPrefix prefix, bool terminate, HeapBackend& heap,
                           void** out);
