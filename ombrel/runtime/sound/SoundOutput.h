// The output side of the DirectSound driver as plain interfaces: the system
// (DirectSound object, sound window, multimedia timer), one DirectSound object
// and its buffers. The library implements them over DirectSound and WINMM
// (SoundSystemWin32.cpp); tests use a fake that keeps every buffer's bytes and
// gains and moves the play cursor when told.
#pragma once

#include <cstdint>

#include "sound/SoundFormat.h"
#include "sound/SoundTimerHost.h"

// Buffer status bits and creation flags, with DirectSound's values.
enum : uint32_t { BufferStatusPlaying = 1, BufferStatusLost = 2, BufferStatusLooping = 4 };
enum : uint32_t {
  BufferCapsPrimary = 0x1,
  BufferCapsStatic = 0x2,
  BufferCapsCtrl3D = 0x10,
  BufferCapsCtrlFrequency = 0x20,
  BufferCapsCtrlPan = 0x40,
  BufferCapsCtrlVolume = 0x80,
  BufferCapsStickyFocus = 0x4000,
  BufferCapsGlobalFocus = 0x8000,
  BufferCapsGetCurrentPosition2 = 0x10000,
};

class SoundBuffer {
 public:
  // Up to two pieces of the ring from offset (the second after the wrap).
  virtual bool Lock(uint32_t offset, uint32_t bytes, void** first, uint32_t* firstBytes, void** second,
                    uint32_t* secondBytes) = 0;
  virtual void Unlock(void* first, uint32_t firstBytes, void* second, uint32_t secondBytes) = 0;
  virtual bool GetPlayCursor(uint32_t* play) = 0;
  virtual bool SetPlayCursor(uint32_t offset) = 0;
  virtual bool Play(bool looping) = 0;
  virtual bool Stop() = 0;
  virtual uint32_t Status() = 0;
  virtual bool Restore() = 0;
  virtual bool SetVolume(int32_t hundredthsOfDecibel) = 0;
  virtual bool SetPan(int32_t pan) = 0;  // -10000 .. 10000
  virtual bool SetFrequency(uint32_t hertz) = 0;
  virtual bool GetFormat(SoundFormat* out) = 0;
  virtual bool SetFormat(const SoundFormat& format) = 0;
  virtual void Release() = 0;

 protected:
  ~SoundBuffer() = default;
};

class SoundOutput {
 public:
  // A buffer (a primary one with BufferCapsPrimary, 0 bytes and no format).
  virtual SoundBuffer* CreateBuffer(uint32_t flags, uint32_t bytes, const SoundFormat* format) = 0;
  virtual void Release() = 0;

 protected:
  ~SoundOutput() = default;
};

class SoundSystem : public SoundTimerHost {
 public:
  // Whether a DirectSound object can be created (made and released at once).
  virtual bool Probe() = 0;
  // A DirectSound object cooperating with the window at priority level.
  virtual SoundOutput* CreateOutput(void* window) = 0;
  // The device's own 10 x 10 tool window beyond the virtual screen's corner.
  virtual void* CreateSoundWindow() = 0;
  virtual void DestroySoundWindow(void* window) = 0;

 protected:
  ~SoundSystem() = default;
};
