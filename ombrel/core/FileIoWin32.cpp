// The file functions over Win32 file handles.
#include <windows.h>

#include "FileIo.h"

namespace {

bool Usable(OmbHandle file) { return file != nullptr && file != INVALID_HANDLE_VALUE; }

uint32_t Seek(OmbHandle file, int32_t offset, DWORD method) {
  if (!Usable(file)) return INVALID_SET_FILE_POINTER;
  return SetFilePointer(file, offset, nullptr, method);
}

}  // namespace

OMB_FLAT OmbHandle OMB_STDCALL FileOpen(const char* path, uint32_t mode) {
  if (!path) return INVALID_HANDLE_VALUE;
  const FileOpenRule rule = DecodeFileOpenMode(mode);
  const DWORD access = (rule.read ? GENERIC_READ : 0) | (rule.write ? GENERIC_WRITE : 0);
  const DWORD share = (rule.shareRead ? FILE_SHARE_READ : 0) | (rule.shareWrite ? FILE_SHARE_WRITE : 0);
  return CreateFileA(path, access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

OMB_FLAT OmbHandle OMB_STDCALL FileCreate(const char* path) {
  if (!path) return INVALID_HANDLE_VALUE;
  return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

OMB_FLAT int32_t OMB_STDCALL FileReadCount(OmbHandle file, void* buffer, uint32_t count) {
  if (!Usable(file) || (!buffer && count)) return -1;
  DWORD got = 0;
  if (!ReadFile(file, buffer, count, &got, nullptr)) return -1;
  return static_cast<int32_t>(got);
}

// On a handle opened for synchronous use the offset in the OVERLAPPED record
// is where the read starts; the call returns when it is done.
int32_t FileReadAt(OmbHandle file, void* buffer, uint32_t count, uint32_t offset) {
  if (!Usable(file) || (!buffer && count)) return -1;
  OVERLAPPED at{};
  at.Offset = offset;
  DWORD got = 0;
  if (!ReadFile(file, buffer, count, &got, &at)) return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
  return static_cast<int32_t>(got);
}

OMB_FLAT LibError OMB_STDCALL FileRead(OmbHandle file, void* buffer, uint32_t count) {
  if (!Usable(file) || (!buffer && count)) return ErrRead;
  DWORD got = 0;
  if (!ReadFile(file, buffer, count, &got, nullptr))
    return GetLastError() == ERROR_HANDLE_EOF ? ErrEndOfFile : ErrRead;
  return got < count ? ErrEndOfFile : LibOk;
}

OMB_FLAT LibError OMB_STDCALL FileWrite(OmbHandle file, const void* buffer, uint32_t count) {
  if (!Usable(file) || (!buffer && count)) return ErrWrite;
  DWORD put = 0;
  if (!WriteFile(file, buffer, count, &put, nullptr))
    return GetLastError() == ERROR_DISK_FULL ? ErrDiskFull : ErrWrite;
  return put < count ? ErrDiskFull : LibOk;
}

OMB_FLAT uint32_t OMB_STDCALL FileTell(OmbHandle file) { return Seek(file, 0, FILE_CURRENT); }

OMB_FLAT uint32_t OMB_STDCALL FileSeek(OmbHandle file, int32_t offset) {
  return Seek(file, offset, FILE_BEGIN);
}

OMB_FLAT uint32_t OMB_STDCALL FileSeekCurrent(OmbHandle file, int32_t offset) {
  return Seek(file, offset, FILE_CURRENT);
}

OMB_FLAT uint32_t OMB_STDCALL FileSeekEnd(OmbHandle file, int32_t offset) {
  return Seek(file, offset, FILE_END);
}

OMB_FLAT uint32_t OMB_STDCALL FileGetSize(OmbHandle file) {
  const uint32_t pos = FileTell(file);
  const uint32_t size = FileSeekEnd(file, 0);
  FileSeek(file, static_cast<int32_t>(pos));
  return size;
}

OMB_FLAT int OMB_STDCALL FileClose(OmbHandle file) {
  if (!Usable(file)) return 0;
  return CloseHandle(file) ? 1 : 0;
}

OMB_FLAT int OMB_STDCALL FileExists(const char* path) {
  if (!path) return 0;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(path, &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  FindClose(search);
  return 1;
}
