// The file functions over POSIX descriptors. A handle carries descriptor + 1,
// so neither a null handle nor the all-bits-set invalid one names a descriptor.
// POSIX has no share modes: FileOpen honours the access part of its mode.
#include <errno.h>
#include <fcntl.h>
#include <glob.h>
#include <unistd.h>

#include "FileIo.h"

namespace {

int Descriptor(OmbHandle file) {
  const intptr_t v = reinterpret_cast<intptr_t>(file);
  return v >= 1 && v <= INT32_MAX ? static_cast<int>(v - 1) : -1;
}

OmbHandle FromDescriptor(int fd) {
  return fd < 0 ? OmbInvalidHandle() : reinterpret_cast<OmbHandle>(intptr_t{fd} + 1);
}

uint32_t Seek(OmbHandle file, int32_t offset, int whence) {
  const int fd = Descriptor(file);
  if (fd < 0) return UINT32_MAX;
  const off_t pos = lseek(fd, offset, whence);
  return pos < 0 ? UINT32_MAX : static_cast<uint32_t>(pos);
}

}  // namespace

OMB_FLAT OmbHandle OMB_STDCALL FileOpen(const char* path, uint32_t mode) {
  if (!path) return OmbInvalidHandle();
  const FileOpenRule rule = DecodeFileOpenMode(mode);
  const int access = rule.read && rule.write ? O_RDWR : rule.write ? O_WRONLY : O_RDONLY;
  return FromDescriptor(open(path, access | O_CLOEXEC));
}

OMB_FLAT OmbHandle OMB_STDCALL FileCreate(const char* path) {
  if (!path) return OmbInvalidHandle();
  return FromDescriptor(open(path, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
}

OMB_FLAT int32_t OMB_STDCALL FileReadCount(OmbHandle file, void* buffer, uint32_t count) {
  const int fd = Descriptor(file);
  if (fd < 0 || (!buffer && count)) return -1;
  const ssize_t got = read(fd, buffer, count);
  return got < 0 ? -1 : static_cast<int32_t>(got);
}

int32_t FileReadAt(OmbHandle file, void* buffer, uint32_t count, uint32_t offset) {
  const int fd = Descriptor(file);
  if (fd < 0 || (!buffer && count)) return -1;
  const ssize_t got = pread(fd, buffer, count, static_cast<off_t>(offset));
  // A pipe has no offsets: it is read where it stands, as ReadFile does.
  if (got < 0 && errno == ESPIPE) return FileReadCount(file, buffer, count);
  if (got < 0) return -1;
  lseek(fd, static_cast<off_t>(offset) + got, SEEK_SET);  // as ReadFile at an offset leaves it
  return static_cast<int32_t>(got);
}

OMB_FLAT LibError OMB_STDCALL FileRead(OmbHandle file, void* buffer, uint32_t count) {
  const int fd = Descriptor(file);
  if (fd < 0 || (!buffer && count)) return ErrRead;
  const ssize_t got = read(fd, buffer, count);
  if (got < 0) return ErrRead;
  return static_cast<uint64_t>(got) < count ? ErrEndOfFile : LibOk;
}

OMB_FLAT LibError OMB_STDCALL FileWrite(OmbHandle file, const void* buffer, uint32_t count) {
  const int fd = Descriptor(file);
  if (fd < 0 || (!buffer && count)) return ErrWrite;
  const ssize_t put = write(fd, buffer, count);
  if (put < 0) return errno == ENOSPC ? ErrDiskFull : ErrWrite;
  return static_cast<uint64_t>(put) < count ? ErrDiskFull : LibOk;
}

OMB_FLAT uint32_t OMB_STDCALL FileTell(OmbHandle file) { return Seek(file, 0, SEEK_CUR); }

OMB_FLAT uint32_t OMB_STDCALL FileSeek(OmbHandle file, int32_t offset) {
  return Seek(file, offset, SEEK_SET);
}

OMB_FLAT uint32_t OMB_STDCALL FileSeekCurrent(OmbHandle file, int32_t offset) {
  return Seek(file, offset, SEEK_CUR);
}

OMB_FLAT uint32_t OMB_STDCALL FileSeekEnd(OmbHandle file, int32_t offset) {
  return Seek(file, offset, SEEK_END);
}

OMB_FLAT uint32_t OMB_STDCALL FileGetSize(OmbHandle file) {
  const uint32_t pos = FileTell(file);
  if (pos == UINT32_MAX) return UINT32_MAX;
  const uint32_t size = FileSeekEnd(file, 0);
  FileSeek(file, static_cast<int32_t>(pos));
  return size;
}

OMB_FLAT int OMB_STDCALL FileClose(OmbHandle file) {
  const int fd = Descriptor(file);
  return fd >= 0 && close(fd) == 0;
}

OMB_FLAT int OMB_STDCALL FileExists(const char* path) {
  if (!path) return 0;
  glob_t found{};
  const bool any = glob(path, GLOB_NOSORT, nullptr, &found) == 0 && found.gl_pathc > 0;
  globfree(&found);
  return any;
}
