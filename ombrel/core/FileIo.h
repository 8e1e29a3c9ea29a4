// Thin file functions over operating-system file handles. Positions and sizes
// are 32-bit. Reads and writes are exact: anything short is an error code.
#pragma once

#include <cstdint>

#include "LibError.h"
#include "OmbrelApi.h"

// An operating-system file handle (a HANDLE on Windows).
using OmbHandle = void*;

// The invalid handle: all bits set, as INVALID_HANDLE_VALUE.
inline OmbHandle OmbInvalidHandle() { return reinterpret_cast<OmbHandle>(~uintptr_t{0}); }

// FileOpen's access and sharing, decoded from its mode argument.
struct FileOpenRule {
  bool read;
  bool write;
  bool shareRead;
  bool shareWrite;
};

// Mode 1: write, no sharing. Mode 2: read and write, shared for reading. Any
// other value: read, with sharing from the flag bits 0x10 (none), 0x40 (read
// and write), 0x20 (none), otherwise shared for reading, tested in that order.
FileOpenRule DecodeFileOpenMode(uint32_t mode);

OMB_FLAT OmbHandle OMB_STDCALL FileOpen(const char* path, uint32_t mode);
OMB_FLAT OmbHandle OMB_STDCALL FileCreate(const char* path);
OMB_FLAT LibError OMB_STDCALL FileRead(OmbHandle file, void* buffer, uint32_t count);
OMB_FLAT int32_t OMB_STDCALL FileReadCount(OmbHandle file, void* buffer, uint32_t count);
// Reads up to count bytes at the absolute offset, whatever the handle's
// current position (which is then left after the bytes read, as a read there
// would leave it): readers sharing one handle never see each other's bytes.
// The count read, 0 at the end of the file, -1 on failure.
int32_t FileReadAt(OmbHandle file, void* buffer, uint32_t count, uint32_t offset);
OMB_FLAT LibError OMB_STDCALL FileReadBlock16(OmbHandle file, void** out);
OMB_FLAT LibError OMB_STDCALL FileReadString16(OmbHandle file, char** out);
OMB_FLAT LibError OMB_STDCALL FileReadBlock32(OmbHandle file, void** out);
OMB_FLAT LibError OMB_STDCALL FileWrite(OmbHandle file, const void* buffer, uint32_t count);
OMB_FLAT uint32_t OMB_STDCALL FileTell(OmbHandle file);
OMB_FLAT uint32_t OMB_STDCALL FileSeek(OmbHandle file, int32_t offset);
OMB_FLAT uint32_t OMB_STDCALL FileSeekCurrent(OmbHandle file, int32_t offset);
OMB_FLAT uint32_t OMB_STDCALL FileSeekEnd(OmbHandle file, int32_t offset);
OMB_FLAT uint32_t OMB_STDCALL FileGetSize(OmbHandle file);
OMB_FLAT int OMB_STDCALL FileClose(OmbHandle file);
OMB_FLAT int OMB_STDCALL FileExists(const char* path);
