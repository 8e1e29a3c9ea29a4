#include "FileIo.h"

FileOpenRule DecodeFileOpenMode(uint32_t mode) {
  if (mode == 1) return {false, true, false, false};
  if (mode == 2) return {true, true, true, false};
  if (mode & 0x10) return {true, false, false, false};
  if (mode & 0x40) return {true, false, true, true};
  if (mode & 0x20) return {true, false, false, false};
  return {true, false, true, false};
}
