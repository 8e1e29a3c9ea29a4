// The BMP reader's first half: a BMP file (or a bare 40-byte header and what
// follows) from a file's current position into one packed-DIB block.
#pragma once

#include "FileIo.h"
#include "LibError.h"
#include "Memory.h"

// Every header field is checked before the block is allocated from `heap`,
// and the file must hold the table, any gap before the rows and |height|
// rows. A row offset past the table skips the gap; a smaller one is not
// used. The rows follow the table in the block. Read errors of the two
// headers are returned as they are; everything else is ErrInvalidData.
// The caller frees the block with heap.Free.
LibError ReadDibBlock(OmbHandle file, HeapBackend& heap, void** out);
