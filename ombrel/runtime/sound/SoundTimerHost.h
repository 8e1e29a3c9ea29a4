// The platform side of the streaming timer: a periodic callback on its own
// thread (WINMM's multimedia timer in the library) and the sleep a client
// waits in. Tests fire the callback themselves.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"

class SoundTimerHost {
 public:
  using Callback = void(OMB_STDCALL*)(uint32_t id, uint32_t message, uintptr_t user, uintptr_t, uintptr_t);

  // The id of a new periodic timer, 0 when none could start.
  virtual uint32_t StartPeriodic(uint32_t periodMs, uint32_t resolutionMs, Callback callback, uintptr_t user) = 0;
  virtual void Kill(uint32_t id) = 0;
  virtual void Sleep(uint32_t ms) = 0;

 protected:
  ~SoundTimerHost() = default;
};
